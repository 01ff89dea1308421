// The game's state, shared by the game window's procedures, and the small procedures they share:
// the masked sprite blitter, the random draw, the rectangle test and the cursor confinement.
#pragma once

#include <array>
#include <functional>

#include "platform/controls.h"
#include "platform/form.h"
#include "platform/types.h"

namespace game {

using platform::Boolean;
using platform::Integer;
using platform::Long;
using platform::Single;

// One balloon slot: free (neither flag), flying (Active) or bursting (Bursting).
struct BALLOON {
    Integer Active;
    Integer Kind;   // 0 red, 1 blue, 2 orange, 3 magenta: the sheet row and the points
    Integer Speed;  // pixels risen per tick
    Integer Frame;  // animation counter
    Integer X;      // left edge of the 60 x 60 cell
    Integer Y;      // top edge of the 60 x 60 cell
    Integer Bursting;
};

namespace basBALLOON {

inline Boolean bPlaying = 0;   // a round is running
inline Boolean bGameOver = 0;  // the game-over screen is showing
inline Long lScore = 0;
inline Integer iMissed = 0;      // balloons escaped this round
inline Integer iBonus = 0;       // added to every burst's points
inline Integer iSpawned = 0;     // launches since the last difficulty step
inline Integer iSpawnDelay = 0;  // base launch delay, milliseconds
inline Integer iCrossX = 0;      // top-left corner of the crosshair picture
inline Integer iCrossY = 0;
inline Integer iCrossFrame = 0;  // 1 idle, 2 firing
inline Boolean bFireRight = 0;   // a button other than the left one is held
inline Integer iBombs = 0;
inline Boolean bFireLeft = 0;     // the left button is held
inline Integer iReload = 0;       // milliseconds since the last shot or bomb, up to its cap
inline Long lSpawnClock = 0;      // milliseconds since the last launch decision, up to its cap
inline Integer iBlink = 0;        // ticks of the attract blink and of the game-over screen
inline Integer iReloadTicks = 0;  // ticks between two shots
inline std::array<BALLOON, 15> Balloons{};

// Draws one cell of a sprite sheet with transparency: the mask cell is ANDed in first, then the
// sprite cell ORed over it. Columns count from 1, rows from 0; a cell outside its sheet draws
// nothing.
void DrawSprite(platform::PictureBox& sheet, platform::PictureBox& mask,
                platform::PictureBox& destination, Integer column, Integer maskColumn, Integer row,
                Integer maskRow, Integer x, Integer y, Integer width, Integer height);

// A uniform random whole number from 0 to n - 1.
Integer RandomInt(Integer n);

// Replaces the random source with one that yields values in [0, 1); an empty function puts back
// the game's own generator, seeded from the time of day.
void SetRandomSource(std::function<float()> source);

// -1 when the two rectangles share at least one pixel, else 0.
Boolean Collide(Integer x1, Integer y1, Integer w1, Integer h1, Integer x2, Integer y2, Integer w2,
                Integer h2);

// Confines the cursor to the form's client area, from client point (1, 1).
void ClipToForm(platform::Form& form);

}  // namespace basBALLOON

}  // namespace game
