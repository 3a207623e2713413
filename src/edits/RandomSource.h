// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

#include <random>

namespace vmm {

// Where the randomise commands get their draws from: a uniform single-precision
// number r with 0 <= r < 1. Tests substitute a fixed or counting source.
class RandomSource {
 public:
  virtual ~RandomSource() = default;
  virtual float next() = 0;
};

// The editor's own source: a Mersenne twister seeded once, either from the
// system's entropy or from a given seed for repeatable runs.
class MersenneRandomSource : public RandomSource {
 public:
  MersenneRandomSource();
  explicit MersenneRandomSource(quint32 seed);

  float next() override;

 private:
  std::mt19937 engine_;
};

}  // namespace vmm
