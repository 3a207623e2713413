// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The editor's modes as every floor names them: the map files keep them in a project,
// the views and the painter act on them.

namespace vmm {

// The three views of a map, in the names the map view window gives them.
enum class MapView { Terrain, Image, Elevation };

// The edit modes, in the order of their tool strip buttons: the four painting
// modes, the bucket fill, then selecting.
enum class EditMode : int {
  DrawSector = 0,
  DrawQuad = 1,
  EraseSector = 2,
  EraseQuad = 3,
  FillArea = 4,
  SelectArea = 5
};
inline constexpr int kEditModeCount = 6;

inline bool erasesSectors(EditMode mode) {
  return mode == EditMode::EraseSector || mode == EditMode::EraseQuad;
}
inline bool worksOnQuads(EditMode mode) {
  return mode == EditMode::DrawQuad || mode == EditMode::EraseQuad;
}

// How painted Sectors look: filled, tinted over the picture or outlined. None
// records values without drawing them.
enum class DrawStyle : int { None = -1, Solid = 0, Transparent = 1, Hollow = 2 };

}  // namespace vmm
