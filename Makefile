# Set-up and build wrappers. `make run` and `make test` install what is missing first.
BUILD      ?= build
BENCH_BUILD ?= build-bench
SAN_BUILD  ?= build-sanitize
JOBS       ?= $(shell nproc 2>/dev/null || echo 2)
GENERATOR  := $(shell command -v ninja >/dev/null 2>&1 && echo "-G Ninja")

.PHONY: all deps configure build run test test-sanitize bench clean

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

test-sanitize: deps
	@test -f $(SAN_BUILD)/CMakeCache.txt || cmake -S . -B $(SAN_BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=Debug -DVMM_SANITIZE=ON
	cmake --build $(SAN_BUILD) -j $(JOBS)
	cd $(SAN_BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# Release build of the benchmarks alone, run, and every budget printed beside its figure.
bench: deps
	@test -f $(BENCH_BUILD)/CMakeCache.txt || cmake -S . -B $(BENCH_BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=Release -DVMM_BUILD_BENCH=ON -DVMM_BUILD_TESTS=OFF
	cmake --build $(BENCH_BUILD) -j $(JOBS) --target vmm_bench
	python3 scripts/bench_report.py $(BENCH_BUILD)/bench/vmm_bench

clean:
	rm -rf $(BUILD) $(SAN_BUILD) $(BENCH_BUILD)
