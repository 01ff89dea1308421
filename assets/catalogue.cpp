#include "catalogue.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "platform/embedded.h"
#include "platform/error.h"

namespace assets {

namespace {

struct Entry {
    std::string_view type;
    std::string_view name;  // stored in upper case
    std::string_view file;
};

constexpr Entry kCatalogue[] = {
    {"BMP", "BALEKSPLOZIJA", "BalEksplozija.bmp"},
    {"BMP", "BALEKSPLOZIJAM", "BalEksplozijaM.bmp"},
    {"BMP", "BALONI", "Baloni.bmp"},
    {"BMP", "BALONIM", "BaloniM.bmp"},
    {"BMP", "NISHAN", "Nishan.bmp"},
    {"BMP", "OBLACI", "Oblaci.bmp"},
    {"WAV", "EKSPLOZIJA", "Eksplozija.wav"},
    {"WAV", "KRAJ", "Kraj.wav"},
    {"WAV", "PROMASAJ", "Promasaj.wav"},
    {"WAV", "PUCANJB", "PucanjB.wav"},
    {"WAV", "PUCANJSB", "PucanjSB.wav"},
    {"WAV", "START", "Start.wav"},
};

bool SameLetters(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::toupper(static_cast<unsigned char>(x)) ==
               std::toupper(static_cast<unsigned char>(y));
    });
}

}  // namespace

std::vector<uint8_t> LoadResData(std::string_view name, std::string_view type) {
    for (const Entry& entry : kCatalogue) {
        if (!SameLetters(entry.name, name) || !SameLetters(entry.type, type)) continue;
        const auto bytes = platform::EmbeddedBytes(entry.file);
        if (bytes.empty()) break;
        return {bytes.begin(), bytes.end()};
    }
    throw platform::RuntimeError(platform::kResourceNotFound,
                                 "Resource with identifier '" + std::string(name) + "' of type '" +
                                     std::string(type) + "' not found");
}

}  // namespace assets
