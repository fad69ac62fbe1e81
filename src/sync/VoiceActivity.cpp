#include "sync/VoiceActivity.h"

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-parameter"
#include <webrtc/modules/audio_processing/include/audio_processing.h>
#include <webrtc/modules/interface/module_common_types.h>
#pragma GCC diagnostic pop

#include <algorithm>

VoiceActivity::VoiceActivity() : m_frame(std::make_unique<webrtc::AudioFrame>())
{
    m_processing.reset(webrtc::AudioProcessing::Create());
    webrtc::VoiceDetection* detector = m_processing ? m_processing->voice_detection() : nullptr;
    // Low likelihood: films carry music and noise under the words, and a frame of noise taken
    // for speech costs the alignment more than a quiet syllable missed.
    if (!detector || detector->Enable(true) != 0 ||
        detector->set_likelihood(webrtc::VoiceDetection::kLowLikelihood) != 0 ||
        detector->set_frame_size_ms(10) != 0)
        m_processing.reset();
    m_frame->sample_rate_hz_ = 16000;
    m_frame->num_channels_ = 1;
    m_frame->samples_per_channel_ = FrameSamples;
}

VoiceActivity::~VoiceActivity() = default;

void VoiceActivity::Add(std::span<const int16_t> samples)
{
    while (!samples.empty()) {
        const size_t take = std::min(samples.size(), FrameSamples - m_filled);
        std::copy_n(samples.begin(), take, m_frame->data_ + m_filled);
        m_filled += take;
        samples = samples.subspan(take);
        if (m_filled == FrameSamples) {
            processFrame();
            m_filled = 0;
        }
    }
}

void VoiceActivity::processFrame()
{
    bool voiced = false;
    if (m_processing) {
        // The module rewrites the frame's format fields on the way; set them for every frame.
        m_frame->sample_rate_hz_ = 16000;
        m_frame->num_channels_ = 1;
        m_frame->samples_per_channel_ = FrameSamples;
        voiced = m_processing->ProcessStream(m_frame.get()) == 0 &&
                 m_processing->voice_detection()->stream_has_voice();
    }
    m_voiced.push_back(voiced ? 1 : 0);
}
