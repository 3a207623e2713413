// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/TerrainPicture.h"

#include <QBuffer>

#include <algorithm>
#include <array>
#include <cmath>
#include <random>

namespace vmm::test {
namespace {

// Smooth random values on a lattice `spacing` pixels apart, interpolated between.
class ValueNoise {
 public:
  ValueNoise(std::mt19937 &random, int width, int height, float spacing)
      : spacing_(spacing),
        columns_(int(float(width) / spacing) + 2),
        rows_(int(float(height) / spacing) + 2),
        lattice_(std::size_t(columns_ * rows_)) {
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    for (float &value : lattice_) value = unit(random);
  }
  float at(float x, float y) const {
    const float u = x / spacing_, v = y / spacing_;
    const int column = std::min(int(u), columns_ - 2), row = std::min(int(v), rows_ - 2);
    const float fx = smooth(u - float(column)), fy = smooth(v - float(row));
    const auto lattice = [&](int c, int r) { return lattice_[std::size_t(r * columns_ + c)]; };
    const float top = lattice(column, row) * (1 - fx) + lattice(column + 1, row) * fx;
    const float bottom = lattice(column, row + 1) * (1 - fx) + lattice(column + 1, row + 1) * fx;
    return top * (1 - fy) + bottom * fy;
  }

 private:
  static float smooth(float t) { return t * t * (3 - 2 * t); }
  float spacing_;
  int columns_, rows_;
  std::vector<float> lattice_;
};

struct Look {
  float red, green, blue;
  float grain;   // fine speckle
  float blotch;  // coarse patches (crowns of trees)
  float stripe;  // furrows
};

// Meadow and scrub share a colour: only their texture tells them apart.
constexpr Look kLooks[] = {
    {112, 150, 74, 6, 4, 0},    // meadow
    {46, 82, 40, 10, 38, 0},    // wood
    {196, 170, 98, 6, 4, 22},   // field
    {116, 146, 78, 34, 10, 0},  // scrub
    {150, 134, 112, 5, 0, 0},   // road
    {58, 96, 150, 4, 6, 0},     // river
};

float distanceToCurve(float x, float y, float base, float amplitude, float wavelength,
                      bool across) {
  // The curve runs across the map (y as a function of x) or down it (x of y).
  const float along = across ? x : y, off = across ? y : x;
  return std::abs(off - (base + amplitude * std::sin(along / wavelength)));
}

}  // namespace

TerrainPicture TerrainPicture::generate(int xQuads, int yQuads, unsigned seed, int jpegQuality) {
  TerrainPicture made;
  made.xQuads = xQuads;
  made.yQuads = yQuads;
  const int width = xQuads * 40, height = yQuads * 40;
  std::mt19937 random(seed);
  // Patches of the four land terrains around scattered centres, their borders made
  // ragged by pushing each pixel through a noise field before the nearest centre is found.
  const int patches = std::clamp(width * height / 60000, 6, 40);
  std::uniform_real_distribution<float> px(0, float(width)), py(0, float(height));
  std::vector<std::array<float, 3>> centres;
  for (int i = 0; i < patches; ++i) centres.push_back({px(random), py(random), float(i % 4)});
  const ValueNoise warpX(random, width, height, 60), warpY(random, width, height, 60);
  const ValueNoise raggedX(random, width, height, 9), raggedY(random, width, height, 9);
  const ValueNoise grain(random, width, height, 1.5f);
  const ValueNoise blotch(random, width, height, 5), light(random, width, height, 400);
  std::uniform_real_distribution<float> unit(0, 1);
  const float roadBase = height * (0.25f + 0.5f * unit(random));
  const float riverBase = width * (0.25f + 0.5f * unit(random));
  const float roadWave = 90 + 80 * unit(random), riverWave = 120 + 90 * unit(random);

  std::vector<qint16> terrainAt(std::size_t(width) * std::size_t(height));
  made.picture = QImage(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y) {
    auto *line = reinterpret_cast<QRgb *>(made.picture.scanLine(y));
    for (int x = 0; x < width; ++x) {
      const float fx = float(x), fy = float(y);
      const float wx = fx + 70 * (warpX.at(fx, fy) - 0.5f) + 14 * (raggedX.at(fx, fy) - 0.5f);
      const float wy = fy + 70 * (warpY.at(fx, fy) - 0.5f) + 14 * (raggedY.at(fx, fy) - 0.5f);
      float nearest = 1e30f;
      int terrain = 0;
      for (const auto &centre : centres) {
        const float d = (wx - centre[0]) * (wx - centre[0]) + (wy - centre[1]) * (wy - centre[1]);
        if (d < nearest) nearest = d, terrain = int(centre[2]);
      }
      if (distanceToCurve(fx, fy, roadBase, 60, roadWave, true) < 4) terrain = 4;
      if (distanceToCurve(fx, fy, riverBase, 80, riverWave, false) < 7) terrain = 5;
      terrainAt[std::size_t(y) * std::size_t(width) + std::size_t(x)] = qint16(terrain + Meadow);
      const Look &look = kLooks[terrain];
      const float texture = look.grain * (grain.at(fx, fy) - 0.5f) * 2 +
                            look.blotch * (blotch.at(fx, fy) - 0.5f) * 2 +
                            look.stripe * std::sin(fy * 1.2f);
      const float shade = 0.72f + 0.5f * light.at(fx, fy);
      const auto channel = [&](float base) {
        return std::clamp(int((base + texture) * shade), 0, 255);
      };
      line[x] = qRgb(channel(look.red), channel(look.green), channel(look.blue));
    }
  }
  QByteArray jpeg;
  QBuffer buffer(&jpeg);
  buffer.open(QIODevice::WriteOnly);
  made.picture.save(&buffer, "JPG", jpegQuality);
  made.picture = QImage::fromData(jpeg, "JPG").convertToFormat(QImage::Format_RGB32);

  const int columns = xQuads * 4, rows = yQuads * 4;
  made.truth.resize(std::size_t(columns * rows));
  // A Sector's terrain is the one covering most of its 10 x 10 pixels, as a map maker
  // would paint it.
  for (int row = 0; row < rows; ++row)
    for (int column = 0; column < columns; ++column) {
      std::array<int, TerrainCount + 1> cover{};
      for (int y = row * 10; y < row * 10 + 10; ++y)
        for (int x = column * 10; x < column * 10 + 10; ++x)
          ++cover[std::size_t(terrainAt[std::size_t(y) * std::size_t(width) + std::size_t(x)])];
      made.truth[std::size_t(row * columns + column)] =
          qint16(std::max_element(cover.begin(), cover.end()) - cover.begin());
    }
  return made;
}

std::vector<qint16> TerrainPicture::examples(double share, unsigned seed) const {
  std::vector<qint16> values(truth.size(), -1);
  std::mt19937 random(seed);
  std::bernoulli_distribution chosen(share);
  std::array<std::vector<std::size_t>, TerrainCount + 1> unchosen;
  std::array<int, TerrainCount + 1> chosenCount{};
  for (std::size_t cell = 0; cell < truth.size(); ++cell) {
    if (chosen(random)) {
      values[cell] = truth[cell];
      ++chosenCount[std::size_t(truth[cell])];
    } else {
      unchosen[std::size_t(truth[cell])].push_back(cell);
    }
  }
  // A map maker shows the tool every terrain the map holds; an even draw can miss a thin one
  // (a river is about 1% of the Sectors), which then can never be painted right.
  const int atLeastPerTerrain = share > 0 ? 3 : 0;
  for (std::size_t terrain = 1; terrain <= TerrainCount; ++terrain) {
    std::shuffle(unchosen[terrain].begin(), unchosen[terrain].end(), random);
    for (std::size_t cell : unchosen[terrain]) {
      if (chosenCount[terrain]++ >= atLeastPerTerrain) break;
      values[cell] = truth[cell];
    }
  }
  return values;
}

}  // namespace vmm::test
