// SPDX-License-Identifier: GPL-3.0-or-later
#include "edits/EditCommand.h"

#include "edits/FillClear.h"
#include "edits/Randomise.h"

namespace vmm {

QString editCommandCaption(EditCommand command) {
  switch (command) {
    case EditCommand::FillElement:
      return QStringLiteral("Fill Clear Element with Selected");
    case EditCommand::ClearElement:
      return QStringLiteral("Clear Selected Element Type");
    case EditCommand::FillHeight:
      return QStringLiteral("Fill Clear Height with Selected");
    case EditCommand::ClearHeight:
      return QStringLiteral("Clear Selected Height Type");
    case EditCommand::RandomiseTrees:
      return QStringLiteral("Randomise Trees");
    case EditCommand::RandomiseLeaves:
      return QStringLiteral("Randomise Leaves");
    case EditCommand::RandomiseBrush:
      return QStringLiteral("Randomise Brush");
  }
  return {};
}

int applyEditCommand(MapDocument &doc, EditCommand command, RandomSource &random) {
  switch (command) {
    case EditCommand::FillElement:
      return fillUnassigned(doc, Plane::Element, doc.CurrentDrawElement);
    case EditCommand::ClearElement:
      return clearValue(doc, Plane::Element, doc.CurrentDrawElement);
    case EditCommand::FillHeight:
      return fillUnassigned(doc, Plane::Height, doc.CurrentDrawHeight);
    case EditCommand::ClearHeight:
      return clearValue(doc, Plane::Height, doc.CurrentDrawHeight);
    case EditCommand::RandomiseTrees:
      return randomiseTrees(doc, random);
    case EditCommand::RandomiseLeaves:
      return randomiseLeaves(doc, random);
    case EditCommand::RandomiseBrush:
      return randomiseBrush(doc, random);
  }
  return 0;
}

}  // namespace vmm
