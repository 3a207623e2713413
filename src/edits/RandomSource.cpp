// SPDX-License-Identifier: GPL-3.0-or-later
#include "edits/RandomSource.h"

namespace vmm {

MersenneRandomSource::MersenneRandomSource() : engine_(std::random_device{}()) {}

MersenneRandomSource::MersenneRandomSource(quint32 seed) : engine_(seed) {}

float MersenneRandomSource::next() {
  // The top 24 bits of one output fill a float's mantissa exactly, so the
  // result is uniform and can never round up to 1 (std::generate_canonical can).
  constexpr float kScale = 1.0f / 16777216.0f;  // 2^-24
  return static_cast<float>(engine_() >> 8) * kScale;
}

}  // namespace vmm
