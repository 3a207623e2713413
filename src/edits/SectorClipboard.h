// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "edits/SectorBlock.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

namespace vmm {

// The clipboard's forms of a block of Sectors: our own MIME type, which another editor
// reads back whole, and tab-separated element numbers for a spreadsheet.
inline constexpr char kSectorsMimeType[] = "application/x-varga-map-sectors";
// Data on the clipboard comes from outside: a block of more Sectors than the map array
// holds (one largest map) is refused before anything is allocated for it.
inline constexpr int kMaxBlockSectors = kQuadCapacity * kSectorsPerQuad;

// "VMS1", width and height (32-bit, big-endian), then per cell row by row its element
// and its height (16-bit, big-endian, -1 for none).
QByteArray encodeSectors(const SectorBlock &block);
// One line per row, element numbers separated by tabs, an empty field for none.
QString sectorsAsText(const SectorBlock &block);

struct DecodedSectors {
  std::optional<SectorBlock> block;
  QString error;  // why the data was refused, for a message
};
// Checks the data whole before building the block: its header, a size within the bound,
// its length, elements from -1 up and heights -1 to 100. The shape is the cells that
// carry a value (every cell when none does).
DecodedSectors decodeSectors(const QByteArray &data);

// The element numbers of the block that `known` does not know, ascending, each once.
std::vector<qint16> missingElements(const SectorBlock &block,
                                    const std::function<bool(qint16)> &known);

}  // namespace vmm
