#include "sync/SpeechDetector.h"

#include "sync/FftwPlanner.h"

#include <fftw3.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {
constexpr size_t WindowSamples = 512;  // 32 ms at 16 kHz
constexpr size_t HopSamples = 160;     // 10 ms
constexpr size_t FirstBin = 10;        // 312 Hz
constexpr size_t LastBin = 109;        // 3406 Hz
constexpr size_t Bands = LastBin - FirstBin + 1;
// The floor is the minimum over this many blocks of this many frames: 1.6 s.
constexpr size_t Blocks = 8;
constexpr int FramesPerBlock = 20;
// The minimum of a noisy power sits below its mean; this brings it back up.
constexpr float MinimumBias = 2.0f;
}

struct SpeechDetector::Fft
{
    std::vector<double> in = std::vector<double>(WindowSamples);
    std::vector<fftw_complex> out = std::vector<fftw_complex>(WindowSamples / 2 + 1);
    std::vector<double> hann = std::vector<double>(WindowSamples);
    fftw_plan plan = nullptr;

    Fft()
    {
        for (size_t i = 0; i < WindowSamples; ++i)
            hann[i] = 0.5 - 0.5 * std::cos(2 * M_PI * i / WindowSamples);
        std::lock_guard<std::mutex> guard(FftwPlannerLock());
        plan = fftw_plan_dft_r2c_1d(int(WindowSamples), in.data(), out.data(), FFTW_ESTIMATE);
    }
    ~Fft()
    {
        std::lock_guard<std::mutex> guard(FftwPlannerLock());
        fftw_destroy_plan(plan);
    }
};

SpeechDetector::SpeechDetector()
    : m_fft(std::make_unique<Fft>()), m_window(WindowSamples, 0.0f),
      m_currentMinima(Bands, std::numeric_limits<float>::max())
{
}

SpeechDetector::~SpeechDetector() = default;

void SpeechDetector::Add(std::span<const int16_t> samples)
{
    for (int16_t s : samples) {
        // A sliding window kept as a ring would save this shift; it costs far less than the FFT.
        m_window[WindowSamples - HopSamples + m_pending] = s;
        if (++m_pending == HopSamples) {
            processFrame();
            std::copy(m_window.begin() + HopSamples, m_window.end(), m_window.begin());
            m_pending = 0;
        }
    }
}

void SpeechDetector::processFrame()
{
    // Until the window holds real sound its zeros would become a floor far below any background,
    // and the first second would score as the loudest speech of the film.
    if (m_framesSeen < WindowSamples / HopSamples) {
        ++m_framesSeen;
        m_scores.push_back(0.0f);
        return;
    }
    Fft& f = *m_fft;
    for (size_t i = 0; i < WindowSamples; ++i)
        f.in[i] = m_window[i] * f.hann[i];
    fftw_execute(f.plan);
    std::vector<float> power(Bands);
    for (size_t b = 0; b < Bands; ++b) {
        const fftw_complex& c = f.out[FirstBin + b];
        power[b] = float(c[0] * c[0] + c[1] * c[1]) + 1.0f;
        m_currentMinima[b] = std::min(m_currentMinima[b], power[b]);
    }
    double score = 0;
    if (!m_blockMinima.empty()) {
        for (size_t b = 0; b < Bands; ++b) {
            float floor = m_currentMinima[b];
            for (const std::vector<float>& block : m_blockMinima)
                floor = std::min(floor, block[b]);
            score += std::max(0.0f, std::log(power[b] / (floor * MinimumBias)));
        }
        score /= Bands;
    }
    m_scores.push_back(float(score));
    if (++m_framesInBlock == FramesPerBlock) {
        m_blockMinima.push_back(m_currentMinima);
        if (m_blockMinima.size() > Blocks)
            m_blockMinima.erase(m_blockMinima.begin());
        std::fill(m_currentMinima.begin(), m_currentMinima.end(),
                  std::numeric_limits<float>::max());
        m_framesInBlock = 0;
    }
}
