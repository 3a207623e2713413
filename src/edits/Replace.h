// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/MapDocument.h"

#include <span>

namespace vmm {

// Writes `to` into every Sector of the plane that holds `from`, over the whole array
// (Quads 0..5000, as the fill and clear commands reach), through MapDocument::setValue.
// Returns how many Sectors changed; nothing changes when the two values are equal.
int replaceValue(MapDocument &document, Plane plane, qint16 from, qint16 to);
// The same, on the Sectors of `within` only.
int replaceValue(MapDocument &document, Plane plane, qint16 from, qint16 to,
                 std::span<const SectorAddress> within);

}  // namespace vmm
