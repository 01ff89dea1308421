// The texts over the sky: exact strings, colours, sizes and places, checked by drawing the
// expected line onto a copy of the sky and comparing every pixel.
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
    int x, y;
    std::string text;
    float points;
    uint32_t colour;
};

int Centred(const std::string& text, float points) {
    return static_cast<int>(320.0f - static_cast<float>(platform::TextWidth(text, points)) / 2);
}

class Overlays : public GameTest {
protected:
    // Runs one overlay on a clean sky and compares with the lines drawn by hand.
    template <typename Draw>
    void Expect(Draw draw, const std::vector<Line>& lines) {
        platform::Surface& work = Work();
        const platform::Surface& sky = *frmMAIN.pic_BG.hDC();
        work = sky;
        draw();
        platform::Surface expected = sky;
        for (const Line& line : lines)
            platform::DrawText(expected, line.x, line.y, line.text, line.points, line.colour);
        int differing = 0;
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x) differing += work.Pixel(x, y) != expected.Pixel(x, y);
        EXPECT_EQ(differing, 0) << "first line: '" << lines.front().text << "'";
    }
};

TEST_F(Overlays, AttractAndGameOverLinesAreCentredOn320) {
    Expect(MainFormProbe::DrawAttract,
           {{Centred("Klikni za pocetak...!", 24), 210, "Klikni za pocetak...!", 24, kWhite},
            {400, 460, std::string(32, ' ') + "By: Puffpop Team", 8.25f, kYellow}});
    for (game::Long score : {0, 7, 123400, 2147483647}) {
        lScore = score;
        const std::string result = "Rezultat = " + std::to_string(score);
        Expect(MainFormProbe::DrawGameOver,
               {{Centred("KRAJ IGRE", 24), 210, "KRAJ IGRE", 24, kYellow},
                {Centred(result, 24), 270, result, 24, kWhite}});
    }
}

TEST_F(Overlays, ScoreLineUsesTheSignedFormAndOneStarPerBomb) {
    lScore = 0;
    iBombs = 3;
    iMissed = 0;
    Expect(MainFormProbe::DrawHud, {{40, 6, " 0", 17.5f, kYellow},
                                    {300, 6, "***", 17.5f, kYellow},
                                    {535, 6, " 0 \\ 3", 17.5f, kYellow}});
    lScore = 4520;
    iBombs = 0;
    iMissed = 2;
    Expect(MainFormProbe::DrawHud,
           {{40, 6, " 4520", 17.5f, kYellow}, {535, 6, " 2 \\ 3", 17.5f, kYellow}});
}

TEST_F(Overlays, PointsFiguresAreSignedAndCutOffAtTheEdge) {
    Expect([] { MainFormProbe::DrawPoints(100, 200, 310); }, {{100, 200, " 310", 8.25f, kWhite}});
    Expect([] { MainFormProbe::DrawPoints(620, 470, 32767); },
           {{620, 470, " 32767", 8.25f, kWhite}});
}

}  // namespace
