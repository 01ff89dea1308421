// Found first on the game's include path (cmake/walls.cmake): SDL belongs to the SDL host, and the
// game reaches it only through the platform layer's headers.
#error "SDL is the SDL host's (platform/sdl/): the game calls the platform layer instead"
