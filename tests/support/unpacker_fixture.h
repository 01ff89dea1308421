// The game's unpacker started and closed as the game does, on the null host with a private
// temporary folder; the game windowed, the desktop as the game found it and a fresh host record
// before each test, every window gone after it.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>

#include "assets/frmRES.h"
#include "cursor_count.h"
#include "game/frmMAIN.h"
#include "platform/desktop.h"
#include "platform/null/null_host.h"
#include "startup/basDisplay.h"
#include "temp_dir.h"

namespace testing_support {

class Unpacker : public ::testing::Test {
protected:
    void SetUp() override {
        platform::RestoreDesktop();
        platform::null::Reset();
        Desktop().tempFolder = temp_.Path();
        startup::basDisplay::bFullScreen = 0;
    }
    void TearDown() override {
        game::frmMAIN.Unload();
        assets::frmRES.Unload();
        startup::basDisplay::bFullScreen = 0;
        platform::RestoreDesktop();
    }
    static platform::null::Record& Desktop() { return platform::null::Host(); }
    std::filesystem::path Folder() const { return temp_.Path() / "Puffpop"; }
    // One start of the game's unpacker, closed again as by its first tick.
    void Start() {
        assets::frmRES.Show();
        assets::frmRES.Timer1_Timer();
    }
    // The game window's keys (its handlers take their codes by reference).
    void Key(game::Integer ascii) { game::frmMAIN.Form_KeyPress(ascii); }
    void KeyUp(game::Integer code) { game::frmMAIN.Form_KeyUp(code, 0); }
    // The unpacker of a new process, which has checked no folder yet.
    void NewRun() {
        TearDown();
        assets::UnpackerForm fresh;
        fresh.Show();
        fresh.Timer1_Timer();
    }
    TempDir temp_;
};

}  // namespace testing_support
