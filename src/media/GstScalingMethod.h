#pragma once

#include <atomic>

typedef struct _GstElement GstElement;
typedef struct _GstPad GstPad;

// The filter engine 1's scaler uses. Within half a percent of the picture's own size, linear
// filtering only softens every pixel and costs the sink's thread about a third more than
// taking the nearest one, which at that scale repeats or drops one line in two hundred;
// further from it, the picture is filtered.
class GstScalingMethod {
public:
    // Watches the picture's size as it arrives at `input` and sets `scaler`'s method; lives as
    // long as the pad does. Null when the scaler has no choice of method.
    static GstScalingMethod* Attach(GstElement* scaler, GstPad* input);

    void SetWindowSize(int width, int height);
    void SetPictureSize(int width, int height, bool squarePixels);

private:
    explicit GstScalingMethod(GstElement* scaler) : scaler_(scaler) {}
    void apply();

    GstElement* scaler_;  // owned by the bin the pad belongs to
    // Written on the streaming thread (the picture) and the user-interface thread (the window).
    std::atomic<int> pictureWidth_ = 0;
    std::atomic<int> pictureHeight_ = 0;
    std::atomic<bool> squarePixels_ = true;
    std::atomic<int> windowWidth_ = 0;
    std::atomic<int> windowHeight_ = 0;
    std::atomic<bool> nearest_ = false;
};
