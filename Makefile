# The two commands of the README: `make run` and `make test`.
BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
# Seconds each fuzz target runs per `make fuzz`, and the sanitizers it runs under
# (FUZZ_SANITIZE=undefined runs several times faster for long campaigns).
FUZZ_SECONDS ?= 300
FUZZ_SANITIZE ?= address,undefined
# FUZZ_RUNS=N runs each target for N inputs instead of FUZZ_SECONDS.
FUZZ_RUNS ?=
# FUZZ_TARGETS="save_fuzz wave_fuzz" runs only those (default: every target).
FUZZ_TARGETS ?=
JOBS       ?= $(shell nproc)
# Worked out when a recipe runs (after `deps` may have installed ninja), and only for a
# build folder not yet configured: CMake refuses to switch the generator of an existing one.
cmake_gen = $(if $(wildcard $(1)/CMakeCache.txt),,$(shell command -v ninja >/dev/null 2>&1 && echo "-G Ninja"))

PREFIX     ?= /usr/local

# The web page: built by Debian's emscripten into WEB_BUILD, its pictures and sounds
# from the native build; `make serve-web` serves it on localhost (WEB_PORT, 0: any free).
WEB_BUILD  ?= build-web
WEB_PORT   ?= 8080
# Debian's emcc runs its optimiser on Node, which must find Debian's acorn.
WEB_ENV    = NODE_PATH=/usr/share/nodejs
# `make bench-web`: cold loads per server and profile; BENCH_WEB_ARGS may add
# "--ticks SECONDS" (the ticks' pace at the home menu) or "--phone DIR" (screenshots).
BENCH_LOADS    ?= 5
BENCH_WEB_ARGS ?=

.PHONY: run test deps build build-asan install deb fuzz clean web serve-web test-web bench-web

deps:
	@./scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) $(call cmake_gen,$(BUILD)) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/pomurie

# The sanitizer build covers the game logic and the loaders of outside bytes;
# the Qt layer is exercised by the regular build's offscreen tests.
build-asan: deps
	cmake -S . -B $(ASAN_BUILD) $(call cmake_gen,$(ASAN_BUILD)) -DCMAKE_BUILD_TYPE=Debug -DPOMURIE_SANITIZE=ON -DPOMURIE_WITH_QT=OFF
	cmake --build $(ASAN_BUILD) -j $(JOBS)

test: build build-asan
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)
	cd $(ASAN_BUILD) && ctest --output-on-failure -j $(JOBS)

# Coverage-guided fuzzing with clang's libFuzzer, outside CI: every target runs
# from its kept corpus ($(FUZZ_BUILD)/corpus) and its seeds for FUZZ_SECONDS.
fuzz:
	@./scripts/install-deps.sh --fuzz
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) $(call cmake_gen,$(FUZZ_BUILD)) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DPOMURIE_LIBFUZZER=ON -DPOMURIE_FUZZ_SANITIZERS=$(FUZZ_SANITIZE) -DPOMURIE_WITH_QT=OFF -DPOMURIE_WITH_ASSETS=OFF
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzz_targets
	./scripts/fuzz.sh $(FUZZ_BUILD) $(FUZZ_SECONDS) "$(FUZZ_RUNS)" $(FUZZ_TARGETS)

# `make install PREFIX=~/.local` (DESTDIR is honoured for packaging).
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# Only what the page needs from the native build: the generated assets, the CP932
# tables and the headless frames the browser test compares the page with.
web: deps
	@./scripts/install-deps.sh --web
	cmake -S . -B $(BUILD) $(call cmake_gen,$(BUILD)) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS) --target assets cp932_table_gen pomurie-webframes web-icons
	$(WEB_ENV) emcmake cmake -S . -B $(WEB_BUILD) $(call cmake_gen,$(WEB_BUILD)) -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
	  -DPOMURIE_NATIVE_BUILD=$(abspath $(BUILD))
	$(WEB_ENV) cmake --build $(WEB_BUILD) -j $(JOBS)

serve-web: web
	node platform/web/serve.mjs $(WEB_BUILD) $(WEB_PORT)

# The page's server on its own, then the page in headless Chromium, driven over its
# DevTools protocol.
test-web: web
	node tests/web/serve_test.mjs
	node --experimental-websocket tests/web/browser_test.mjs --page $(WEB_BUILD) --native $(BUILD)

# How soon the page shows its splash and its home menu: BENCH_LOADS cold loads from
# serve.mjs and from python3 -m http.server, on localhost and on a phone's profile.
bench-web: web
	node --experimental-websocket bench/web/load_bench.mjs --page $(WEB_BUILD) --native $(BUILD) --loads $(BENCH_LOADS) $(BENCH_WEB_ARGS)

# The Debian package, packed by CPack from the regular build folder (no compile of its own)
# and refused when lintian finds an error: $(BUILD)/pomurie_<version>_<arch>.deb.
deb_file = $(BUILD)/pomurie_$(shell sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' $(BUILD)/CMakeCache.txt)_$(shell dpkg --print-architecture).deb

deb: build
	cd $(BUILD) && cpack -G DEB
	lintian --fail-on error $(deb_file)
	@echo "Built $(deb_file); install it with: sudo apt install $(abspath $(deb_file))"

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) $(WEB_BUILD)
