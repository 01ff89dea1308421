// Text drawn onto surfaces in the game's one bold sans-serif face.
#pragma once

#include <string>

#include "surface.h"

namespace platform {

// The game's own bold face, and the plainer condensed one of dialog controls.
enum class Face { Game, Dialog };

// Sizes are in points at 96 dots per inch (24 points is 32 pixels).
// Draws only the glyphs, blended over what is already there, with the top-left corner of the
// first character cell at (x, y); anything past the surface's edge is cut off.
void PrintText(Surface& surface, int x, int y, const std::string& text, float points, uint32_t rgb,
               Face face = Face::Game);

// Width in pixels of a line of text at a size.
int TextWidth(const std::string& text, float points, Face face = Face::Game);

// Height in pixels of a line (the character cell) at a size.
int TextHeight(float points, Face face = Face::Game);

// Forgets the faces and their rendered glyphs; the next call reads them again.
void ShutdownText();

}  // namespace platform
