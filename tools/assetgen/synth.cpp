#include "synth.h"

#include <algorithm>
#include <cmath>

namespace assetgen {

double band_limited(Wave wave, double phase, double freq, double rate, double tilt) {
    const double nyquist = rate * 0.45;
    double sum = 0.0;
    double weight = 1.0;
    for (int n = 1; n * freq < nyquist; ++n, weight *= tilt) {
        double a = 0.0;
        switch (wave) {
            case Wave::Sine:
                a = n == 1 ? 1.0 : 0.0;
                break;
            case Wave::Square:
                a = n % 2 ? 1.0 / n : 0.0;
                break;
            case Wave::Triangle:
                a = n % 2 ? ((n / 2) % 2 ? -1.0 : 1.0) / (n * n) : 0.0;
                break;
            case Wave::Saw:
                a = 1.0 / n;
                break;
        }
        if (a != 0.0) sum += a * weight * sin_turns(phase * n);
        if (wave == Wave::Sine) break;
    }
    return sum;
}

double Phase::advance(double freq, double rate) {
    phase_ += freq / rate;
    phase_ -= std::floor(phase_);
    return phase_;
}

double OnePole::lowpass(double x, double cutoff, double rate) {
    // a = 1 - e^(-2 pi fc / fs)
    const double a = 1.0 - exp_det(-kTau * cutoff / rate);
    y_ += a * (x - y_);
    return y_;
}

double BandPass::process(double x, double centre, double q, double rate) {
    const double w = centre / rate;  // turns per sample
    const double alpha = sin_turns(w) / (2.0 * q);
    const double cw = cos_turns(w);
    const double a0 = 1.0 + alpha;
    const double y = (alpha * x - alpha * x2_ + 2.0 * cw * y1_ - (1.0 - alpha) * y2_) / a0;
    x2_ = x1_;
    x1_ = x;
    y2_ = y1_;
    y1_ = y;
    return y;
}

double hit_envelope(double t, double attack, double tau) {
    if (t < 0) return 0.0;
    if (t < attack) return smoothstep(0.0, attack, t);
    return exp_det(-(t - attack) / tau);
}

double soft_clip(double x) {
    // Pade approximation of tanh, exact enough and saturating at +-1 for |x| >= 3.
    if (x > 3.0) return 1.0;
    if (x < -3.0) return -1.0;
    return x * (27.0 + x * x) / (27.0 + 9.0 * x * x);
}

void finish(Signal& s, double rate, double peak, double fade_in, double fade_out) {
    double top = 0.0;
    for (double v : s) top = std::max(top, std::abs(v));
    const double gain = top > 0 ? peak / top : 0.0;
    const double n = static_cast<double>(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double t = i / rate;
        const double left = (n - 1 - static_cast<double>(i)) / rate;
        const double in = fade_in > 0 ? smoothstep(0.0, fade_in, t) : 1.0;
        const double out = fade_out > 0 ? smoothstep(0.0, fade_out, left) : 1.0;
        s[i] *= gain * in * out;
    }
}

Bytes to_unsigned8(const Signal& s) {
    Bytes out;
    out.reserve(s.size());
    for (double v : s)
        out.push_back(static_cast<std::uint8_t>(std::clamp(128L + round_det(v * 127.0), 0L, 255L)));
    return out;
}

Bytes to_signed16(const Signal& s) {
    Bytes out;
    out.reserve(s.size() * 2);
    for (double v : s) {
        const long q = std::clamp(round_det(v * 32767.0), -32768L, 32767L);
        const auto u = static_cast<std::uint16_t>(q);
        out.push_back(static_cast<std::uint8_t>(u & 0xFF));
        out.push_back(static_cast<std::uint8_t>(u >> 8));
    }
    return out;
}

}  // namespace assetgen
