#pragma once

#include <complex>
#include <cstddef>
#include <vector>

// Correlates one fixed real sequence (the film's speech) with many others (the subtitles under
// each speed factor) through FFTW: the fixed one is transformed once. Scores(other)[k] is
// sum over n of fixed[n + lag] * other[n], lag = k - Offset().
class CrossCorrelation
{
public:
    // maxOther: the longest sequence that will be correlated with it.
    CrossCorrelation(const std::vector<double>& fixed, size_t maxOther);
    ~CrossCorrelation();
    CrossCorrelation(const CrossCorrelation&) = delete;
    CrossCorrelation& operator=(const CrossCorrelation&) = delete;

    // Scores for every lag from -(other's length - 1) to the fixed length - 1.
    std::vector<double> Scores(const std::vector<double>& other);
    // Index of lag 0 in what Scores returns for a sequence of that length.
    static size_t Offset(size_t otherLength) { return otherLength - 1; }

private:
    size_t m_size = 0;
    size_t m_fixedLength = 0;
    std::vector<std::complex<double>> m_fixedSpectrum;
    std::vector<double> m_real;
    std::vector<std::complex<double>> m_spectrum;
    void* m_forward = nullptr;
    void* m_backward = nullptr;
};
