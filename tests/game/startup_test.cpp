// The command line, the mode-choice window: its controls, the keyboard and mouse, and the
// hand-over to the game.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <tuple>
#include <vector>

#include "platform/app.h"
#include "platform/keys.h"
#include "startup/command_line.h"
#include "startup/frmStartup.h"
#include "unpacker_fixture.h"

namespace {

using platform::vbLeftButton;
using startup::frmStartup;
using startup::basDisplay::bFullScreen;

TEST(CommandLine, AnOptionChoosesTheWayToPlayOrIsAnsweredWithItsStatusOnItsStream) {
    using startup::Mode;
    const std::tuple<std::vector<const char*>, Mode, int, std::string> cases[] = {
        {{}, Mode::Ask, -1, ""},
        {{"--windowed"}, Mode::Windowed, -1, ""},
        {{"--fullscreen"}, Mode::FullScreen, -1, ""},
        {{"--help"}, Mode::Ask, 0, "out:Usage: puffpop [OPTION]\n"},
        {{"--version"}, Mode::Ask, 0, "out:Puffpop "},
        {{"--fullscreen", "-h"},
         Mode::Ask,
         2,
         "err:puffpop: unrecognised command line: --fullscreen -h\nUsage:"}};
    for (const auto& [args, mode, status, said] : cases) {
        std::vector<const char*> argv{"puffpop"};
        argv.insert(argv.end(), args.begin(), args.end());
        std::ostringstream out, err;
        const auto command =
            startup::ReadCommandLine(static_cast<int>(argv.size()), argv.data(), out, err);
        EXPECT_EQ(std::tuple(command.mode, command.exitStatus), std::tuple(mode, status)) << said;
        const std::string text = (out.str().empty() ? "" : "out:" + out.str()) +
                                 (err.str().empty() ? "" : "err:" + err.str());
        EXPECT_EQ(text.substr(0, said.size()), said);
        EXPECT_EQ(text.empty(), said.empty()) << text;
    }
    // An answer that cannot be written (a full disk, a closed pipe) says so and fails.
    const char* argv[] = {"puffpop", "--version"};
    std::ostringstream out, err;
    out.setstate(std::ios::badbit);
    EXPECT_EQ(startup::ReadCommandLine(2, argv, out, err).exitStatus, 1);
    EXPECT_EQ(err.str(), "puffpop: cannot write to standard output\n");
}

class Startup : public testing_support::Unpacker {
protected:
    void SetUp() override {
        Unpacker::SetUp();
        frmStartup.Show();
    }
    void TearDown() override {
        frmStartup.Unload();
        Unpacker::TearDown();
    }
    void Key(platform::Integer code, platform::Integer shift = 0) {
        frmStartup.KeyDown(code, shift);
        if (frmStartup.Loaded()) frmStartup.KeyUp(code, shift);
    }
};

TEST_F(Startup, KeyboardAndMouseChooseFullScreen) {
    // The option group is one tab stop, entered at the selected option: Space there keeps the
    // choice as it is.
    Key(9, 1);  // Shift+Tab: to "Windows Mode", the selected one
    Key(32);
    EXPECT_EQ(frmStartup.optW.Value(), platform::True);
    frmStartup.MouseDown(vbLeftButton, 0, 40, 44);  // a click on the full-screen option
    frmStartup.MouseUp(vbLeftButton, 0, 40, 44);
    frmStartup.MouseDown(vbLeftButton, 0, 256, 32);  // released off the button: nothing happens,
    frmStartup.MouseUp(vbLeftButton, 0, 10, 10);     // but it has the focus
    EXPECT_TRUE(frmStartup.Loaded());
    Key(9);  // Tab into the group: the full-screen option
    Key(32);
    EXPECT_EQ(frmStartup.optFS.Value(), platform::True);
    Key(9);   // Tab leaves the group at once: START
    Key(32);  // Space presses it
    EXPECT_FALSE(frmStartup.Loaded());
    EXPECT_EQ(bFullScreen, platform::True);
}

TEST_F(Startup, ClosingTheWindowEndsWithNothingUnpacked) {
    frmStartup.CloseRequested();
    EXPECT_TRUE(platform::LoadedForms().empty());
    EXPECT_FALSE(std::filesystem::exists(temp_.Path() / "Puffpop"));
}

}  // namespace
