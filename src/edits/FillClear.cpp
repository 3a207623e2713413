// SPDX-License-Identifier: GPL-3.0-or-later
#include "edits/FillClear.h"

#include "edits/Replace.h"

namespace vmm {

// Fill and clear are replacements with -1 on one side.
int fillUnassigned(MapDocument &doc, Plane plane, qint16 value) {
  return replaceValue(doc, plane, kUnassigned, value);
}

int clearValue(MapDocument &doc, Plane plane, qint16 value) {
  return replaceValue(doc, plane, value, kUnassigned);
}

}  // namespace vmm
