#include "media/GstScalingMethod.h"

#include <gst/gst.h>
#include <gtest/gtest.h>

namespace {
constexpr int kNearest = 0;
constexpr int kBilinear = 1;

int methodOf(GstElement* scaler)
{
    int method = -1;
    g_object_get(scaler, "method", &method, nullptr);
    return method;
}
}  // namespace

// The picture's size comes from the stream itself; the filter follows it and the window.
TEST(GstScalingMethod, NearestOnlyWithinHalfAPercentOfThePicturesOwnSize)
{
    ASSERT_TRUE(gst_init_check(nullptr, nullptr, nullptr));
    g_autoptr(GstElement) pipeline = gst_parse_launch(
        "videotestsrc num-buffers=1 ! video/x-raw,width=1280,height=720,pixel-aspect-ratio=1/1"
        " ! videoconvertscale name=scaler ! video/x-raw,width=1278,height=719 ! fakesink",
        nullptr);
    ASSERT_NE(pipeline, nullptr);
    g_autoptr(GstElement) scaler = gst_bin_get_by_name(GST_BIN(pipeline), "scaler");
    g_autoptr(GstPad) input = gst_element_get_static_pad(scaler, "sink");
    GstScalingMethod* choice = GstScalingMethod::Attach(scaler, input);
    ASSERT_NE(choice, nullptr);
    // As a screen's edge cuts a window two pixels short of the film.
    choice->SetWindowSize(1278, 719);
    gst_element_set_state(pipeline, GST_STATE_PLAYING);
    g_autoptr(GstBus) bus = gst_element_get_bus(pipeline);
    g_autoptr(GstMessage) end = gst_bus_timed_pop_filtered(
        bus, 10 * GST_SECOND, GstMessageType(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
    ASSERT_NE(end, nullptr);
    EXPECT_EQ(GST_MESSAGE_TYPE(end), GST_MESSAGE_EOS);
    EXPECT_EQ(methodOf(scaler), kNearest);

    struct Case {
        const char* name;
        int width, height;
        int method;
    } cases[] = {
        {"letterboxed at its own width", 1280, 800, kNearest},
        {"half the size", 640, 360, kBilinear},
        {"one percent larger", 1293, 728, kBilinear},
        {"back at its own size", 1280, 720, kNearest},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        choice->SetWindowSize(c.width, c.height);
        EXPECT_EQ(methodOf(scaler), c.method);
    }
    // Pixels that are not square are always scaled in one direction at least.
    choice->SetPictureSize(1280, 720, false);
    EXPECT_EQ(methodOf(scaler), kBilinear);
    gst_element_set_state(pipeline, GST_STATE_NULL);
}
