// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

namespace vmm {

// Map geometry: a Quad is 40 x 40 pixels holding 4 x 4 Sectors of 10 x 10 pixels.
inline constexpr int kQuadCapacity = 5001;  // Quads 0..5000
inline constexpr int kSlots = 18;           // 0..15 are Sectors, 16 and 17 carry no data
inline constexpr int kPlanes = 3;           // element, height, unused
inline constexpr int kSectorsPerQuad = 16;
inline constexpr int kQuadPixels = 40;
inline constexpr int kSectorPixels = 10;
inline constexpr qint16 kUnassigned = -1;

// The two planes of the map that carry data. Terrain and Elevation are the same
// machinery applied to a different plane, so most routines take one of these.
enum class Plane : int { Element = 0, Height = 1 };

// One Sector of the map array: a Quad and a Sector 0..15 inside it.
struct SectorAddress {
  int quad = 0;
  int sector = 0;
  bool operator==(const SectorAddress &) const = default;
};

}  // namespace vmm
