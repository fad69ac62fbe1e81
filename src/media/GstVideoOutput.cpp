#include "GstVideoOutput.h"

#include "media/GstCapsSize.h"
#include "media/GstScalingMethod.h"

#include <gst/gst.h>

namespace {

GstElement* makeWindowSink(const char* factory)
{
    GstElement* sink = gst_element_factory_make(factory, nullptr);
    // Clicks on the video belong to the host form: the sink must not select pointer input on
    // our window (X allows one client to do that) nor swallow it in a window of its own.
    if (sink && g_object_class_find_property(G_OBJECT_GET_CLASS(sink), "handle-events"))
        g_object_set(sink, "handle-events", FALSE, nullptr);
    // Scaled to the window, the picture keeps its proportions: black bars, never stretched.
    if (sink && g_object_class_find_property(G_OBJECT_GET_CLASS(sink), "force-aspect-ratio"))
        g_object_set(sink, "force-aspect-ratio", TRUE, nullptr);
    return sink;
}

// At the video's own size the converter takes a fast path that repeats each chroma sample and
// maps 8 bits to 8 bits; scaled, it filters chroma and dithers by default, which doubled the
// cost of the sink's thread for nothing a viewer of an 8-bit picture could see. Scaled pictures
// are converted the way unscaled ones are.
void convertLikeTheFastPath(GstElement* element)
{
    GObjectClass* type = G_OBJECT_GET_CLASS(element);
    if (g_object_class_find_property(type, "chroma-mode"))
        gst_util_set_object_arg(G_OBJECT(element), "chroma-mode", "none");
    if (g_object_class_find_property(type, "dither"))
        gst_util_set_object_arg(G_OBJECT(element), "dither", "none");
}

// convert ! scale ! capsfilter ! ximagesink in a bin; null when an element is missing.
GstElement* makeScalingBin(GstElement** sink, GstElement** sizeFilter,
                           GstScalingMethod** scaling)
{
    GstElement* bin = gst_bin_new(nullptr);
    GstElement* convert = gst_element_factory_make("videoconvertscale", nullptr);
    GstElement* scale = nullptr;
    // Before GStreamer 1.22 the two steps are two elements.
    if (!convert) {
        convert = gst_element_factory_make("videoconvert", nullptr);
        scale = gst_element_factory_make("videoscale", nullptr);
    }
    for (GstElement* element : {convert, scale}) {
        if (element)
            convertLikeTheFastPath(element);
    }
    *sizeFilter = gst_element_factory_make("capsfilter", nullptr);
    // A resize while frames flow must not fail the stream: the old size stays acceptable until
    // the new one is negotiated.
    if (*sizeFilter)
        gst_util_set_object_arg(G_OBJECT(*sizeFilter), "caps-change-mode", "delayed");
    *sink = makeWindowSink("ximagesink");
    GstElement* chain[] = {convert, scale, *sizeFilter, *sink};
    GstElement* previous = nullptr;
    bool complete = convert && *sizeFilter && *sink;
    for (GstElement* element : chain) {
        if (!element)
            continue;
        gst_bin_add(GST_BIN(bin), element);
        if (previous && !gst_element_link(previous, element))
            complete = false;
        previous = element;
    }
    if (complete) {
        GstPad* input = gst_element_get_static_pad(convert, "sink");
        complete = gst_element_add_pad(bin, gst_ghost_pad_new("sink", input));
        *scaling = GstScalingMethod::Attach(scale ? scale : convert, input);
        gst_object_unref(input);
    }
    if (!complete) {
        gst_object_unref(gst_object_ref_sink(bin));
        *sink = nullptr;
        *sizeFilter = nullptr;
        *scaling = nullptr;  // went with the bin's pads
        return nullptr;
    }
    return bin;
}

}  // namespace

GstVideoOutput GstVideoOutput::Create(bool openGL)
{
    GstVideoOutput output;
    if (openGL) {
        output.element_ = output.overlay_ = makeWindowSink("glimagesink");
        if (output.element_)
            return output;
    }
    output.element_ = makeScalingBin(&output.overlay_, &output.sizeFilter_, &output.scaling_);
    if (!output.element_)
        output.element_ = output.overlay_ = makeWindowSink("ximagesink");
    return output;
}

void GstVideoOutput::SetWindowSize(const QSize& size)
{
    if (!sizeFilter_ || size.isEmpty() || size == size_)
        return;
    size_ = size;
    // Before the new caps, so the converter made for them uses the method chosen here.
    if (scaling_)
        scaling_->SetWindowSize(size.width(), size.height());
    GstCaps* caps = gst_caps_new_simple("video/x-raw", "width", G_TYPE_INT, size.width(),
                                        "height", G_TYPE_INT, size.height(),
                                        "pixel-aspect-ratio", GST_TYPE_FRACTION, 1, 1, nullptr);
    g_object_set(sizeFilter_, "caps", caps, nullptr);
    gst_caps_unref(caps);
}

QSize GstVideoOutput::StaleFrameSize() const
{
    if (!sizeFilter_ || size_.isEmpty())
        return {};
    GstSample* sample = nullptr;
    g_object_get(overlay_, "last-sample", &sample, nullptr);
    if (!sample)
        return {};
    int width = 0;
    int height = 0;
    ReadCapsSize(gst_sample_get_caps(sample), &width, &height);
    gst_sample_unref(sample);
    return QSize(width, height) == size_ ? QSize() : size_;
}
