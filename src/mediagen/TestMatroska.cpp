#include "mediagen/TestMatroska.h"

#include <gst/gst.h>

bool WriteTestMatroska(const QString& aviPath, const QString& matroskaPath)
{
    if (!gst_init_check(nullptr, nullptr, nullptr))
        return false;
    GError* error = nullptr;
    GstElement* pipeline = gst_parse_launch(
        "filesrc name=in ! avidemux ! videoconvert ! jpegenc ! matroskamux ! filesink name=out",
        &error);
    if (!pipeline) {
        g_clear_error(&error);
        return false;
    }
    g_clear_error(&error);  // a recoverable warning may come with a pipeline
    GstElement* in = gst_bin_get_by_name(GST_BIN(pipeline), "in");
    GstElement* out = gst_bin_get_by_name(GST_BIN(pipeline), "out");
    g_object_set(in, "location", aviPath.toUtf8().constData(), nullptr);
    g_object_set(out, "location", matroskaPath.toUtf8().constData(), nullptr);
    gst_object_unref(in);
    gst_object_unref(out);

    bool finished = false;
    if (gst_element_set_state(pipeline, GST_STATE_PLAYING) != GST_STATE_CHANGE_FAILURE) {
        GstBus* bus = gst_element_get_bus(pipeline);
        GstMessage* message = gst_bus_timed_pop_filtered(
            bus, 10 * GST_SECOND, GstMessageType(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
        finished = message && GST_MESSAGE_TYPE(message) == GST_MESSAGE_EOS;
        if (message)
            gst_message_unref(message);
        gst_object_unref(bus);
    }
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(pipeline);
    return finished;
}
