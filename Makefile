# The two commands for a newcomer: `make run` and `make test`.
BUILD_DIR   ?= build
BENCH_DIR   ?= build-bench
BUILD_TYPE  ?= RelWithDebInfo
JOBS        ?= $(shell nproc)
CMAKE_FLAGS ?=
PREFIX      ?= /usr/local

.PHONY: all deps configure build test run bench fuzz-long install package clean

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

# Every fuzz target for FUZZ_SECONDS (default 10 minutes) in the sanitizer
# build; the corpus is minimised into tests/fuzz/seeds.
FUZZ_SECONDS ?= 600
fuzz-long: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS) --target ov_fuzz_build
	@scripts/fuzz-long $(BUILD_DIR) $(FUZZ_SECONDS)

# DESTDIR=/some/root stages the tree below another root, as packagers do.
install: build
	@cmake --install $(BUILD_DIR) --prefix $(PREFIX)

# A Debian package (.deb) in $(BUILD_DIR), installing under /usr.
package: build
	@cd $(BUILD_DIR) && cpack -G DEB

clean:
	rm -rf $(BUILD_DIR) $(BENCH_DIR)
