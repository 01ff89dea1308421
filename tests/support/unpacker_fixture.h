// The game's unpacker started and closed as the game does, into a private temporary folder; the
// game windowed, the cursor and display records empty, and every window gone after each test.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>

#include "assets/frmRES.h"
#include "game/frmMAIN.h"
#include "platform/cursor.h"
#include "platform/display.h"
#include "startup/basDisplay.h"
#include "temp_dir.h"

namespace testing_support {

class Unpacker : public ::testing::Test {
protected:
    void SetUp() override {
        temp_.UseAsTemp();
        startup::basDisplay::bFullScreen = 0;
        platform::ResetCursorState();
        platform::ResetDisplayState();
    }
    void TearDown() override {
        game::frmMAIN.Unload();
        assets::frmRES.Unload();
        startup::basDisplay::bFullScreen = 0;
        platform::ResetCursorState();
        platform::ResetDisplayState();
    }
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
