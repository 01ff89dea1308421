# Thin wrapper over the CMake presets: `make play` and `make test` work on a fresh Debian 12.
.PHONY: deps build play test test-asan bench bench-web windows test-windows web serve-web test-web dist clean

deps:
	@./scripts/install-deps

build: deps
	cmake --preset default
	cmake --build --preset default

play: build
	./build/default/puffpop

# Every suite: Linux, then the Windows build under Wine (its packaging test needs both builds),
# the browser build (its suites under node, the page in headless Chromium), then the sanitizer build.
test: build windows web
	ctest --preset default
	$(WINE_DISPLAY) ctest --preset windows
	$(MAKE) test-web
	$(MAKE) test-asan

test-asan: deps
	cmake --preset asan
	cmake --build --preset asan
	ctest --preset asan

# The micro-benchmarks, then the real game's footprint on Xvfb beside a bare SDL program's.
bench: build
	./build/default/bench/puffpop_bench
	bash bench/footprint.sh build/default

# The browser build in headless Chromium: download size, the first frame, tick cadence, CPU time.
bench-web: web
	node bench/web/browser_bench.mjs build/web

# The Windows suites share one X server: Wine's desktop process lives on the display of the run
# that started it, and a private server per run, gone with its run, would take it from the others.
WINE_DISPLAY = xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp"

# The Windows executable, cross-built with mingw-w64; its tests run under Wine.
windows: deps
	cmake --preset windows
	cmake --build --preset windows

test-windows: windows
	$(WINE_DISPLAY) ctest --preset windows

# The game in the browser: build/web holds the page, its script and its WebAssembly, to be served
# as plain static files.
web: deps
	cmake --preset web
	cmake --build --preset web --target puffpop
	rm -rf build/web && mkdir -p build/web
	cp build/wasm/site/index.html build/wasm/site/puffpop.js build/wasm/site/puffpop.wasm build/web/

# Serves build/web on this machine only; open the address it prints.
WEB_PORT ?= 8000
serve-web: web
	@echo "Puffpop is served at http://localhost:$(WEB_PORT)/ (Ctrl+C stops it)"
	python3 -m http.server $(WEB_PORT) --bind 127.0.0.1 --directory build/web

# The core, game and replay suites compiled to WebAssembly on the null host, under node (the
# million-tick soak stays out, as under Wine), then the page in headless Chromium.
test-web: web
	cmake --build --preset web
	ctest --preset web

# The release packages, named with the version of resources/version.txt, into build/dist: the
# .deb from the Linux build, the Windows installer and zip from the mingw-w64 cross build, the
# page's zip from the browser build.
dist: build windows web
	rm -rf build/dist
	cpack --config build/default/CPackConfig.cmake -B build/dist/linux
	cpack --config build/windows/CPackConfig.cmake -B build/dist/windows
	cpack --config build/wasm/CPackConfig.cmake -B build/dist/web
	mv build/dist/linux/*.deb build/dist/windows/*.exe build/dist/windows/*.zip build/dist/web/*.zip build/dist/
	rm -rf build/dist/linux build/dist/windows build/dist/web
	@ls -l build/dist

clean:
	rm -rf build
