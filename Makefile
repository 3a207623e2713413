# SPDX-License-Identifier: GPL-3.0-or-later
# Set-up and build wrappers. `make run` and `make test` install what is missing first.
BUILD      ?= build
BENCH_BUILD ?= build-bench
SAN_BUILD  ?= build-sanitize
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
JOBS       ?= $(shell nproc 2>/dev/null || echo 2)
GENERATOR  := $(shell command -v ninja >/dev/null 2>&1 && echo "-G Ninja")

.PHONY: all deps configure build run test test-sanitize package fuzz bench bench-smoke clean

all: build

deps:
	@scripts/install-deps.sh

configure: deps
	@test -f $(BUILD)/CMakeCache.txt || cmake -S . -B $(BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/src/varga-map-maker

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The Debian package (build/varga-map-maker_VERSION_ARCH.deb), dependencies from dpkg-shlibdeps.
package: build
	cmake --build $(BUILD) --target package

test-sanitize: deps
	@test -f $(SAN_BUILD)/CMakeCache.txt || cmake -S . -B $(SAN_BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=Debug -DVMM_SANITIZE=ON
	cmake --build $(SAN_BUILD) -j $(JOBS)
	cd $(SAN_BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# Release build of the benchmarks alone (one compiler run per batch of sources, so a
# fresh build takes about a minute), run, and every budget printed beside its figure.
bench: deps
	@test -f $(BENCH_BUILD)/CMakeCache.txt || cmake -S . -B $(BENCH_BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=Release -DVMM_BUILD_BENCH=ON -DVMM_BUILD_TESTS=OFF \
	  -DCMAKE_UNITY_BUILD=ON
	cmake --build $(BENCH_BUILD) -j $(JOBS) --target vmm_bench
	python3 scripts/bench_report.py $(BENCH_BUILD)/bench/vmm_bench

# CI's check of the benchmarks: the same build, every benchmark run for a moment only
# (budgets are judged by `make bench`, not here), so a build break there cannot land.
bench-smoke: deps
	@test -f $(BENCH_BUILD)/CMakeCache.txt || cmake -S . -B $(BENCH_BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=Release -DVMM_BUILD_BENCH=ON -DVMM_BUILD_TESTS=OFF \
	  -DCMAKE_UNITY_BUILD=ON
	cmake --build $(BENCH_BUILD) -j $(JOBS) --target vmm_bench
	VMM_BENCH_SHORT=1 $(BENCH_BUILD)/bench/vmm_bench --benchmark_format=console

# Runs the map text and then the map project fuzz target for FUZZ_SECONDS each on their
# seed corpora (clang and its libFuzzer runtime are installed when missing). New inputs go
# to $(FUZZ_BUILD)/corpus and corpus-project, crash inputs to $(FUZZ_BUILD)/artifacts and
# artifacts-project: copy those into fuzz/regressions/ and fuzz/regressions-project/.
# A project input may allocate no more than 512 MB at once (-malloc_limit_mb).
fuzz: deps
	@scripts/install-fuzz-deps.sh
	@test -f $(FUZZ_BUILD)/CMakeCache.txt || cmake -S . -B $(FUZZ_BUILD) $(GENERATOR) \
	  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DVMM_FUZZ=ON -DVMM_BUILD_TESTS=OFF
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzz_map_text fuzz_project
	mkdir -p $(FUZZ_BUILD)/corpus $(FUZZ_BUILD)/artifacts $(FUZZ_BUILD)/corpus-project $(FUZZ_BUILD)/artifacts-project
	$(FUZZ_BUILD)/fuzz/fuzz_map_text -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
	  -artifact_prefix=$(FUZZ_BUILD)/artifacts/ $(FUZZ_BUILD)/corpus fuzz/corpus fuzz/regressions
	$(FUZZ_BUILD)/fuzz/fuzz_project -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
	  -malloc_limit_mb=512 -artifact_prefix=$(FUZZ_BUILD)/artifacts-project/ \
	  $(FUZZ_BUILD)/corpus-project fuzz/corpus-project fuzz/regressions-project

clean:
	rm -rf $(BUILD) $(SAN_BUILD) $(BENCH_BUILD) $(FUZZ_BUILD)
