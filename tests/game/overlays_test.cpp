// The texts over the sky: exact strings, colours, sizes and places.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "game_fixture.h"
#include "platform/text.h"

namespace {

using namespace game::basBALLOON;

// x, y, text, points, colour; x < 0: centred, found from where the ink lies.
using Line = std::tuple<int, int, std::string, float, uint32_t>;

class Overlays : public testing_support::GameTest {
protected:
    // First and last column in rows [top, bottom) where a surface differs from the sky.
    std::pair<int, int> Ink(const platform::Surface& s, int top, int bottom) {
        int left = 640, right = -1;
        for (int y = top; y < bottom; ++y)
            for (int x = 0; x < 640; ++x)
                if (s.Pixel(x, y) != Sky().Pixel(x, y))
                    left = std::min(left, x), right = std::max(right, x);
        return {left, right};
    }
    // The frame holds exactly these lines over the sky. A centred line's ink must sit on x = 320
    // within two pixels; it is then drawn by hand where the frame's ink says it starts.
    void Expect(std::vector<Line> lines) {
        platform::Surface expected = Sky();
        for (auto& [x, y, text, points, colour] : lines) {
            if (x < 0) {
                const int bottom = y + platform::TextHeight(points);
                const auto [left, right] = Ink(Work(), y, bottom);
                EXPECT_NEAR(left + right, 640, 4) << "'" << text << "' centred on 320";
                platform::Surface alone = Sky();
                platform::PrintText(alone, 0, y, text, points, colour);
                x = left - Ink(alone, y, bottom).first;
            }
            platform::PrintText(expected, x, y, text, points, colour);
        }
        EXPECT_TRUE(std::equal(Work().Row(0), Work().Row(0) + 640 * 480, expected.Row(0)))
            << "first line: '" << std::get<2>(lines.front()) << "'";
    }
    void ExpectGameOver(game::Long score) {
        Expect({{-1, 210, "KRAJ IGRE", 24, 0xFFFF00},
                {-1, 270, "Rezultat = " + std::to_string(score), 24, 0xFFFFFF}});
    }
};

TEST_F(Overlays, LinesCentredOn320TheAttractTextBlinkingAndPointsScoredOnTheGameOverScreen) {
    Tick();
    Expect({{-1, 210, "Klikni za pocetak...!", 24, 0xFFFFFF},
            {400, 460, std::string(32, ' ') + "By: Puffpop Team", 8.25f, 0xFFFF00}});
    for (int tick = 2; tick <= 41; ++tick) {  // shown for 10 ticks, hidden for 10
        Tick();
        const bool shown = !std::equal(Work().Row(0), Work().Row(0) + 640 * 480, Sky().Row(0));
        EXPECT_EQ(shown, (tick - 1) % 20 < 10) << "tick " << tick;
    }
    bGameOver = platform::True;
    for (game::Long score : {0, 7, 123400, 2147483647}) {
        lScore = score, iBlink = 0;
        Tick();
        ExpectGameOver(score);
    }
    lScore = 700;
    Fly(0, 1, 300, 200, 0);  // left over from the round: not drawn, but it can still be hit
    Shoot(340, 230);         // the text is drawn before the shot
    MoveTo(-100, -100);
    Tick();
    EXPECT_EQ(lScore, 900);
    ExpectGameOver(900);
}

}  // namespace
