#include "game_fixture.h"

#include "platform/cursor.h"
#include "platform/display.h"
#include "platform/sound.h"

namespace testing_support {

using namespace game::basBALLOON;

void GameTest::SetUp() {
    temp_.UseAsTemp();
    platform::ResetCursorState();
    SetRandomSource([this] { return fallback_; });
    bPlaying = bGameOver = bFireRight = 0;
    lSpawnClock = 0;
    MoveTo(-100, -100);
    assets::frmRES.Show();
    assets::frmRES.Timer1_Timer();  // the unpacker closes itself as on its first tick
    platform::ClearSoundRequests();
}

void GameTest::TearDown() {
    game::frmMAIN.Unload();
    assets::frmRES.Unload();
    SetRandomSource(nullptr);
    platform::ResetCursorState();
    platform::ResetDisplayState();
}

std::vector<std::string> GameTest::Sounds() {
    std::vector<std::string> names;
    for (const auto& request : platform::SoundRequests())
        names.push_back(request.path.substr(request.path.find_last_of('/') + 1) + ":" +
                        std::to_string(request.flags));
    platform::ClearSoundRequests();
    return names;
}

}  // namespace testing_support
