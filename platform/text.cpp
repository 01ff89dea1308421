// Text in the embedded bold face, through SDL_ttf. Fonts are opened once per pixel size; the
// coverage of each rendered line is kept, since the game draws the same few lines every frame.
#include "platform/text.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "platform/embedded.h"
#include "platform/error.h"

namespace platform {
namespace {

const char* FontName(Face face) {
    return face == Face::Game ? "font.ttf" : "dialog.ttf";
}
constexpr size_t kMaxCachedLines = 64;

struct Coverage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> alpha;  // width * height, row by row
};

std::map<std::pair<Face, int>, TTF_Font*>& Fonts() {
    static std::map<std::pair<Face, int>, TTF_Font*> fonts;
    return fonts;
}

std::map<std::tuple<Face, int, std::string>, Coverage>& Lines() {
    static std::map<std::tuple<Face, int, std::string>, Coverage> lines;
    return lines;
}

// Points at 96 dpi to whole pixels: 24 -> 32, 17.5 -> 23, 8.25 -> 11.
int PixelSize(float points) {
    const double pixels = std::round(static_cast<double>(points) * 96.0 / 72.0);
    if (!(pixels >= 1.0)) return 1;  // also NaN
    return pixels > 1000.0 ? 1000 : static_cast<int>(pixels);
}

[[noreturn]] void FontError(Face face, const std::string& what) {
    throw RuntimeError(kResourceNotFound,
                       std::string("Cannot open font '") + FontName(face) + "': " + what);
}

// SDL_ttf opens a size in 72-dpi points, which are pixels.
TTF_Font* Font(Face face, int pixels) {
    auto& fonts = Fonts();
    if (auto it = fonts.find({face, pixels}); it != fonts.end()) return it->second;
    if (TTF_WasInit() == 0 && TTF_Init() != 0) FontError(face, TTF_GetError());
    const std::span<const uint8_t> bytes = EmbeddedBytes(FontName(face));
    if (bytes.empty()) FontError(face, "not embedded in the program");
    SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
    if (rw == nullptr) FontError(face, SDL_GetError());
    TTF_Font* font = TTF_OpenFontRW(rw, 1, pixels);
    if (font == nullptr) FontError(face, TTF_GetError());
    fonts.emplace(std::make_pair(face, pixels), font);
    return font;
}

// The game's strings are Latin-1 (ANSI character set); SDL_ttf's text calls want UTF-8.
std::string Utf8FromLatin1(const std::string& text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == 0) break;  // SDL_ttf reads C strings
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

const Coverage& Render(Face face, int pixels, const std::string& utf8) {
    auto& lines = Lines();
    auto key = std::make_tuple(face, pixels, utf8);
    if (auto it = lines.find(key); it != lines.end()) return it->second;

    Coverage coverage;
    SDL_Surface* rendered =
        TTF_RenderUTF8_Blended(Font(face, pixels), utf8.c_str(), {255, 255, 255, 255});
    if (rendered != nullptr) {
        SDL_Surface* argb = SDL_ConvertSurfaceFormat(rendered, SDL_PIXELFORMAT_ARGB8888, 0);
        SDL_FreeSurface(rendered);
        if (argb != nullptr) {
            coverage.width = argb->w;
            coverage.height = argb->h;
            coverage.alpha.resize(static_cast<size_t>(argb->w) * static_cast<size_t>(argb->h));
            SDL_LockSurface(argb);
            for (int y = 0; y < argb->h; ++y) {
                const auto* row =
                    reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(argb->pixels) +
                                                      static_cast<ptrdiff_t>(y) * argb->pitch);
                for (int x = 0; x < argb->w; ++x)
                    coverage.alpha[static_cast<size_t>(y) * argb->w + x] =
                        static_cast<uint8_t>(row[x] >> 24);
            }
            SDL_UnlockSurface(argb);
            SDL_FreeSurface(argb);
        }
    }
    if (lines.size() >= kMaxCachedLines) lines.clear();
    return lines.emplace(std::move(key), std::move(coverage)).first->second;
}

uint32_t Blend(uint32_t over, uint32_t under, uint32_t alpha) {
    uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const uint32_t o = (over >> shift) & 0xFF, u = (under >> shift) & 0xFF;
        out |= ((o * alpha + u * (255 - alpha) + 127) / 255) << shift;
    }
    return out;
}

}  // namespace

void DrawText(Surface& surface, int x, int y, const std::string& text, float points, uint32_t rgb,
              Face face) {
    const std::string utf8 = Utf8FromLatin1(text);
    if (utf8.empty()) return;
    const Coverage& glyphs = Render(face, PixelSize(points), utf8);
    rgb &= 0xFFFFFF;

    // Clip in 64 bits: x and y may lie anywhere, the line may start left of or above the surface.
    const int64_t left = std::max<int64_t>(0, -int64_t{x});
    const int64_t top = std::max<int64_t>(0, -int64_t{y});
    const int64_t right = std::min<int64_t>(glyphs.width, int64_t{surface.Width()} - x);
    const int64_t bottom = std::min<int64_t>(glyphs.height, int64_t{surface.Height()} - y);
    if (left >= right || top >= bottom) return;

    for (int64_t gy = top; gy < bottom; ++gy) {
        const uint8_t* alpha = glyphs.alpha.data() + gy * glyphs.width + left;
        uint32_t* out = surface.Row(static_cast<int>(y + gy)) + (x + left);
        for (int64_t i = 0; i < right - left; ++i) {
            const uint32_t a = alpha[i];
            if (a == 255)
                out[i] = rgb;
            else if (a != 0)
                out[i] = Blend(rgb, out[i], a);
        }
    }
    surface.changed = true;
}

int TextWidth(const std::string& text, float points, Face face) {
    const std::string utf8 = Utf8FromLatin1(text);
    if (utf8.empty()) return 0;
    int width = 0, height = 0;
    if (TTF_SizeUTF8(Font(face, PixelSize(points)), utf8.c_str(), &width, &height) != 0) return 0;
    return width;
}

int TextHeight(float points, Face face) {
    return TTF_FontHeight(Font(face, PixelSize(points)));
}

void ShutdownText() {
    Lines().clear();
    for (auto& [size, font] : Fonts()) TTF_CloseFont(font);
    Fonts().clear();
    if (TTF_WasInit() != 0) TTF_Quit();
}

}  // namespace platform
