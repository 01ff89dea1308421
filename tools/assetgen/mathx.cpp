#include "mathx.h"

#include <cmath>

namespace assetgen {

double sin_turns(double turns) {
    double t = turns - std::floor(turns);  // [0, 1)
    if (t >= 0.5) t -= 1.0;                // [-0.5, 0.5)
    if (t > 0.25) t = 0.5 - t;             // fold onto [-0.25, 0.25]
    if (t < -0.25) t = -0.5 - t;
    const double x = t * kTau;
    const double x2 = x * x;
    // Taylor series to x^15: error below 1e-11 on [-pi/2, pi/2].
    double term = x;
    double sum = x;
    for (int n = 1; n <= 7; ++n) {
        term *= -x2 / static_cast<double>((2 * n) * (2 * n + 1));
        sum += term;
    }
    return sum;
}

double exp_det(double x) {
    if (x < -700.0) return 0.0;
    constexpr double kLn2 = 0.6931471805599453;
    const double n = std::floor(x / kLn2 + 0.5);
    const double r = x - n * kLn2;  // |r| <= ~0.35
    double term = 1.0;
    double sum = 1.0;
    for (int k = 1; k <= 16; ++k) {
        term *= r / static_cast<double>(k);
        sum += term;
    }
    return std::ldexp(sum, static_cast<int>(n));  // exact scaling by a power of two
}

double exp2_det(double x) {
    return exp_det(x * 0.6931471805599453);
}

double smoothstep(double edge0, double edge1, double x) {
    const double t = clamp01((x - edge0) / (edge1 - edge0));
    return t * t * (3.0 - 2.0 * t);
}

long round_det(double v) {
    return static_cast<long>(v < 0 ? -std::floor(-v + 0.5) : std::floor(v + 0.5));
}

std::uint64_t Rng::next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

double Rng::uniform() {
    return static_cast<double>(next() >> 11) * 0x1p-53;
}

double Rng::range(double lo, double hi) {
    return lo + (hi - lo) * uniform();
}

int Rng::below(int n) {
    return static_cast<int>(next() % static_cast<std::uint64_t>(n));
}

namespace {

double lattice(long x, long y, std::uint32_t seed) {
    std::uint64_t h = static_cast<std::uint64_t>(x) * 0x8DA6B343ull ^
                      static_cast<std::uint64_t>(y) * 0xD8163841ull ^
                      static_cast<std::uint64_t>(seed) * 0xCB1AB31Full;
    h ^= h >> 29;
    h *= 0xBF58476D1CE4E5B9ull;
    h ^= h >> 32;
    return static_cast<double>(h & 0xFFFFFFull) / static_cast<double>(0xFFFFFF);
}

}  // namespace

double value_noise(double x, double y, std::uint32_t seed) {
    const double fx = std::floor(x);
    const double fy = std::floor(y);
    const long ix = static_cast<long>(fx);
    const long iy = static_cast<long>(fy);
    double tx = x - fx;
    double ty = y - fy;
    tx = tx * tx * (3.0 - 2.0 * tx);
    ty = ty * ty * (3.0 - 2.0 * ty);
    const double a = lerp(lattice(ix, iy, seed), lattice(ix + 1, iy, seed), tx);
    const double b = lerp(lattice(ix, iy + 1, seed), lattice(ix + 1, iy + 1, seed), tx);
    return lerp(a, b, ty);
}

double fractal_noise(double x, double y, std::uint32_t seed, int octaves) {
    double sum = 0.0;
    double amp = 0.5;
    double norm = 0.0;
    for (int o = 0; o < octaves; ++o) {
        sum += amp * value_noise(x, y, seed + static_cast<std::uint32_t>(o) * 7919u);
        norm += amp;
        x *= 2.0;
        y *= 2.0;
        amp *= 0.5;
    }
    return sum / norm;
}

}  // namespace assetgen
