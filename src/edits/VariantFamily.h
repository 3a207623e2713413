// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

#include <algorithm>
#include <array>
#include <cstddef>
#include <initializer_list>
#include <span>

namespace vmm {

// A drawn id that is stored as another id.
struct Remap {
  qint16 drawn = 0;
  qint16 stored = 0;
};

// A set of interchangeable element ids (the variants of one tree type, the
// leaf covers, the brush covers). A draw r in [0, 1) gives the id
// floor(r * count + base), which the remappings may then replace.
class VariantFamily {
 public:
  static constexpr std::size_t kMaxMembers = 5;
  static constexpr std::size_t kMaxRemaps = 4;

  constexpr VariantFamily(std::initializer_list<qint16> members, int count, qint16 base,
                          std::initializer_list<Remap> remaps = {})
      : count_(count), base_(base), memberCount_(members.size()), remapCount_(remaps.size()) {
    // at() rejects an oversized table when the constant is compiled.
    std::size_t i = 0;
    for (qint16 id : members) members_.at(i++) = id;
    i = 0;
    for (Remap remap : remaps) remaps_.at(i++) = remap;
  }

  constexpr bool holds(qint16 id) const {
    const auto ids = members();
    return std::find(ids.begin(), ids.end(), id) != ids.end();
  }

  // The id a Sector of this family gets for the draw r (0 <= r < 1).
  qint16 pick(float r) const;

  constexpr std::span<const qint16> members() const { return {members_.data(), memberCount_}; }
  constexpr std::span<const Remap> remaps() const { return {remaps_.data(), remapCount_}; }
  constexpr int count() const { return count_; }
  constexpr qint16 base() const { return base_; }

 private:
  std::array<qint16, kMaxMembers> members_{};
  std::array<Remap, kMaxRemaps> remaps_{};
  int count_ = 1;
  qint16 base_ = 0;
  std::size_t memberCount_ = 0;
  std::size_t remapCount_ = 0;
};

// "Randomise Trees", tried in this order; the first family holding an id wins.
// 146 is drawn by the 142 family only on its way to 126, so a Sector holding
// 146 belongs to the 146..148 family. The 154/155 family picks either member.
inline constexpr std::array<VariantFamily, 14> kTreeFamilies{{
    {{173, 174, 175}, 3, 173},
    {{169, 170, 171, 172, 127}, 5, 169, {{173, 127}}},
    {{142, 143, 144, 145, 126}, 5, 142, {{146, 126}}},
    {{159, 160, 161, 162, 163}, 5, 159},
    {{149, 150, 151, 152, 153}, 5, 149},
    {{156, 157, 158, 9, 124}, 5, 156, {{159, 9}, {160, 124}}},
    {{146, 147, 148}, 3, 146},
    {{167, 168, 183}, 3, 167, {{169, 183}}},
    {{187, 188, 180, 128}, 4, 187, {{189, 180}, {190, 128}}},
    {{185, 186}, 2, 185},
    {{181, 182}, 2, 181},
    {{125, 184}, 2, 125, {{126, 184}}},
    {{154, 155}, 2, 154},
    {{164, 165, 166}, 3, 164},
}};

// "Randomise Leaves".
inline constexpr std::array<VariantFamily, 1> kLeafFamilies{{
    {{10, 11}, 2, 10},
}};

// "Randomise Brush": the draws 8..12 are stored as 8, 8, 190, 190 and 1, so a
// brush Sector ends as 8 or 190 (2 in 5 each) or 1 (1 in 5). Id 1 is no member,
// so a later run leaves it alone.
inline constexpr std::array<VariantFamily, 1> kBrushFamilies{{
    {{8, 190}, 5, 8, {{9, 8}, {10, 190}, {11, 190}, {12, 1}}},
}};

}  // namespace vmm
