#include "tools/sound_analysis/spectrum.h"

#include <cmath>
#include <limits>
#include <numbers>

std::vector<double> KaiserWindow(std::size_t length, double beta) {
    std::vector<double> w(length, 1.0);
    if (length < 2) return w;
    const double norm = std::cyl_bessel_i(0.0, beta);
    for (std::size_t n = 0; n < length; ++n) {
        const double r = 2.0 * n / (length - 1) - 1.0;
        w[n] = std::cyl_bessel_i(0.0, beta * std::sqrt(std::max(0.0, 1.0 - r * r))) / norm;
    }
    return w;
}

void Fft(std::vector<std::complex<double>>& a) {
    const std::size_t n = a.size();
    for (std::size_t i = 1, j = 0; i < n; ++i) {
        std::size_t bit = n >> 1;
        for (; j & bit; bit >>= 1) j ^= bit;
        j ^= bit;
        if (i < j) std::swap(a[i], a[j]);
    }
    for (std::size_t len = 2; len <= n; len <<= 1) {
        const double angle = -2.0 * std::numbers::pi / static_cast<double>(len);
        for (std::size_t i = 0; i < n; i += len) {
            for (std::size_t k = 0; k < len / 2; ++k) {
                // Twiddles computed directly: a running product would lose the last dB of floor.
                const std::complex<double> t = std::polar(1.0, angle * k) * a[i + k + len / 2];
                a[i + k + len / 2] = a[i + k] - t;
                a[i + k] += t;
            }
        }
    }
}

const std::vector<double>& Spectrum::Window(std::size_t length) {
    auto it = m_windows.find(length);
    if (it == m_windows.end())
        it = m_windows.emplace(length, KaiserWindow(length, kKaiserBeta)).first;
    return it->second;
}

std::complex<double> Spectrum::Amplitude(std::ptrdiff_t begin, std::size_t length, double hz,
                                         double ref) {
    const std::vector<double>& w = Window(length);
    const double omega = 2.0 * std::numbers::pi * hz / m_rate;
    std::complex<double> sum = 0;
    double weight = 0;
    for (std::size_t i = 0; i < length; ++i) {
        const std::ptrdiff_t n = begin + static_cast<std::ptrdiff_t>(i);
        sum += w[i] * static_cast<double>(At(n)) * std::polar(1.0, -omega * (n - ref));
        weight += w[i];
    }
    return weight > 0 ? 2.0 * sum / weight : 0.0;
}

double Spectrum::WindowedMagnitude(std::ptrdiff_t begin, const std::vector<double>& w,
                                   double hz) const {
    const double omega = 2.0 * std::numbers::pi * hz / m_rate;
    std::complex<double> sum = 0;
    std::complex<double> turn = 1;
    const std::complex<double> step = std::polar(1.0, -omega);
    for (std::size_t i = 0; i < w.size(); ++i) {
        sum += w[i] * static_cast<double>(At(begin + static_cast<std::ptrdiff_t>(i))) * turn;
        turn *= step;
        if ((i & 1023) == 1023) turn /= std::abs(turn);
    }
    return std::abs(sum);
}

double Spectrum::PeakFrequency(std::ptrdiff_t begin, std::size_t length) {
    const std::vector<double>& w = Window(length);
    std::size_t size = 1;
    while (size < 2 * length) size <<= 1;
    std::vector<std::complex<double>> a(size);
    for (std::size_t i = 0; i < length; ++i) {
        a[i] = w[i] * static_cast<double>(At(begin + static_cast<std::ptrdiff_t>(i)));
    }
    Fft(a);
    std::size_t best = 1;
    for (std::size_t k = 1; k < size / 2; ++k) {
        if (std::norm(a[k]) > std::norm(a[best])) best = k;
    }
    // The true peak lies within one bin of the best bin; a golden-section search finds it.
    const double bin = m_rate / static_cast<double>(size);
    double lo = (best - 1.0) * bin, hi = (best + 1.0) * bin;
    const double g = (std::sqrt(5.0) - 1.0) / 2.0;
    double x1 = hi - g * (hi - lo), x2 = lo + g * (hi - lo);
    double f1 = WindowedMagnitude(begin, w, x1), f2 = WindowedMagnitude(begin, w, x2);
    while (hi - lo > 1e-5) {
        if (f1 < f2) {
            lo = x1;
            x1 = x2;
            f1 = f2;
            x2 = lo + g * (hi - lo);
            f2 = WindowedMagnitude(begin, w, x2);
        } else {
            hi = x2;
            x2 = x1;
            f2 = f1;
            x1 = hi - g * (hi - lo);
            f1 = WindowedMagnitude(begin, w, x1);
        }
    }
    return (lo + hi) / 2.0;
}

double Spectrum::LowBandShareDb(std::ptrdiff_t centre, std::size_t length, double cutoffHz) {
    const std::vector<double>& w = Window(length);
    std::vector<std::complex<double>> a(length);
    const std::ptrdiff_t begin = centre - static_cast<std::ptrdiff_t>(length / 2);
    for (std::size_t i = 0; i < length; ++i) {
        a[i] = w[i] * static_cast<double>(At(begin + static_cast<std::ptrdiff_t>(i)));
    }
    Fft(a);
    double low = 0, total = 0;
    for (std::size_t k = 0; k <= length / 2; ++k) {
        const double p = std::norm(a[k]);
        total += p;
        if (k * m_rate / static_cast<double>(length) < cutoffHz) low += p;
    }
    if (low <= 0 || total <= 0) return -std::numeric_limits<double>::infinity();
    return 10.0 * std::log10(low / total);
}
