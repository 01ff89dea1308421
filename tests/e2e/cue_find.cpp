// Finds where a sound cue was heard in a recording: `cue_find RECORDING.wav CUE.wav` prints one
// line "MILLISECONDS SCORE" for each place, in time order, where the cue's first 150 ms match the
// recording with a normalised correlation of 0.6 or more (a cue cut off by the next one is found
// too). Given the recording alone, prints its length in milliseconds. Both are compared at 5 kHz,
// a fifth of a millisecond a step, which is fine enough for telling when a cue began.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

constexpr double kRate = 5000;

uint32_t Le(const std::string& b, size_t at, int size) {
    uint32_t v = 0;
    for (int i = size - 1; i >= 0; --i) v = v << 8 | static_cast<uint8_t>(b[at + i]);
    return v;
}

// A mono 8- or 16-bit PCM file, each sample the mean of its source samples over 1/kRate seconds.
// A recording cut short may claim more data than the file holds: what is there is read.
std::vector<double> ReadWav(const char* path) {
    std::ifstream in(path, std::ios::binary);
    const std::string b{std::istreambuf_iterator<char>(in), {}};
    double rate = 0;
    int bits = 0;
    std::vector<double> out;
    for (size_t at = 12; b.size() > 12 && at + 8 <= b.size();) {
        const size_t size = std::min<size_t>(Le(b, at + 4, 4), b.size() - at - 8);
        if (b.compare(at, 4, "fmt ") == 0) rate = Le(b, at + 12, 4), bits = Le(b, at + 22, 2);
        if (b.compare(at, 4, "data") == 0 && rate > 0 && (bits == 8 || bits == 16)) {
            const size_t count = size / (bits / 8);
            for (size_t k = 0; (k + 1) * rate / kRate <= count; ++k) {
                double sum = 0;
                size_t n = 0;
                for (auto i = size_t(k * rate / kRate); i < size_t((k + 1) * rate / kRate);
                     ++i, ++n)
                    sum += bits == 8 ? (static_cast<uint8_t>(b[at + 8 + i]) - 128) / 128.0
                                     : static_cast<int16_t>(Le(b, at + 8 + 2 * i, 2)) / 32768.0;
                out.push_back(n ? sum / n : 0);
            }
        }
        at += 8 + size + (size & 1);
    }
    if (out.empty()) std::fprintf(stderr, "cue_find: '%s' holds no 8- or 16-bit PCM\n", path);
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return std::fprintf(stderr, "usage: cue_find RECORDING.wav [CUE.wav]\n"), 2;
    const std::vector<double> r = ReadWav(argv[1]);
    if (argc == 2) return std::printf("%.0f\n", r.size() * 1000 / kRate), r.empty() ? 2 : 0;
    std::vector<double> h = ReadWav(argv[2]);
    h.resize(std::min(h.size(), size_t(0.15 * kRate)));
    if (h.empty() || r.size() < h.size()) return 2;
    double cue = 0, window = 0;
    for (size_t i = 0; i < h.size(); ++i) cue += h[i] * h[i], window += r[i] * r[i];
    double best = 0;
    size_t at = 0;
    // The best place of each run above the threshold; runs at least a head apart.
    for (size_t t = 0; t + h.size() <= r.size(); ++t) {
        if (t > 0) window += r[t + h.size() - 1] * r[t + h.size() - 1] - r[t - 1] * r[t - 1];
        double dot = 0;
        for (size_t i = 0; i < h.size(); ++i) dot += r[t + i] * h[i];
        const double score = dot / std::sqrt(cue * std::max(window, 0.0) + 1e-12);
        if (score >= 0.6 && score > best) best = score, at = t;
        if (best > 0 && t >= at + h.size()) {
            std::printf("%.1f %.3f\n", at * 1000 / kRate, best);
            best = 0;
        }
    }
    if (best > 0) std::printf("%.1f %.3f\n", at * 1000 / kRate, best);
    return 0;
}
