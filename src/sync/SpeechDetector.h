#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

// How strongly someone seems to speak in each 10 ms of 16 kHz mono audio, for films whose words
// sit on music and noise. Per frequency band of the voice (300 to 3400 Hz) it tracks the floor the
// background never drops below (the minimum over the last 1.6 s) and scores a frame by how far the
// bands rise above it on average: speech lifts many bands at once and does not hold still long
// enough to become the floor, a steady bed or a held chord does.
// WebRTC's detector (VoiceActivity) calls nearly everything speech once the background is within
// 10 dB of the words; this one keeps the contrast down to 5 dB.
class SpeechDetector
{
public:
    SpeechDetector();
    ~SpeechDetector();
    SpeechDetector(const SpeechDetector&) = delete;
    SpeechDetector& operator=(const SpeechDetector&) = delete;

    void Add(std::span<const int16_t> samples);
    // One score per complete 10 ms frame so far, 0 for silence or the bare background.
    std::vector<float> TakeScores() { return std::move(m_scores); }

private:
    void processFrame();

    struct Fft;
    std::unique_ptr<Fft> m_fft;
    std::vector<float> m_window;       // the last 512 samples, oldest first
    size_t m_pending = 0;              // new samples since the last frame
    std::vector<std::vector<float>> m_blockMinima;  // per sub-block, per band
    std::vector<float> m_currentMinima;
    int m_framesInBlock = 0;
    size_t m_framesSeen = 0;
    std::vector<float> m_scores;
};
