# The two commands for a newcomer: `make run` and `make test`.
BUILD_DIR   ?= build
BENCH_DIR   ?= build-bench
BUILD_TYPE  ?= RelWithDebInfo
JOBS        ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: all deps configure build test run bench clean

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

test: build
	@ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)

run: build
	@scripts/run-player $(BUILD_DIR)

bench: deps
	@cmake -S . -B $(BENCH_DIR) -DCMAKE_BUILD_TYPE=Release -DOV_FUZZ=OFF >/dev/null
	@cmake --build $(BENCH_DIR) -j $(JOBS) --target benchmarks
	@scripts/run-benchmarks $(BENCH_DIR)

clean:
	rm -rf $(BUILD_DIR) $(BENCH_DIR)
