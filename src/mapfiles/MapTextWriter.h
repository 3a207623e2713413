// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "files/FileWriteResult.h"

#include <QByteArray>
#include <QString>

namespace vmm {

class MapDocument;

// The two game editions' map text files. They share the header and the closing "#";
// a Varga row carries 16 heights per Quad, a Tolle row one averaged elevation.
enum class MapEdition { Varga, Tolle };

// The complete file text of Quads 0 to TotalQuads - 1, CR LF after every line.
QByteArray mapText(const MapDocument &doc, MapEdition edition);
inline QByteArray vargaMapText(const MapDocument &doc) {
  return mapText(doc, MapEdition::Varga);
}
inline QByteArray tolleMapText(const MapDocument &doc) {
  return mapText(doc, MapEdition::Tolle);
}

// The Tolle elevation of a Quad: the sum of its 16 heights, unassigned -1 included,
// divided by 16 truncating toward zero. The game expects exactly this value.
qint16 tolleElevation(const MapDocument &doc, int quad);

// Write the map text to `path` (used unchanged, no extension added), replacing
// any earlier file atomically. A failure leaves the earlier file as it was.
FileWriteResult SaveAsVargaTXT(const MapDocument &doc, const QString &path);
FileWriteResult SaveAsTolleTXT(const MapDocument &doc, const QString &path);

}  // namespace vmm
