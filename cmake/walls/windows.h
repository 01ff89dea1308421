// Found first on the game's include path (cmake/walls.cmake): the Windows API belongs to the Win32
// host, and the game reaches it only through the platform layer's headers.
#error "windows.h is the Win32 host's (platform/win32/): the game calls the platform layer instead"
