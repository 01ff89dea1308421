#pragma once
// Every asset the generator produces, as the bytes the game stores (before word padding).
#include "bytes.h"

namespace assetgen {

struct SpriteSheets {
    Bytes colour;
    Bytes mask;
};

SpriteSheets balloon_sheets();  // Baloni.bmp, BaloniM.bmp
SpriteSheets burst_sheets();    // BalEksplozija.bmp, BalEksplozijaM.bmp
Bytes crosshair_sheet();        // Nishan.bmp
Bytes sky_picture();            // Oblaci.bmp
Bytes icon_file();              // Puffpop.ico
Bytes icon_png(int size);       // the icon art, drawn smooth at any size, as PNG

Bytes shot_sound();   // PucanjB.wav
Bytes pop_sound();    // Eksplozija.wav
Bytes bomb_sound();   // PucanjSB.wav
Bytes miss_sound();   // Promasaj.wav
Bytes end_sound();    // Kraj.wav
Bytes start_sound();  // Start.wav

}  // namespace assetgen
