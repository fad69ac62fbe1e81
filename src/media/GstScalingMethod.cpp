#include "GstScalingMethod.h"

#include "media/GstCapsSize.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double kNearlyOwnSize = 0.005;

GstPadProbeReturn onInputEvent(GstPad*, GstPadProbeInfo* info, gpointer data)
{
    GstEvent* event = GST_PAD_PROBE_INFO_EVENT(info);
    if (GST_EVENT_TYPE(event) != GST_EVENT_CAPS)
        return GST_PAD_PROBE_OK;
    GstCaps* caps = nullptr;
    gst_event_parse_caps(event, &caps);
    int width = 0;
    int height = 0;
    int parNumerator = 1;
    int parDenominator = 1;
    if (ReadCapsSize(caps, &width, &height))
        gst_structure_get_fraction(gst_caps_get_structure(caps, 0), "pixel-aspect-ratio",
                                   &parNumerator, &parDenominator);
    // Runs before the scaler sees the caps, so its new converter takes the method set here.
    auto* self = static_cast<GstScalingMethod*>(data);
    self->SetPictureSize(width, height, parNumerator == parDenominator);
    return GST_PAD_PROBE_OK;
}

void destroy(gpointer data)
{
    delete static_cast<GstScalingMethod*>(data);
}
}  // namespace

GstScalingMethod* GstScalingMethod::Attach(GstElement* scaler, GstPad* input)
{
    if (!scaler || !input || !g_object_class_find_property(G_OBJECT_GET_CLASS(scaler), "method"))
        return nullptr;
    auto* self = new GstScalingMethod(scaler);
    gst_pad_add_probe(input, GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM, &onInputEvent, self, &destroy);
    return self;
}

void GstScalingMethod::SetPictureSize(int width, int height, bool squarePixels)
{
    pictureWidth_ = width;
    pictureHeight_ = height;
    squarePixels_ = squarePixels;
    apply();
}

void GstScalingMethod::SetWindowSize(int width, int height)
{
    windowWidth_ = width;
    windowHeight_ = height;
    apply();
}

void GstScalingMethod::apply()
{
    const int pictureWidth = pictureWidth_;
    const int pictureHeight = pictureHeight_;
    bool nearest = false;
    if (squarePixels_ && pictureWidth > 0 && pictureHeight > 0) {
        // The picture keeps its proportions: the smaller of the two factors is its scale.
        const double scale = std::min(double(windowWidth_) / pictureWidth,
                                      double(windowHeight_) / pictureHeight);
        nearest = std::abs(scale - 1.0) <= kNearlyOwnSize;
    }
    if (nearest_.exchange(nearest) == nearest)
        return;
    gst_util_set_object_arg(G_OBJECT(scaler_), "method",
                            nearest ? "nearest-neighbour" : "bilinear");
}
