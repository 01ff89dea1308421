// assetgen OUTDIR          writes the twelve game assets and Puffpop.ico into OUTDIR
// assetgen --icons OUTDIR  writes the icon as PNGs for desktop integration
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "assets.h"
#include "assets_table.h"

namespace {

using assetgen::Bytes;

struct Output {
    const char* name;
    std::function<Bytes()> make;
    bool padded = false;  // an asset of the game's table, stored at the size the table gives
};

std::size_t TableSize(const std::string& name) {
    for (const assets::AssetRow& row : assets::kAssetTable)
        if (row.file == name) return row.bytes;
    throw std::logic_error(name + " is not in resources/assets.txt");
}

void write_file(const std::filesystem::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

void write_all(const std::filesystem::path& dir, const std::vector<Output>& outputs) {
    std::filesystem::create_directories(dir);
    for (const Output& o : outputs) {
        Bytes bytes = o.make();
        if (o.padded) {
            bytes = assetgen::pad_to_four(std::move(bytes));
            // The game's catalogue fixes every stored size; a drawing change must never move one.
            if (bytes.size() != TableSize(o.name))
                throw std::logic_error(std::string(o.name) + ": " + std::to_string(bytes.size()) +
                                       " bytes, expected " + std::to_string(TableSize(o.name)));
        }
        write_file(dir / o.name, bytes);
    }
}

}  // namespace

int main(int argc, char** argv) {
    try {
        if (argc == 3 && std::strcmp(argv[1], "--icons") == 0) {
            write_all(argv[2], {
                                   {"puffpop-48.png", [] { return assetgen::icon_png(48); }},
                                   {"puffpop-128.png", [] { return assetgen::icon_png(128); }},
                                   {"puffpop-256.png", [] { return assetgen::icon_png(256); }},
                               });
            return 0;
        }
        if (argc != 2 || argv[1][0] == '-') {
            std::fprintf(stderr, "usage: assetgen OUTDIR | assetgen --icons OUTDIR\n");
            return 2;
        }
        // Both sprite sheets come with their masks; draw each pair once.
        assetgen::SpriteSheets balloons;
        assetgen::SpriteSheets bursts;
        auto ensure_balloons = [&] {
            if (balloons.colour.empty()) balloons = assetgen::balloon_sheets();
        };
        auto ensure_bursts = [&] {
            if (bursts.colour.empty()) bursts = assetgen::burst_sheets();
        };
        write_all(argv[1], {
                               {"BalEksplozija.bmp",
                                [&] {
                                    ensure_bursts();
                                    return bursts.colour;
                                },
                                true},
                               {"BalEksplozijaM.bmp",
                                [&] {
                                    ensure_bursts();
                                    return bursts.mask;
                                },
                                true},
                               {"Baloni.bmp",
                                [&] {
                                    ensure_balloons();
                                    return balloons.colour;
                                },
                                true},
                               {"BaloniM.bmp",
                                [&] {
                                    ensure_balloons();
                                    return balloons.mask;
                                },
                                true},
                               {"Nishan.bmp", assetgen::crosshair_sheet, true},
                               {"Oblaci.bmp", assetgen::sky_picture, true},
                               {"Eksplozija.wav", assetgen::pop_sound, true},
                               {"Kraj.wav", assetgen::end_sound, true},
                               {"Promasaj.wav", assetgen::miss_sound, true},
                               {"PucanjB.wav", assetgen::shot_sound, true},
                               {"PucanjSB.wav", assetgen::bomb_sound, true},
                               {"Start.wav", assetgen::start_sound, true},
                               {"Puffpop.ico", assetgen::icon_file},
                           });
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "assetgen: %s\n", e.what());
        return 1;
    }
}
