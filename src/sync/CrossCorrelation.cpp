#include "sync/CrossCorrelation.h"

#include "sync/FftwPlanner.h"

#include <fftw3.h>

#include <algorithm>

namespace {
// FFTW is fastest on lengths whose only prime factors are 2, 3 and 5.
size_t fastLength(size_t n)
{
    size_t best = 1;
    while (best < n)
        best *= 2;
    for (size_t p2 = 1; p2 < best; p2 *= 2)
        for (size_t p3 = p2; p3 < best; p3 *= 3)
            for (size_t p5 = p3; p5 < best; p5 *= 5)
                if (p5 >= n)
                    best = std::min(best, p5);
    return best;
}

fftw_complex* asFftw(std::vector<std::complex<double>>& v)
{
    return reinterpret_cast<fftw_complex*>(v.data());
}
}

CrossCorrelation::CrossCorrelation(const std::vector<double>& fixed, size_t maxOther)
    : m_size(fastLength(fixed.size() + maxOther)), m_fixedLength(fixed.size()),
      m_real(m_size), m_spectrum(m_size / 2 + 1)
{
    {
        std::lock_guard<std::mutex> guard(FftwPlannerLock());
        m_forward = fftw_plan_dft_r2c_1d(static_cast<int>(m_size), m_real.data(),
                                         asFftw(m_spectrum), FFTW_ESTIMATE);
        m_backward = fftw_plan_dft_c2r_1d(static_cast<int>(m_size), asFftw(m_spectrum),
                                          m_real.data(), FFTW_ESTIMATE);
    }
    std::copy(fixed.begin(), fixed.end(), m_real.begin());
    fftw_execute(static_cast<fftw_plan>(m_forward));
    m_fixedSpectrum = m_spectrum;
}

CrossCorrelation::~CrossCorrelation()
{
    std::lock_guard<std::mutex> guard(FftwPlannerLock());
    fftw_destroy_plan(static_cast<fftw_plan>(m_forward));
    fftw_destroy_plan(static_cast<fftw_plan>(m_backward));
}

std::vector<double> CrossCorrelation::Scores(const std::vector<double>& other)
{
    const size_t n = std::min(other.size(), m_size - m_fixedLength);
    std::fill(m_real.begin(), m_real.end(), 0.0);
    std::copy_n(other.begin(), n, m_real.begin());
    fftw_execute(static_cast<fftw_plan>(m_forward));
    for (size_t k = 0; k < m_spectrum.size(); ++k)
        m_spectrum[k] = m_fixedSpectrum[k] * std::conj(m_spectrum[k]);
    fftw_execute(static_cast<fftw_plan>(m_backward));
    // Circular lag k is at m_real[k]; negative lags wrapped to the end.
    std::vector<double> scores(n - 1 + m_fixedLength);
    const double scale = 1.0 / static_cast<double>(m_size);
    for (size_t i = 0; i < scores.size(); ++i) {
        const long lag = static_cast<long>(i) - static_cast<long>(n - 1);
        const size_t k = lag >= 0 ? static_cast<size_t>(lag) : m_size - static_cast<size_t>(-lag);
        scores[i] = m_real[k] * scale;
    }
    return scores;
}
