// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/MapGeometry.h"

#include <QObject>
#include <QString>

#include <array>
#include <functional>
#include <memory>
#include <vector>

namespace vmm {

// One Sector write as seen by a ChangeObserver.
struct SectorChange {
  int quad = 0;
  int sector = 0;
  Plane plane = Plane::Element;
  qint16 oldValue = kUnassigned;
  qint16 newValue = kUnassigned;
};

// Told about every value that actually changes (undo, unsaved-changes tracking, recovery,
// the legend's counts).
class ChangeObserver {
 public:
  virtual ~ChangeObserver() = default;
  virtual void sectorChanged(const SectorChange &change) = 0;
};

// The one map being edited: the MapData array plus the editor's current state.
// Every change to MapData goes through setValue(), the single point of change.
class MapDocument : public QObject {
  Q_OBJECT

 public:
  explicit MapDocument(QObject *parent = nullptr);
  ~MapDocument() override;

  // Raw read of MapData(quad, slot, plane); out-of-range indices read 0.
  qint16 mapData(int quad, int slot, int plane) const;
  // Element or height of a Sector; out-of-range Quads or Sectors read -1.
  qint16 value(int quad, int sector, Plane plane) const;
  // The values of `plane` for Quads 0 to quads - 1, Sector by Sector; Quads beyond the
  // array read -1.
  std::vector<qint16> planeValues(Plane plane, int quads) const;
  // Stores a Sector's value. Quads outside 0..5000 and Sectors outside 0..15
  // are ignored (returns false), so no caller can write outside the array.
  bool setValue(int quad, int sector, Plane plane, qint16 value);
  // Sets the element and height planes of every Quad back to -1.
  void clearPlanes();
  // Shrinks the array at shutdown.
  void release();

  static bool isValidQuad(int quad) { return quad >= 0 && quad < kQuadCapacity; }
  static bool isValidSector(int sector) { return sector >= 0 && sector < kSectorsPerQuad; }

  // Top-left pixel of a Sector cell for the current XQuads.
  struct Origin {
    int x = 0;
    int y = 0;
  };
  Origin sectorOrigin(int quad, int sector) const;

  // Observers are told of each change in the order they were added; adding one twice
  // or removing one that was never added does nothing.
  void addChangeObserver(ChangeObserver *observer);
  void removeChangeObserver(ChangeObserver *observer);
  bool hasChangeObserver(const ChangeObserver *observer) const;

  // The map's size and the editor's current state, shared by every window.
  qint16 XQuads = 0;
  qint16 YQuads = 0;
  qint16 TotalQuads = 0;
  QString DatabaseLocation;
  qint16 CurrentQuad = 0;
  qint16 CurrentSect = 0;
  qint16 CurrentDrawElement = 0;
  qint16 CurrentDrawHeight = 0;
  // True while a map view window shows this document.
  bool mapViewOpen = false;
  // True while a mouse paint is under way (a hollow cell is then erased before it is outlined).
  bool mousePainting = false;
  // True once a picture is imported; false while the whole map is being repainted, when
  // the colouring routines only draw what the array already holds.
  bool mapReady = false;

 signals:
  // Emitted after clearPlanes() or any bulk change the views should repaint wholesale.
  void planesReset();

 private:
  static std::size_t index(int quad, int slot, int plane) {
    return (static_cast<std::size_t>(quad) * kSlots + static_cast<std::size_t>(slot)) * kPlanes +
           static_cast<std::size_t>(plane);
  }

  std::vector<qint16> data_;
  int capacity_ = kQuadCapacity;
  // A paint tells every observer, so this stays a plain short array walk.
  std::vector<ChangeObserver *> observers_;
};

// For its lifetime, paints count as made by hand (MapDocument::mousePainting: a hollow cell
// is cleared before it is outlined); the flag is put back as it was afterwards.
class HandPaintScope {
 public:
  explicit HandPaintScope(MapDocument &document)
      : document_(document), was_(document.mousePainting) {
    document_.mousePainting = true;
  }
  ~HandPaintScope() { document_.mousePainting = was_; }
  HandPaintScope(const HandPaintScope &) = delete;
  HandPaintScope &operator=(const HandPaintScope &) = delete;

 private:
  MapDocument &document_;
  bool was_;
};

// Inline: imports, exports and every paint read and write through these once per Sector.
inline qint16 MapDocument::value(int quad, int sector, Plane plane) const {
  if (quad < 0 || quad >= capacity_ || !isValidSector(sector)) return kUnassigned;
  return data_[index(quad, sector, static_cast<int>(plane))];
}

inline bool MapDocument::setValue(int quad, int sector, Plane plane, qint16 newValue) {
  if (quad < 0 || quad >= capacity_ || !isValidSector(sector)) return false;
  qint16 &cell = data_[index(quad, sector, static_cast<int>(plane))];
  if (cell == newValue) return true;
  const SectorChange change{quad, sector, plane, cell, newValue};
  cell = newValue;
  // By index: an observer may start another listening (a first count) while told.
  for (std::size_t i = 0; i < observers_.size(); ++i) observers_[i]->sectorChanged(change);
  return true;
}

}  // namespace vmm
