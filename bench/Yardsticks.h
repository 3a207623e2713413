#pragma once

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

namespace vmm::bench {

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
