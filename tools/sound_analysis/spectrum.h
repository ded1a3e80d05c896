#pragma once

#include <complex>
#include <cstddef>
#include <map>
#include <span>
#include <utility>
#include <vector>

// Spectral measurements on a mono float signal. Everything outside the signal counts as silence,
// so windows may reach over its ends.
class Spectrum {
public:
    // Sidelobes of a Kaiser window with this beta lie below -120 dB, so leakage measured through it
    // is the signal's own, not the window's.
    static constexpr double kKaiserBeta = 16.0;

    Spectrum(std::span<const float> samples, double rate) : m_x(samples), m_rate(rate) {}

    // Complex amplitude of a sinusoid of `hz` fitted over [begin, begin + length), with its phase
    // taken at sample `ref`: the signal there is about Re(a * exp(i * 2pi * hz * (n - ref) /
    // rate)).
    std::complex<double> Amplitude(std::ptrdiff_t begin, std::size_t length, double hz, double ref);
    // Frequency of the strongest component in [begin, begin + length), in Hz.
    double PeakFrequency(std::ptrdiff_t begin, std::size_t length);
    // Share of the energy below `cutoffHz` in a window of `length` (a power of two) centred on
    // `centre`, in dB. -infinity when the window holds nothing below the cutoff.
    double LowBandShareDb(std::ptrdiff_t centre, std::size_t length, double cutoffHz);

    double Rate() const { return m_rate; }
    float At(std::ptrdiff_t n) const {
        return n >= 0 && static_cast<std::size_t>(n) < m_x.size() ? m_x[n] : 0.0f;
    }

private:
    const std::vector<double>& Window(std::size_t length);
    // |sum of w[n] x[begin + n] exp(-i 2pi hz n / rate)|
    double WindowedMagnitude(std::ptrdiff_t begin, const std::vector<double>& w, double hz) const;

    std::span<const float> m_x;
    double m_rate;
    std::map<std::size_t, std::vector<double>> m_windows;
};

std::vector<double> KaiserWindow(std::size_t length, double beta);
// In-place radix-2 transform; the size must be a power of two.
void Fft(std::vector<std::complex<double>>& a);
