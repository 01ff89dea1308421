#include "basBALLOON.h"

#include <chrono>
#include <cmath>
#include <random>

#include "platform/cursor.h"
#include "platform/masked_sheet.h"

namespace game::basBALLOON {

using platform::CInt;

void DrawSprite(platform::PictureBox& sheet, platform::PictureBox& mask,
                platform::PictureBox& destination, Integer column, Integer maskColumn, Integer row,
                Integer maskRow, Integer x, Integer y, Integer width, Integer height) {
    const Integer sx = CInt((column - 1) * CInt(width + 1) + 1);
    const Integer sy = CInt(row * CInt(height + 1) + 1);
    const Integer mx = CInt((maskColumn - 1) * CInt(width + 1) + 1);
    const Integer my = CInt(maskRow * CInt(height + 1) + 1);
    platform::MaskedBlt(destination.hDC(), x, y, width, height, mask.hDC(), mx, my, sheet.hDC(), sx,
                        sy);
}

namespace {

// Seeded once from the time of day: reseeding on every draw, as a coarse clock would allow,
// repeats draws within a tick and ties a balloon's kind, speed and place together.
float TimeSeededDraw() {
    static std::mt19937 generator(
        static_cast<uint32_t>(std::chrono::system_clock::now().time_since_epoch().count()));
    return static_cast<float>(generator() >> 8) * (1.0f / 16777216.0f);
}

std::function<float()>& Source() {
    static std::function<float()> source = TimeSeededDraw;
    return source;
}

}  // namespace

void SetRandomSource(std::function<float()> source) {
    Source() = source ? std::move(source) : std::function<float()>(TimeSeededDraw);
}

Integer RandomInt(Integer n) {
    const float r = Source()();
    return CInt(static_cast<int64_t>(std::floor(static_cast<float>(n) * r)));
}

Boolean Collide(Integer x1, Integer y1, Integer w1, Integer h1, Integer x2, Integer y2, Integer w2,
                Integer h2) {
    return platform::CBool(CInt(CInt(x1 + w1) - 1) >= x2 && x1 <= CInt(CInt(x2 + w2) - 1) &&
                           CInt(CInt(y1 + h1) - 1) >= y2 && y1 <= CInt(CInt(y2 + h2) - 1));
}

void ClipToForm(platform::Form& form) {
    platform::POINTAPI topLeft{1, 1};
    platform::ClientToScreen(form, topLeft);
    platform::POINTAPI bottomRight{platform::CLng(static_cast<double>(form.ScaleWidth())),
                                   platform::CLng(static_cast<double>(form.ScaleHeight()))};
    platform::ClientToScreen(form, bottomRight);
    const platform::RECT rect{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
    platform::ClipCursor(&rect);
}

}  // namespace game::basBALLOON
