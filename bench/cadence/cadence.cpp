// puffpop_cadence [TICKS]: the frame tick as a player's machine delivers it, on either host. A
// 640x480 window runs the game's 45 ms timer; every tick draws a full frame into the window's
// surface and presents it. Prints the tick intervals and the present's cost, in milliseconds.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/app.h"
#include "platform/constants.h"
#include "platform/controls.h"
#include "platform/form.h"
#include "platform/surface.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

platform::FormDesign WindowDesign() {
    platform::FormDesign design;
    design.caption = "cadence";
    design.clientWidth = 640;
    design.clientHeight = 480;
    return design;
}

class CadenceForm : public platform::Form {
public:
    explicit CadenceForm(int ticks)
        : Form(WindowDesign()),
          skies_{platform::Surface(640, 480), platform::Surface(640, 480)},
          ticks_(ticks),
          timer_(*this, 45, true, [this] { Tick(); }) {
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x) {
                skies_[0].SetPixel(x, y, 0x3060C0u + static_cast<uint32_t>(y / 4));
                skies_[1].SetPixel(x, y, 0x3060C0u + static_cast<uint32_t>(x / 4));
            }
    }

    void Report() const {
        std::vector<double> gaps;
        for (size_t i = 1; i < at_.size(); ++i) gaps.push_back(Ms(at_[i] - at_[i - 1]));
        std::vector<double> present = present_;
        std::sort(gaps.begin(), gaps.end());
        std::sort(present.begin(), present.end());
        const auto median = [](const std::vector<double>& v) { return v[v.size() / 2]; };
        double off = 0;
        for (double gap : gaps) off = std::max(off, std::abs(gap - 45.0));
        // A late tick keeps the timer's phase, so the one after it comes that much sooner; ticks
        // made up for a stall would come back to back, and there must be none.
        const auto burst = std::count_if(gaps.begin(), gaps.end(), [](double g) { return g < 10; });
        std::printf(
            "ticks %zu: interval median %.2f ms, worst %.2f ms off 45, %ld back to back; present "
            "median %.3f ms, worst %.3f ms\n",
            gaps.size(), median(gaps), off, static_cast<long>(burst), median(present),
            present.back());
    }

private:
    void Tick() {
        at_.push_back(Clock::now());
        // Two skies by turns, so that every pixel changes and each present is a whole frame's.
        platform::BitBlt(hDC(), 0, 0, 640, 480, &skies_[at_.size() % 2], 0, 0, platform::SRCCOPY);
        const Clock::time_point before = Clock::now();
        Present();
        present_.push_back(Ms(Clock::now() - before));
        if (static_cast<int>(at_.size()) > ticks_) Unload();
    }

    platform::Surface skies_[2];
    int ticks_;
    platform::Timer timer_;
    std::vector<Clock::time_point> at_;
    std::vector<double> present_;
};

}  // namespace

int main(int argc, char** argv) {
    CadenceForm form(argc > 1 ? std::atoi(argv[1]) : 200);
    form.Show();
    platform::Run();
    form.Report();
    return 0;
}
