# Entry points: `make demo` and `make test` set up a fresh Debian 12 machine and run.
BUILD        ?= build
BUILD_TYPE   ?= RelWithDebInfo
# Debug information of the Linux builds: line tables only. Backtraces, gdb's frames and the
# sanitizers' reports still name file and line, and a fresh build takes about a third less time
# than with full debug information (DEBUG_INFO=-g gives it, with the variables).
DEBUG_INFO   ?= -g1
JOBS         ?= $(shell nproc)
# Empty: each fuzz target runs for its own default time (scripts/run-fuzzers).
FUZZ_SECONDS ?=
CMAKE_FLAGS  ?=
# The prefix the build is configured for: the package installs there. An installed tree works at
# any other prefix too (cmake --install build --prefix DIR).
PREFIX       ?= /usr

# The Windows build: cross-compiled with mingw-w64 into $(BUILD_WINDOWS), its tests run under Wine
# in a Wine prefix of its own there.
BUILD_WINDOWS ?= build-windows
# Optimised as the Linux build (-O2) but without debug information, which mingw-w64 is slow to
# compile and link.
WINDOWS_BUILD_TYPE ?= Release
WINE_PREFIX  ?= $(abspath $(BUILD_WINDOWS))/wine

.PHONY: all deps configure build test demo fuzz asan bench format clean package package-test \
	windows-deps windows test-windows

all: build

deps:
	@scripts/install-deps

configure: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DCMAKE_INSTALL_PREFIX=$(PREFIX) \
	  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 $(DEBUG_INFO) -DNDEBUG" \
	  -DCMAKE_CXX_FLAGS_DEBUG="$(DEBUG_INFO)" $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

demo: build
	@scripts/demo $(BUILD)

# The Debian package, into $(BUILD)/package/.
package: build
	rm -rf $(BUILD)/package
	cpack --config $(BUILD)/CPackConfig.cmake -B $(BUILD)/package
	lintian --allow-root $(BUILD)/package/*.deb

# Installs the package on this machine, runs it and removes it again: kept out of `make test`
# because it changes the machine.
package-test: package
	scripts/package-test $(BUILD)/package/*.deb

# Qt-free tests once more with AddressSanitizer and UndefinedBehaviorSanitizer, built with clang
# (as the fuzz targets are): it builds them in two thirds of GCC's time.
asan: deps
	CC=clang-14 CXX=clang++-14 cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTECTOPLAN_SANITIZE=ON -DTECTOPLAN_WITH_UI=OFF \
	  -DCMAKE_CXX_FLAGS_DEBUG="$(DEBUG_INFO)"
	cmake --build build-asan -j $(JOBS)
	ctest --test-dir build-asan --output-on-failure -j $(JOBS) -LE ui

# libFuzzer targets, built with clang, each run on its seed corpus: the metafile, cutting-program
# reader and project-file targets 600 s, the others 60 s, or every one FUZZ_SECONDS seconds; as
# many at once as the machine has processors (FUZZ_JOBS).
fuzz: deps
	CC=clang-14 CXX=clang++-14 cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DTECTOPLAN_FUZZ=ON -DTECTOPLAN_WITH_UI=OFF -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 $(DEBUG_INFO) -DNDEBUG"
	cmake --build build-fuzz -j $(JOBS) --target fuzzers
	scripts/run-fuzzers build-fuzz $(FUZZ_SECONDS)

# Benchmarks in a Release build of their own, then the whole-process time of the unattended run,
# alone and against the durable copy of its own output.
bench: deps
	cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DTECTOPLAN_BENCH=ON \
	  -DTECTOPLAN_TESTS=OFF -DTECTOPLAN_WITH_UI=ON
	cmake --build build-bench -j $(JOBS) --target benchmarks
	build-bench/bench/bench_generator
	build-bench/bench/bench_readers
	build-bench/bench/bench_preview
	build-bench/bench/bench_advice
	for project in examples/gutter.tcj bench/gutter-100000.tcj; do \
	  echo "$$project:"; \
	  xvfb-run -a -s "-screen 0 1280x1024x24" build-bench/bench/bench_window_latency $$project 9; \
	done
	scripts/time-unattended build-bench
	bench/unattended-vs-copy.sh build-bench

windows-deps:
	@scripts/install-deps --windows

# tectoplan.exe and tectoplan-view.exe with the cross-built Qt-free tests.
windows: windows-deps
	cmake -S . -B $(BUILD_WINDOWS) -G Ninja -DCMAKE_BUILD_TYPE=$(WINDOWS_BUILD_TYPE) \
	  -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" -DCMAKE_C_FLAGS_RELEASE="-O2 -DNDEBUG" \
	  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
	cmake --build $(BUILD_WINDOWS) -j $(JOBS)

# The Qt-free tests under Wine, then every example and golden project through tectoplan.exe
# against the Linux program.
test-windows: windows build
	@# The prefix is made once before the tests start: several programs starting at once in a
	@# prefix that is not there yet race to make it.
	WINEPREFIX=$(WINE_PREFIX) WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" wine wineboot --init
	WINEPREFIX=$(WINE_PREFIX) wineserver --wait
	WINEPREFIX=$(WINE_PREFIX) WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
	  ctest --test-dir $(BUILD_WINDOWS) --output-on-failure -j $(JOBS)
	WINEPREFIX=$(WINE_PREFIX) WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
	  scripts/windows-compare $(BUILD) $(BUILD_WINDOWS)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) build-asan build-fuzz build-bench $(BUILD_WINDOWS)
