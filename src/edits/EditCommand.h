// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/MapDocument.h"
#include "edits/RandomSource.h"

#include <QString>

#include <array>

namespace vmm {

// The seven whole-map commands of the "&Edit Options" and "&Randomise" menus,
// named so that the menus, the command-line tool and an undo stack agree.
enum class EditCommand {
  FillElement,      // "Fill Clear Element with Selected"
  ClearElement,     // "Clear Selected Element Type"
  FillHeight,       // "Fill Clear Height with Selected"
  ClearHeight,      // "Clear Selected Height Type"
  RandomiseTrees,   // "Randomise Trees"
  RandomiseLeaves,  // "Randomise Leaves"
  RandomiseBrush,   // "Randomise Brush"
};

inline constexpr std::array kEditCommands{
    EditCommand::FillElement,    EditCommand::ClearElement,   EditCommand::FillHeight,
    EditCommand::ClearHeight,    EditCommand::RandomiseTrees, EditCommand::RandomiseLeaves,
    EditCommand::RandomiseBrush,
};

// The menu caption, also the name of the step in an undo stack.
QString editCommandCaption(EditCommand command);

// Makes the command's change to MapData: fills and clears use the document's
// CurrentDrawElement or CurrentDrawHeight, the randomise commands draw from
// random. Returns how many Sectors changed.
//
// The caller guards and repaints; this only changes the array. A menu handler
//   1. refuses when mapReady is 0 ("Map Image not currently loaded",
//      title "Map Image unavailable", OK only) and calls nothing here;
//   2. calls applyEditCommand();
//   3. repaints both views, whether or not anything changed:
//      mapReady = false; Elevation surface gets the Image picture back, grid,
//      ColourMapElevation, refresh; Terrain surface gets the Image picture
//      back, grid, ColourMap; mapReady = true.
int applyEditCommand(MapDocument &doc, EditCommand command, RandomSource &random);

}  // namespace vmm
