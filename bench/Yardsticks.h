// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace vmm::bench {

// Each benchmark's minimum running time. With VMM_BENCH_SHORT set every benchmark runs
// for a moment only: CI checks that they build and run, `make bench` judges the budgets.
inline double minTime(double seconds) {
  static const bool shortRun = std::getenv("VMM_BENCH_SHORT") != nullptr;
  return shortRun ? 1e-6 : seconds;
}

// The yardstick of the repaint budgets: one memcpy of `bytes`, both buffers faulted in.
inline void copyBytes(benchmark::State &state, std::size_t bytes) {
  std::vector<unsigned char> from(bytes, 1), to(bytes, 2);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), bytes);
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(qint64(state.iterations()) * qint64(bytes));
}

}  // namespace vmm::bench
