#pragma once

#include <QString>

#include <atomic>
#include <cstdint>
#include <functional>
#include <span>

// Decodes the audio of a media file to 16 kHz mono 16-bit samples through a GStreamer pipeline
// that ends in an appsink, as fast as the machine allows (no clock). Runs on the calling thread,
// which may be any thread: the pipeline has no bus watch and needs no main loop.
class AudioDecoder
{
public:
    static constexpr int SampleRate = 16000;

    // Receives consecutive samples from the start of the film; gaps the file leaves in its
    // timestamps arrive as silence so that sample n is always at n / SampleRate seconds.
    using SampleSink = std::function<void(std::span<const int16_t>)>;
    // Called now and then with the share of the film decoded so far, 0 to 1.
    using Progress = std::function<void(double)>;

    // False with a message in Error() when the file has no audio or cannot be decoded, or when
    // cancel became true (Error() is then empty). With from or to (seconds; to 0 is the end) only
    // that stretch is decoded, and the first sample handed over is the one at `from`.
    bool Decode(const QString& file, const SampleSink& sink, const Progress& progress,
                const std::atomic<bool>& cancel, double from = 0, double to = 0);
    // The film's duration in seconds without decoding it; 0 when it cannot be told.
    static double ProbeDuration(const QString& file, const std::atomic<bool>& cancel);
    QString Error() const { return m_error; }
    // Film duration in seconds as the demuxer reported it, 0 when unknown.
    double Duration() const { return m_duration; }

private:
    QString m_error;
    double m_duration = 0;
};
