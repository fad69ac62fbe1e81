#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace webrtc {
class AudioProcessing;
class AudioFrame;
}

// Tells, for every 10 ms of 16 kHz mono audio, whether someone speaks: the voice detector of the
// WebRTC audio processing module, fed one 10 ms frame at a time. Samples may arrive in pieces of
// any size; a last partial frame is dropped.
class VoiceActivity
{
public:
    static constexpr int FrameSamples = 160;

    VoiceActivity();
    ~VoiceActivity();
    VoiceActivity(const VoiceActivity&) = delete;
    VoiceActivity& operator=(const VoiceActivity&) = delete;

    // False when the module could not be set up; Add then records every frame as silence.
    bool IsValid() const { return m_processing != nullptr; }
    void Add(std::span<const int16_t> samples);
    // One entry per complete 10 ms frame so far: 1 where speech was heard.
    const std::vector<uint8_t>& Voiced() const { return m_voiced; }
    std::vector<uint8_t> TakeVoiced() { return std::move(m_voiced); }

private:
    void processFrame();

    std::unique_ptr<webrtc::AudioProcessing> m_processing;
    std::unique_ptr<webrtc::AudioFrame> m_frame;
    size_t m_filled = 0;
    std::vector<uint8_t> m_voiced;
};
