# Entry points: `make demo` and `make test` set up a fresh Debian 12 machine and run.
BUILD        ?= build
BUILD_TYPE   ?= RelWithDebInfo
JOBS         ?= $(shell nproc)
FUZZ_SECONDS ?= 30
CMAKE_FLAGS  ?=

.PHONY: all deps configure build test demo fuzz asan bench format clean

all: build

deps:
	@scripts/install-deps

configure: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

demo: build
	@scripts/demo $(BUILD)

# Qt-free tests once more with AddressSanitizer and UndefinedBehaviorSanitizer.
asan: deps
	cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTECTOPLAN_SANITIZE=ON -DTECTOPLAN_WITH_UI=OFF
	cmake --build build-asan -j $(JOBS)
	ctest --test-dir build-asan --output-on-failure -j $(JOBS) -LE ui

# libFuzzer targets, built with clang; each runs FUZZ_SECONDS seconds on its seed corpus.
fuzz: deps
	CC=clang-14 CXX=clang++-14 cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DTECTOPLAN_FUZZ=ON -DTECTOPLAN_WITH_UI=OFF
	cmake --build build-fuzz -j $(JOBS) --target fuzzers
	scripts/run-fuzzers build-fuzz $(FUZZ_SECONDS)

bench: BUILD_TYPE = Release
bench: build
	cmake --build $(BUILD) --target benchmarks
	@for b in $(BUILD)/bench/bench_*; do [ -x "$$b" ] && "$$b"; done

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) build-asan build-fuzz
