// The texts over the sky: exact strings, colours, sizes and places.
#include <gtest/gtest.h>

#include "game_fixture.h"
#include "platform/text.h"

namespace {

using namespace game::basBALLOON;
using game::frmMAIN;
using game::MainFormProbe;
using testing_support::GameTest;

constexpr uint32_t kYellow = 0xFFFF00;
constexpr uint32_t kWhite = 0xFFFFFF;

struct Line {
    int x, y;  // x < 0: centred, found from where the ink lies
    std::string text;
    float points;
    uint32_t colour;
};

// First and last column in rows [top, bottom) where a surface differs from the sky.
std::pair<int, int> Ink(const platform::Surface& s, int top, int bottom) {
    const platform::Surface& sky = *frmMAIN.pic_BG.hDC();
    int left = 640, right = -1;
    for (int y = top; y < bottom; ++y)
        for (int x = 0; x < 640; ++x)
            if (s.Pixel(x, y) != sky.Pixel(x, y))
                left = std::min(left, x), right = std::max(right, x);
    return {left, right};
}

class Overlays : public GameTest {
protected:
    // The frame holds exactly these lines over the sky. A centred line's ink must sit on x = 320
    // within two pixels; it is then drawn by hand where the frame's ink says it starts.
    void Expect(const std::vector<Line>& lines) {
        const platform::Surface& sky = *frmMAIN.pic_BG.hDC();
        platform::Surface expected = sky;
        for (Line line : lines) {
            if (line.x < 0) {
                const int bottom = line.y + platform::TextHeight(line.points);
                const auto [left, right] = Ink(Work(), line.y, bottom);
                EXPECT_NEAR(left + right, 640, 4) << "'" << line.text << "' centred on 320";
                platform::Surface alone = sky;
                platform::DrawText(alone, 0, line.y, line.text, line.points, line.colour);
                line.x = left - Ink(alone, line.y, bottom).first;
            }
            platform::DrawText(expected, line.x, line.y, line.text, line.points, line.colour);
        }
        int differing = 0;
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x) differing += Work().Pixel(x, y) != expected.Pixel(x, y);
        EXPECT_EQ(differing, 0) << "first line: '" << lines.front().text << "'";
    }
    template <typename Draw>
    void ExpectDrawn(Draw draw, const std::vector<Line>& lines) {
        Work() = *frmMAIN.pic_BG.hDC();
        draw();
        Expect(lines);
    }
    static std::vector<Line> GameOver(game::Long score) {
        return {{-1, 210, "KRAJ IGRE", 24, kYellow},
                {-1, 270, "Rezultat = " + std::to_string(score), 24, kWhite}};
    }
};

TEST_F(Overlays, AttractAndGameOverLinesAreCentredOn320) {
    ExpectDrawn(MainFormProbe::DrawAttract,
                {{-1, 210, "Klikni za pocetak...!", 24, kWhite},
                 {400, 460, std::string(32, ' ') + "By: Puffpop Team", 8.25f, kYellow}});
    for (game::Long score : {0, 7, 123400, 2147483647}) {
        lScore = score;
        ExpectDrawn(MainFormProbe::DrawGameOver, GameOver(score));
    }
}

TEST_F(Overlays, PointsScoredOnTheGameOverScreenShowInTheResult) {
    bGameOver = platform::True;
    lScore = 700;
    Fly(0, 1, 300, 200, 0);  // left over from the round: not drawn, but it can still be hit
    MoveTo(340, 230);
    iReload = 180;
    Press(1);
    Tick();  // the text is drawn before the shot
    MoveTo(-100, -100);
    Tick();
    EXPECT_EQ(lScore, 900);
    Expect(GameOver(900));
}

TEST_F(Overlays, ScoreLineUsesTheSignedFormAndOneStarPerBomb) {
    lScore = 0;
    iBombs = 3;
    iMissed = 0;
    ExpectDrawn(MainFormProbe::DrawHud, {{40, 6, " 0", 17.5f, kYellow},
                                         {300, 6, "***", 17.5f, kYellow},
                                         {535, 6, " 0 \\ 3", 17.5f, kYellow}});
    lScore = 4520;
    iBombs = 0;
    iMissed = 2;
    ExpectDrawn(MainFormProbe::DrawHud,
                {{40, 6, " 4520", 17.5f, kYellow}, {535, 6, " 2 \\ 3", 17.5f, kYellow}});
}

TEST_F(Overlays, PointsFiguresAreSignedAndCutOffAtTheEdge) {
    ExpectDrawn([] { MainFormProbe::DrawPoints(100, 200, 310); },
                {{100, 200, " 310", 8.25f, kWhite}});
    ExpectDrawn([] { MainFormProbe::DrawPoints(620, 470, 32767); },
                {{620, 470, " 32767", 8.25f, kWhite}});
}

}  // namespace
