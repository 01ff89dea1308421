#include "game_fixture.h"

#include "platform/cursor.h"
#include "platform/display.h"
#include "platform/sound.h"

namespace testing_support {

using namespace game::basBALLOON;

void GameTest::SetUp() {
    temp_.UseAsTemp();
    platform::ResetCursorState();
    platform::ClearSoundRequests();
    game::basBALLOON::SetRandomSource([this] { return random_.Next(); });
    bPlaying = 0;
    bGameOver = 0;
    bFireRight = 0;
    lSpawnClock = 0;
    iCrossX = 0;
    iCrossY = 0;
    assets::frmRES.Show();
    assets::frmRES.Timer1_Timer();  // the unpacker closes itself as on its first tick
    platform::ClearSoundRequests();
}

void GameTest::TearDown() {
    game::frmMAIN.Unload();
    assets::frmRES.Unload();
    game::basBALLOON::SetRandomSource(nullptr);
    platform::ResetCursorState();
    platform::ResetDisplayState();
}

void GameTest::Tick(int count) {
    for (int i = 0; i < count; ++i) game::frmMAIN.tmr_Main_Timer();
}

game::BALLOON& GameTest::Fly(int slot, game::Integer kind, game::Integer x, game::Integer y,
                             game::Integer speed) {
    game::BALLOON& b = Balloons[static_cast<size_t>(slot)];
    b = {platform::True, kind, speed, 1, x, y, 0};
    return b;
}

std::vector<std::string> GameTest::Sounds() {
    std::vector<std::string> names;
    for (const auto& request : platform::SoundRequests()) {
        const auto slash = request.path.find_last_of('/');
        names.push_back(request.path.substr(slash + 1) + ":" + std::to_string(request.flags));
    }
    platform::ClearSoundRequests();
    return names;
}

}  // namespace testing_support
