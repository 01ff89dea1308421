// The unpacker's file costs: writing the twelve assets safely against a plain write of the same
// bytes, and checking twelve intact files on a later start.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/files.h"

namespace {

namespace fs = std::filesystem;

// The game's twelve asset sizes, 1,746,080 bytes in all.
const std::vector<size_t> kSizes = {573536, 9448, 149996, 2544, 1248,  921656,
                                    6484,   4988, 12612,  5888, 31764, 25916};

struct Assets {
    std::vector<std::vector<uint8_t>> files;
    int64_t total = 0;
};

const Assets& TheAssets() {
    static const Assets assets = [] {
        Assets made;
        uint32_t state = 12345;
        for (size_t size : kSizes) {
            std::vector<uint8_t> bytes(size);
            for (uint8_t& byte : bytes)
                byte = static_cast<uint8_t>((state = state * 1103515245 + 12345) >> 16);
            made.total += static_cast<int64_t>(size);
            made.files.push_back(std::move(bytes));
        }
        return made;
    }();
    return assets;
}

fs::path NewFolder() {
    std::string pattern = (fs::temp_directory_path() / "puffpop-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    return pattern;
}

std::string FileName(const fs::path& folder, size_t index) {
    return (folder / ("asset" + std::to_string(index))).string();
}

template <typename WriteOne>
void WriteAllIntoFreshFolders(benchmark::State& state, WriteOne write_one) {
    const Assets& assets = TheAssets();
    for (auto _ : state) {
        state.PauseTiming();
        const fs::path folder = NewFolder();
        state.ResumeTiming();
        for (size_t i = 0; i < assets.files.size(); ++i)
            write_one(FileName(folder, i), assets.files[i]);
        state.PauseTiming();
        fs::remove_all(folder);
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * assets.total);
}

void BM_WriteFileAtomic_TwelveAssets(benchmark::State& state) {
    WriteAllIntoFreshFolders(state, [](const std::string& path, const std::vector<uint8_t>& bytes) {
        platform::WriteFileAtomic(path, bytes);
    });
}
BENCHMARK(BM_WriteFileAtomic_TwelveAssets)->Unit(benchmark::kMillisecond);

void BM_PlainFwrite_TwelveAssets(benchmark::State& state) {
    WriteAllIntoFreshFolders(state, [](const std::string& path, const std::vector<uint8_t>& bytes) {
        std::FILE* file = std::fopen(path.c_str(), "wb");
        if (file == nullptr) throw std::runtime_error("fopen failed: " + path);
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
    });
}
BENCHMARK(BM_PlainFwrite_TwelveAssets)->Unit(benchmark::kMillisecond);

void BM_FileHasBytes_TwelveIntactAssets(benchmark::State& state) {
    const Assets& assets = TheAssets();
    const fs::path folder = NewFolder();
    for (size_t i = 0; i < assets.files.size(); ++i) {
        platform::WriteFileAtomic(FileName(folder, i), assets.files[i]);
    }
    for (auto _ : state) {
        bool intact = true;
        for (size_t i = 0; i < assets.files.size(); ++i) {
            intact = platform::FileHasBytes(FileName(folder, i), assets.files[i]) && intact;
        }
        if (!intact) state.SkipWithError("an intact file did not match");
        benchmark::DoNotOptimize(intact);
    }
    state.SetBytesProcessed(state.iterations() * assets.total);
    fs::remove_all(folder);
}
BENCHMARK(BM_FileHasBytes_TwelveIntactAssets)->Unit(benchmark::kMicrosecond);

}  // namespace
