#pragma once

#include <gst/gst.h>

// The picture size a video caps structure gives; false, with zeros, when it gives none.
inline bool ReadCapsSize(const GstCaps* caps, int* width, int* height)
{
    *width = 0;
    *height = 0;
    const GstStructure* format = caps && !gst_caps_is_empty(caps)
        ? gst_caps_get_structure(caps, 0) : nullptr;
    return format && gst_structure_get_int(format, "width", width)
        && gst_structure_get_int(format, "height", height);
}
