// Found first on the game's include path (cmake/walls.cmake): the browser belongs to the web host,
// and the game reaches it only through the platform layer's headers.
#error "emscripten is the web host's (platform/web/): the game calls the platform layer instead"
