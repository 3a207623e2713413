// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/mapview/EditCursors.h"

#include "document/MapGeometry.h"
#include "files/InputFile.h"
#include "mapview/EditDispatch.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QPainter>
#include <QPixmap>

#include <algorithm>
#include <cmath>
#include <optional>

namespace vmm {

namespace {

constexpr int kHotSpot = 15;         // the crosshair's centre in every cursor file
constexpr int kLargestCursor = 256;  // pixels a side

QString builtInPath(int mode) {
  return QStringLiteral(":/cursors/") +
         QString::fromLatin1(EditCursors::kFileNames[static_cast<std::size_t>(mode)]);
}

std::optional<QCursor> readCursor(const QString &path) {
  QImageReader reader(path);
  // A file in the data folder is outside input: only a regular file is opened.
  InputFile input;
  if (!path.startsWith(u':')) {
    if (!input.open(path)) return std::nullopt;
    reader.setDevice(&input.file());
  }
  const QImage image = reader.read();
  if (image.isNull()) return std::nullopt;
  return QCursor(QPixmap::fromImage(image), kHotSpot, kHotSpot);
}

// The crosshair of the cursor files around (centre, centre), with a gap in the middle:
// one-pixel black lines with a white pixel on each side, so it shows on any picture.
void drawCrosshair(QPainter &painter, int centre, int arm, int gap) {
  const QLine arms[] = {{centre - arm, centre, centre - gap, centre},
                        {centre + gap, centre, centre + arm, centre},
                        {centre, centre - arm, centre, centre - gap},
                        {centre, centre + gap, centre, centre + arm}};
  // All the white first, so that it never covers the black where the arms meet.
  painter.setPen(Qt::white);
  for (const QLine &line : arms) {
    const QPoint side = line.dy() == 0 ? QPoint(0, 1) : QPoint(1, 0);
    painter.drawLine(line.translated(-side));
    painter.drawLine(line.translated(side));
  }
  painter.setPen(Qt::black);
  for (const QLine &line : arms) painter.drawLine(line);
}

// Fill Area: the crosshair of the other modes and a green pool spreading from it.
QCursor fillAreaCursor() {
  QPixmap pixmap(32, 32);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  drawCrosshair(painter, kHotSpot, kHotSpot, 3);
  const QPolygon pool({{19, 25}, {22, 20}, {27, 19}, {30, 23}, {29, 29}, {23, 30}});
  painter.setPen(Qt::black);
  painter.setBrush(QColor(20, 120, 40));
  painter.drawPolygon(pool);
  painter.end();
  return QCursor(pixmap, kHotSpot, kHotSpot);
}

}  // namespace

EditCursors::EditCursors(const QString &dataFolder) {
  // Distinct shapes for the unlikely case that even the built-in files fail.
  const std::array<Qt::CursorShape, 4> lastResort = {Qt::CrossCursor, Qt::SizeAllCursor,
                                                     Qt::PointingHandCursor, Qt::ForbiddenCursor};
  for (int mode = 0; mode < int(kFileNames.size()); ++mode) {
    const auto i = static_cast<std::size_t>(mode);
    const QString path = QDir(dataFolder).filePath(QString::fromLatin1(kFileNames[i]));
    if (auto fromFile = readCursor(path)) {
      cursors_[i] = *fromFile;
      fromFolder_[i] = true;
    } else if (auto builtIn = readCursor(builtInPath(mode))) {
      cursors_[i] = *builtIn;
    } else {
      cursors_[i] = QCursor(lastResort[i]);
    }
  }
  cursors_[static_cast<std::size_t>(EditMode::FillArea)] = fillAreaCursor();
  cursors_[static_cast<std::size_t>(EditMode::SelectArea)] = QCursor(Qt::CrossCursor);
}

const QCursor &EditCursors::cursor(int mode) const {
  return cursors_.at(static_cast<std::size_t>(std::clamp(mode, 0, kModeCount - 1)));
}

QCursor EditCursors::cursor(int mode, int brushSize, double zoomLevel) const {
  const auto editMode = static_cast<EditMode>(mode);
  if (brushSize <= 1 || (editMode != EditMode::DrawSector && editMode != EditMode::EraseSector))
    return cursor(mode);
  // The brush's square as the view shows it at `zoomLevel`, a white frame around it, and a
  // small cross on the centre of the pointer's Sector, (size - 1) / 2 cells in.
  const double cell = kSectorPixels * zoomLevel;
  const int side = std::max(3, int(std::lround(brushSize * cell))) + 1;
  // Cursors beyond this size are cut or refused by window systems: the outline then gives
  // way to the mode's own cursor.
  if (side + 2 > kLargestCursor) return cursor(mode);
  QPixmap pixmap(side + 2, side + 2);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setPen(Qt::white);
  painter.drawRect(0, 0, side + 1, side + 1);
  if (side > 4) painter.drawRect(2, 2, side - 3, side - 3);
  // Black to paint, the erase cursors' red to erase.
  painter.setPen(editMode == EditMode::DrawSector ? Qt::black : QColor(200, 0, 0));
  painter.drawRect(1, 1, side - 1, side - 1);
  const int hotSpot = 1 + int(std::lround(((brushSize - 1) / 2 + 0.5) * cell));
  if (cell >= kSectorPixels) drawCrosshair(painter, hotSpot, 3, 0);
  painter.end();
  return QCursor(pixmap, hotSpot, hotSpot);
}

bool EditCursors::fromDataFolder(int mode) const {
  return fromFolder_.at(static_cast<std::size_t>(mode));
}

void EditCursors::installDefaults(const QString &dataFolder) {
  QDir folder(dataFolder);
  if (!folder.exists() && !QDir().mkpath(dataFolder)) return;
  for (int mode = 0; mode < int(kFileNames.size()); ++mode) {
    const QString target =
        folder.filePath(QString::fromLatin1(kFileNames[static_cast<std::size_t>(mode)]));
    if (QFile::exists(target)) continue;
    if (QFile::copy(builtInPath(mode), target))
      QFile::setPermissions(
          target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
  }
}

}  // namespace vmm
