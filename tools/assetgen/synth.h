#pragma once
// Just enough synthesis for the game's sound cues: band-limited tones, noise, simple
// filters and envelopes, and conversion to PCM. All of it deterministic (see mathx.h).
#include <cstdint>
#include <vector>

#include "bytes.h"
#include "mathx.h"

namespace assetgen {

using Signal = std::vector<double>;

// Harmonic series summed up to the Nyquist limit, so high notes at 11 kHz do not alias.
// `tilt` < 1 darkens the tone by scaling harmonic n by tilt^(n-1).
enum class Wave { Sine, Square, Triangle, Saw };
double band_limited(Wave wave, double phase_turns, double freq, double rate, double tilt = 1.0);

// A phase accumulator in turns.
class Phase {
public:
    double advance(double freq, double rate);

private:
    double phase_ = 0.0;
};

class OnePole {  // 6 dB/octave low-pass; the high-pass is the input minus it
public:
    double lowpass(double x, double cutoff, double rate);
    double highpass(double x, double cutoff, double rate) { return x - lowpass(x, cutoff, rate); }

private:
    double y_ = 0.0;
};

class BandPass {  // a resonant two-pole band-pass (RBJ cookbook, constant peak gain)
public:
    double process(double x, double centre, double q, double rate);

private:
    double x1_ = 0, x2_ = 0, y1_ = 0, y2_ = 0;
};

// A rise of `attack` seconds, then exponential decay with time constant `tau`.
double hit_envelope(double t, double attack, double tau);
// Soft saturation that keeps the loudest moments round instead of clipped.
double soft_clip(double x);

// Scale so the highest peak reaches `peak`, and fade both ends over the given seconds.
void finish(Signal& s, double rate, double peak, double fade_in, double fade_out);

Bytes to_unsigned8(const Signal& s);
Bytes to_signed16(const Signal& s);

}  // namespace assetgen
