// Finds where a sound cue was heard in a recording: `cue_find RECORDING.wav CUE.wav [HEAD_MS]`
// prints one line "MILLISECONDS SCORE" for each place, in time order, where the first HEAD_MS
// (default 150) of the cue match the recording with a normalised correlation of 0.6 or more. Only
// the head is matched, so a cue cut off by the next one is found as well as a whole one. Given the
// recording alone, prints its length in whole milliseconds.
#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

struct Sound {
    double rate = 0;
    std::vector<double> samples;  // mono, -1..1
};

uint32_t Le(const std::string& bytes, size_t at, int size) {
    uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) value = value << 8 | static_cast<uint8_t>(bytes[at + i]);
    return value;
}

// PCM WAV, 8 or 16 bits, any channel count (mixed to mono). A recording cut short by a stopped
// recorder may claim more data than the file holds: what is there is read.
Sound ReadWav(const char* path) {
    std::ifstream in(path, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), {}};
    if (bytes.size() < 12 || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 4, "WAVE") != 0) {
        std::fprintf(stderr, "cue_find: '%s' is not a WAV file\n", path);
        std::exit(2);
    }
    Sound sound;
    int channels = 0, bits = 0;
    for (size_t at = 12; at + 8 <= bytes.size();) {
        const std::string id = bytes.substr(at, 4);
        const size_t size = std::min<size_t>(Le(bytes, at + 4, 4), bytes.size() - at - 8);
        if (id == "fmt " && size >= 16) {
            channels = static_cast<int>(Le(bytes, at + 10, 2));
            sound.rate = Le(bytes, at + 12, 4);
            bits = static_cast<int>(Le(bytes, at + 22, 2));
        } else if (id == "data" && channels > 0 && (bits == 8 || bits == 16)) {
            const size_t frame = static_cast<size_t>(channels) * bits / 8;
            for (size_t f = at + 8; f + frame <= at + 8 + size; f += frame) {
                double sum = 0;
                for (int c = 0; c < channels; ++c) {
                    sum += bits == 8 ? (static_cast<uint8_t>(bytes[f + c]) - 128) / 128.0
                                     : static_cast<int16_t>(Le(bytes, f + 2 * c, 2)) / 32768.0;
                }
                sound.samples.push_back(sum / channels);
            }
        }
        at += 8 + size + (size & 1);
    }
    if (sound.samples.empty()) {
        std::fprintf(stderr, "cue_find: '%s' holds no 8- or 16-bit PCM samples\n", path);
        std::exit(2);
    }
    return sound;
}

// Linear interpolation is enough: the match is scored, not listened to.
std::vector<double> Resample(const Sound& sound, double rate, size_t count) {
    std::vector<double> out;
    for (size_t i = 0; i < count; ++i) {
        const double x = i * sound.rate / rate;
        const size_t j = static_cast<size_t>(x);
        if (j + 1 >= sound.samples.size()) break;
        out.push_back(sound.samples[j] + (x - j) * (sound.samples[j + 1] - sound.samples[j]));
    }
    return out;
}

void Fft(std::vector<std::complex<double>>& a, bool inverse) {
    const size_t n = a.size();
    for (size_t i = 1, j = 0; i < n; ++i) {
        size_t bit = n >> 1;
        for (; j & bit; bit >>= 1) j ^= bit;
        j ^= bit;
        if (i < j) std::swap(a[i], a[j]);
    }
    for (size_t len = 2; len <= n; len <<= 1) {
        const std::complex<double> step = std::polar(1.0, (inverse ? 2 : -2) * M_PI / len);
        for (size_t i = 0; i < n; i += len) {
            std::complex<double> w = 1;
            for (size_t k = 0; k < len / 2; ++k, w *= step) {
                const std::complex<double> u = a[i + k], v = a[i + k + len / 2] * w;
                a[i + k] = u + v;
                a[i + k + len / 2] = u - v;
            }
        }
    }
    if (inverse)
        for (auto& x : a) x /= static_cast<double>(n);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: cue_find RECORDING.wav [CUE.wav [HEAD_MS]]\n");
        return 2;
    }
    const Sound recording = ReadWav(argv[1]);
    if (argc == 2) {
        std::printf("%.0f\n", recording.samples.size() * 1000.0 / recording.rate);
        return 0;
    }
    const Sound cue = ReadWav(argv[2]);
    const double head_ms = argc > 3 ? std::atof(argv[3]) : 150;
    const std::vector<double>& r = recording.samples;
    const std::vector<double> h =
        Resample(cue, recording.rate, static_cast<size_t>(head_ms * recording.rate / 1000));
    if (h.empty() || r.size() < h.size()) return 0;

    // Every lag's dot product at once, through one FFT of each side.
    size_t n = 1;
    while (n < r.size() + h.size()) n <<= 1;
    std::vector<std::complex<double>> a(n), b(n);
    std::copy(r.begin(), r.end(), a.begin());
    std::copy(h.rbegin(), h.rend(), b.begin());
    Fft(a, false), Fft(b, false);
    for (size_t i = 0; i < n; ++i) a[i] *= b[i];
    Fft(a, true);

    double cue_energy = 0;
    for (double x : h) cue_energy += x * x;
    std::vector<double> energy(r.size() + 1);  // running sum of the recording's squares
    for (size_t i = 0; i < r.size(); ++i) energy[i + 1] = energy[i] + r[i] * r[i];
    const size_t lags = r.size() - h.size() + 1;
    std::vector<double> score(lags);
    for (size_t t = 0; t < lags; ++t) {
        const double window = energy[t + h.size()] - energy[t];
        score[t] = a[t + h.size() - 1].real() / std::sqrt(cue_energy * window + 1e-12);
    }
    // The best lag of each run above the threshold, runs at least a head apart.
    for (size_t t = 0; t < lags;) {
        if (score[t] < 0.6) {
            ++t;
            continue;
        }
        size_t best = t;
        for (size_t u = t; u < std::min(lags, best + h.size()); ++u)
            if (score[u] > score[best]) best = u;
        std::printf("%.1f %.3f\n", best * 1000.0 / recording.rate, score[best]);
        t = best + h.size();
    }
    return 0;
}
