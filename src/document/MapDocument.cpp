// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/MapDocument.h"

#include <algorithm>

namespace vmm {

MapDocument::MapDocument(QObject *parent) : QObject(parent) {
  // Born cleared: the Sector slots hold -1, the two spare slots 0. Written directly, as
  // no observer can be listening yet.
  data_.assign(static_cast<std::size_t>(kQuadCapacity) * kSlots * kPlanes, 0);
  for (int quad = 0; quad < capacity_; ++quad)
    for (int slot = 0; slot < kSectorsPerQuad; ++slot)
      for (const Plane plane : {Plane::Element, Plane::Height})
        data_[index(quad, slot, static_cast<int>(plane))] = kUnassigned;
}

MapDocument::~MapDocument() = default;

qint16 MapDocument::mapData(int quad, int slot, int plane) const {
  if (quad < 0 || quad >= capacity_ || slot < 0 || slot >= kSlots || plane < 0 || plane >= kPlanes)
    return 0;
  return data_[index(quad, slot, plane)];
}

std::vector<qint16> MapDocument::planeValues(Plane plane, int quads) const {
  std::vector<qint16> values(std::size_t(std::max(quads, 0)) * kSectorsPerQuad, kUnassigned);
  const int stored = std::min(quads, capacity_);
  for (int quad = 0; quad < stored; ++quad)
    for (int sector = 0; sector < kSectorsPerQuad; ++sector)
      values[std::size_t(quad) * kSectorsPerQuad + std::size_t(sector)] =
          data_[index(quad, sector, static_cast<int>(plane))];
  return values;
}

void MapDocument::addChangeObserver(ChangeObserver *observer) {
  if (observer && !hasChangeObserver(observer)) observers_.push_back(observer);
}

void MapDocument::removeChangeObserver(ChangeObserver *observer) {
  std::erase(observers_, observer);
}

bool MapDocument::hasChangeObserver(const ChangeObserver *observer) const {
  return std::find(observers_.begin(), observers_.end(), observer) != observers_.end();
}

void MapDocument::clearPlanes() {
  // Through setValue like every other change, so that undo and recovery see it.
  for (int quad = 0; quad < capacity_; ++quad)
    for (int slot = 0; slot < kSectorsPerQuad; ++slot)
      for (const Plane plane : {Plane::Element, Plane::Height})
        if (data_[index(quad, slot, static_cast<int>(plane))] != kUnassigned)
          setValue(quad, slot, plane, kUnassigned);
  emit planesReset();
}

void MapDocument::release() {
  capacity_ = 1;
  data_.resize(static_cast<std::size_t>(kSlots) * kPlanes);
  data_.shrink_to_fit();
}

MapDocument::Origin MapDocument::sectorOrigin(int quad, int sector) const {
  // A Quad below XQuads lies in row 0; the division is skipped there as the
  // original routine does, which also keeps XQuads == 0 from dividing by zero.
  int row = 0;
  int column = quad;
  if (XQuads > 0 && quad >= XQuads) {
    row = quad / XQuads;
    column = quad - row * XQuads;
  }
  Origin origin{kQuadPixels * column, kQuadPixels * row};
  if (sector >= 1 && sector <= 15) {
    origin.x += kSectorPixels * (sector % 4);
    origin.y += kSectorPixels * (sector / 4);
  }
  return origin;
}

}  // namespace vmm
