// What the web host's own files share: the page's side of it, in library.js. Private to
// platform/web.
#pragma once

#include <cstdint>

extern "C" {
// The page: its desktop, the input handlers, the end panels.
void puffpop_web_start();
int puffpop_web_desktop_width();
int puffpop_web_desktop_height();
// Ends the page's game: says so, with a way to play again (or why it never started).
void puffpop_web_end(int status);
// Suspends the game for good (Asyncify): the caller never resumes.
void puffpop_web_halt();
// Waits until input comes or timeoutMs has passed (Asyncify: the call yields to the browser).
void puffpop_web_wait(int timeoutMs);

// Windows: a frame drawn by the page around a canvas of the client area.
void puffpop_web_window_open(uint32_t id, const char* caption, int width, int height, int titled,
                             int borderWidth, int captionHeight);
void puffpop_web_window_close(uint32_t id);
void puffpop_web_window_move(uint32_t id, int x, int y);
void puffpop_web_window_show(uint32_t id, int shown);
void puffpop_web_window_full_screen(uint32_t id, int on);
void puffpop_web_window_present(uint32_t id, const uint8_t* rgba, int width, int height,
                                const int32_t* rects, int count);
void puffpop_web_pointer(int shown);

// Sound: decoded once per file, an asynchronous cue cutting the one before.
void puffpop_web_sound_prepare();
int puffpop_web_sound_known(const char* path);
// Starts the cue; the bytes are only needed the first time. False when it stays silent.
int puffpop_web_sound_play(const char* path, const uint8_t* bytes, uint32_t size);
// Waits until the cue started last has been heard, no longer than limitMs; at once where the
// page's audio cannot run.
void puffpop_web_sound_wait(int limitMs);

// Inflates gzip bytes into exactly size bytes at out (the browser's DecompressionStream); false
// where the browser cannot, or the bytes are not what was carried.
int puffpop_web_inflate(const uint8_t* packed, uint32_t packedSize, uint8_t* out, uint32_t size);

// One copy per browser: true when another tab holds the game's lock.
int puffpop_web_lock_taken();
// The fatal-error window in the page; returns once OK is pressed.
void puffpop_web_report(const char* title, const char* message);
}
