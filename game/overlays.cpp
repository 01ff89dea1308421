// The texts drawn over the sky: attract screen, game over, the score line and points figures.
#include <string>

#include "frmMAIN.h"

namespace game {

using namespace basBALLOON;
using platform::QBColor;

namespace {

constexpr int kWhite = 15;
constexpr int kYellow = 14;

// Numbers on screen carry a leading space where a minus sign would stand.
std::string SignedForm(int64_t value) {
    return (value < 0 ? "" : " ") + std::to_string(value);
}

void PrintCentred(platform::PictureBox& box, const std::string& line, Single y) {
    box.CurrentX = box.ScaleWidth() / 2 - box.TextWidth(line) / 2;
    box.CurrentY = y;
    box.Print(line);
}

}  // namespace

void MainForm::DrawAttract() {
    pic_Work.ForeColor = QBColor(kWhite);
    pic_Work.FontSize = 24;
    PrintCentred(pic_Work, "Klikni za pocetak...!", 210);

    pic_Work.ForeColor = QBColor(kYellow);
    pic_Work.FontSize = 8.25f;
    pic_Work.CurrentX = 400;
    pic_Work.CurrentY = 460;
    pic_Work.Print(std::string(32, ' ') + "By: Puffpop Team");
}

void MainForm::DrawGameOver() {
    pic_Work.ForeColor = QBColor(kYellow);
    pic_Work.FontSize = 24;
    PrintCentred(pic_Work, "KRAJ IGRE", 210);

    pic_Work.ForeColor = QBColor(kWhite);
    pic_Work.FontSize = 24;
    PrintCentred(pic_Work, "Rezultat = " + std::to_string(lScore), 270);
}

void MainForm::DrawHud() {
    pic_Work.ForeColor = QBColor(kYellow);
    pic_Work.FontSize = 17.5f;
    pic_Work.CurrentX = 40;
    pic_Work.CurrentY = 6;
    pic_Work.Print(SignedForm(lScore));
    pic_Work.CurrentX = 300;
    pic_Work.CurrentY = 6;
    pic_Work.Print(std::string(static_cast<size_t>(iBombs > 0 ? iBombs : 0), '*'));
    pic_Work.CurrentX = 535;
    pic_Work.CurrentY = 6;
    pic_Work.Print(SignedForm(iMissed) + " \\ 3");
}

void MainForm::DrawPoints(Integer x, Integer y, Long points) {
    pic_Work.ForeColor = QBColor(kWhite);
    pic_Work.FontSize = 8.25f;
    pic_Work.CurrentX = x;
    pic_Work.CurrentY = y;
    pic_Work.Print(SignedForm(points));
}

}  // namespace game
