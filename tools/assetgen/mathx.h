#pragma once
// Arithmetic that gives the same bits in every build: only + - * / sqrt floor are used,
// never the C library's transcendental functions, whose last bits may differ between
// a constant-folded -O2 build and a -O0 build.
#include <cstdint>

namespace assetgen {

constexpr double kTau = 6.283185307179586;

// sin(2*pi*turns).
double sin_turns(double turns);
inline double cos_turns(double turns) {
    return sin_turns(turns + 0.25);
}
// e^x.
double exp_det(double x);
// 2^x.
double exp2_det(double x);

inline double clamp(double v, double lo, double hi) {
    return v < lo ? lo : (v > hi ? hi : v);
}
inline double clamp01(double v) {
    return clamp(v, 0.0, 1.0);
}
inline double lerp(double a, double b, double t) {
    return a + (b - a) * t;
}
double smoothstep(double edge0, double edge1, double x);
// Nearest integer, halves away from zero.
long round_det(double v);

// splitmix64: a small generator of our own so every platform draws the same art.
class Rng {
public:
    explicit Rng(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next();
    double uniform();                    // [0, 1)
    double range(double lo, double hi);  // [lo, hi)
    int below(int n);                    // 0 .. n-1
    double signed_unit() { return range(-1.0, 1.0); }

private:
    std::uint64_t state_;
};

// Smooth 2-D value noise in [0, 1], seeded, tiling never needed.
double value_noise(double x, double y, std::uint32_t seed);
// A few octaves of value noise, in [0, 1].
double fractal_noise(double x, double y, std::uint32_t seed, int octaves);

}  // namespace assetgen
