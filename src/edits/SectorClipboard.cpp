// SPDX-License-Identifier: GPL-3.0-or-later
#include "edits/SectorClipboard.h"

#include "catalogue/CatalogueTables.h"

#include <QStringList>
#include <QtEndian>

#include <algorithm>
#include <set>

namespace vmm {

namespace {

constexpr char kMagic[] = "VMS1";
constexpr qsizetype kHeaderBytes = 12;
constexpr qsizetype kCellBytes = 4;

}  // namespace

QByteArray encodeSectors(const SectorBlock &block) {
  if (block.isEmpty()) return {};
  // Written in place: a whole map is 79,488 cells, too many for an append each.
  QByteArray out(kHeaderBytes + qsizetype(block.elements.size()) * kCellBytes, Qt::Uninitialized);
  auto *at = reinterpret_cast<uchar *>(out.data());
  std::copy_n(kMagic, 4, at);
  qToBigEndian(quint32(block.width), at + 4);
  qToBigEndian(quint32(block.height), at + 8);
  at += kHeaderBytes;
  for (std::size_t cell = 0; cell < block.elements.size(); ++cell, at += kCellBytes) {
    // Cells outside the shape travel as none on both planes.
    qToBigEndian(block.shape[cell] ? block.elements[cell] : kUnassigned, at);
    qToBigEndian(block.shape[cell] ? block.heights[cell] : kUnassigned, at + 2);
  }
  return out;
}

QString sectorsAsText(const SectorBlock &block) {
  QStringList lines;
  for (int row = 0; row < block.height; ++row) {
    QStringList fields;
    for (int column = 0; column < block.width; ++column) {
      const std::size_t at = block.index(column, row);
      const qint16 element = block.shape[at] ? block.elements[at] : kUnassigned;
      fields << (element == kUnassigned ? QString() : QString::number(element));
    }
    lines << fields.join(QLatin1Char('\t'));
  }
  return lines.isEmpty() ? QString() : lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

DecodedSectors decodeSectors(const QByteArray &data) {
  const auto refused = [](const QString &why) { return DecodedSectors{std::nullopt, why}; };
  if (data.size() < kHeaderBytes || !data.startsWith(kMagic))
    return refused(QStringLiteral("The clipboard does not hold Sectors of a map."));
  const auto *bytes = reinterpret_cast<const uchar *>(data.constData());
  const qint64 width = qFromBigEndian<quint32>(bytes + 4);
  const qint64 height = qFromBigEndian<quint32>(bytes + 8);
  if (width < 1 || height < 1 || width * height > kMaxBlockSectors)
    return refused(QStringLiteral("The Sectors on the clipboard are more than one map holds."));
  if (data.size() != kHeaderBytes + width * height * kCellBytes)
    return refused(QStringLiteral("The Sectors on the clipboard are incomplete."));
  SectorBlock block = SectorBlock::blank(int(width), int(height));
  bool anyValue = false;
  for (std::size_t at = 0; at < block.elements.size(); ++at) {
    const uchar *cell = bytes + kHeaderBytes + qsizetype(at) * kCellBytes;
    const qint16 element = qFromBigEndian<qint16>(cell);
    const qint16 heightValue = qFromBigEndian<qint16>(cell + 2);
    if (element < kUnassigned || heightValue < kUnassigned || heightValue >= kMaxHeights)
      return refused(QStringLiteral("The Sectors on the clipboard hold values no map has."));
    block.elements[at] = element;
    block.heights[at] = heightValue;
    block.shape[at] = element != kUnassigned || heightValue != kUnassigned;
    anyValue = anyValue || block.shape[at];
  }
  if (!anyValue) std::fill(block.shape.begin(), block.shape.end(), quint8(1));
  return {std::move(block), {}};
}

std::vector<qint16> missingElements(const SectorBlock &block,
                                    const std::function<bool(qint16)> &known) {
  std::set<qint16> missing;
  for (std::size_t at = 0; at < block.elements.size(); ++at) {
    const qint16 element = block.elements[at];
    if (block.shape[at] && element != kUnassigned && !missing.contains(element) && !known(element))
      missing.insert(element);
  }
  return {missing.begin(), missing.end()};
}

}  // namespace vmm
