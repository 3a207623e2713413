// SPDX-License-Identifier: GPL-3.0-or-later
#include "mapview/ReducedCopy.h"

#include <QThread>

#include <algorithm>
#include <cmath>
#include <thread>

namespace vmm {

namespace {
constexpr int kWeightOne = 256;  // weights along one axis add up to this
// Below this many copy pixels a second thread costs more than it saves.
constexpr qint64 kPixelsPerBand = 256 * 256;
constexpr int kMinBandRows = 32;
}  // namespace

ReducedCopy::Axis ReducedCopy::buildAxis(int length, double scale) {
  Axis axis;
  const int count = std::max(1, int(std::ceil(length * scale - 1e-9)));
  axis.spans.reserve(std::size_t(count));
  for (int d = 0; d < count; ++d) {
    // The picture interval [low, high) under copy pixel d, cut at the picture's edge.
    const double low = d / scale;
    const double high = std::min<double>((d + 1) / scale, length);
    Span span;
    span.first = std::clamp(int(std::floor(low)), 0, length - 1);
    const int last = std::clamp(int(std::ceil(high)) - 1, span.first, length - 1);
    span.count = last - span.first + 1;
    span.weightsAt = int(axis.weights.size());
    // Rounding the running total keeps every weight whole and their sum exact.
    const double width = std::max(high - low, 1e-12);
    double covered = 0;
    int given = 0;
    for (int i = span.first; i <= last; ++i) {
      covered += std::max(0.0, std::min<double>(i + 1, high) - std::max<double>(i, low));
      const int upTo =
          i == last ? kWeightOne : int(std::lround(std::min(1.0, covered / width) * kWeightOne));
      axis.weights.push_back(quint16(std::clamp(upTo - given, 0, kWeightOne)));
      given = std::max(given, upTo);
    }
    axis.spans.push_back(span);
  }
  return axis;
}

void ReducedCopy::reset(const QImage *source, double scale, double devicePixelRatio) {
  source_ = source;
  scale_ = scale;
  devicePixelRatio_ = devicePixelRatio;
  built_ = false;
  copy_ = QImage();
  columns_ = {};
  rows_ = {};
  sourceSize_ = {};
  if (!source_ || source_->isNull() || scale <= 0 || scale >= 1) return;
  sourceSize_ = source_->size();
  columns_ = buildAxis(source_->width(), scale);
  rows_ = buildAxis(source_->height(), scale);
}

void ReducedCopy::followSourceSize() {
  if (source_ && source_->size() != sourceSize_) reset(source_, scale_, devicePixelRatio_);
}

void ReducedCopy::release() {
  built_ = false;
  copy_ = QImage();
}

QRect ReducedCopy::copyArea(const QRect &area) const {
  const QRect picture = source_ ? source_->rect() : QRect();
  const QRect clipped = area & picture;
  if (clipped.isEmpty() || columns_.spans.empty()) return {};
  const int left = int(std::floor(clipped.left() * scale_));
  const int top = int(std::floor(clipped.top() * scale_));
  const int right = int(std::ceil((clipped.right() + 1) * scale_)) - 1;
  const int bottom = int(std::ceil((clipped.bottom() + 1) * scale_)) - 1;
  return QRect(QPoint(left, top), QPoint(right, bottom)) & QRect(QPoint(0, 0), size());
}

QRect ReducedCopy::update(const QRect &area) {
  followSourceSize();
  const QRect changed = copyArea(area);
  if (built_ && !changed.isEmpty()) reduceArea(changed);
  return changed;
}

const QImage &ReducedCopy::image() {
  followSourceSize();
  if (!built_ && source_ && !source_->isNull() && !columns_.spans.empty()) {
    copy_ = QImage(size(), QImage::Format_RGB32);
    copy_.setDevicePixelRatio(devicePixelRatio_);
    reduceArea(copy_.rect());
    built_ = true;
  }
  return copy_;
}

void ReducedCopy::sumColumns(int sourceRow, int left, int width, quint32 *sums) const {
  const auto *line = reinterpret_cast<const quint32 *>(source_->constScanLine(sourceRow));
  const Span *column = columns_.spans.data() + left;
  const quint16 *weights = columns_.weights.data();
  for (int i = 0; i < width; ++i, ++column, sums += 2) {
    const quint32 *from = line + column->first;
    const quint16 *weight = weights + column->weightsAt;
    // Red and blue side by side in one word (each stays under 2^16), green in another.
    quint32 redBlue = 0;
    quint32 green = 0;
    for (int j = 0; j < column->count; ++j) {
      redBlue += weight[j] * (from[j] & 0x00FF00FFu);
      green += weight[j] * (from[j] & 0x0000FF00u);
    }
    sums[0] = redBlue;
    sums[1] = green;
  }
}

void ReducedCopy::reduceArea(const QRect &area) {
  uchar *bits = copy_.bits();  // detached here, once, before any band writes to it
  const qsizetype stride = copy_.bytesPerLine();
  // A whole copy (a change of zoom level) is shared out in bands of rows, one per
  // core, so it is drawn within a frame; the few pixels under a paint stay here.
  const int cores = std::max(1, QThread::idealThreadCount());
  const int bands = qint64(area.width()) * area.height() >= kPixelsPerBand
                        ? std::min(cores, area.height() / kMinBandRows)
                        : 1;
  if (bands <= 1) {
    reduceBand(area, bits, stride);
    return;
  }
  std::vector<std::thread> helpers;
  const int rowsPerBand = (area.height() + bands - 1) / bands;
  for (int top = area.top() + rowsPerBand; top <= area.bottom(); top += rowsPerBand) {
    const QRect band(area.left(), top, area.width(),
                     std::min(rowsPerBand, area.bottom() - top + 1));
    helpers.emplace_back([this, band, bits, stride] { reduceBand(band, bits, stride); });
  }
  reduceBand(QRect(area.left(), area.top(), area.width(), rowsPerBand), bits, stride);
  for (std::thread &helper : helpers) helper.join();
}

void ReducedCopy::reduceBand(const QRect &band, uchar *bits, qsizetype stride) const {
  const int left = band.left();
  const int width = band.width();
  const std::size_t rowLength = std::size_t(width) * 2;
  // Neighbouring copy rows share the picture row on their border: each picture row is
  // summed across once and kept, in a ring as deep as the tallest span, until no later
  // copy row needs it.
  int depth = 1;
  for (int y = band.top(); y <= band.bottom(); ++y)
    depth = std::max(depth, rows_.spans[std::size_t(y)].count);
  std::vector<quint32> rowSums(rowLength * std::size_t(depth));
  std::vector<int> ringRows(std::size_t(depth), -1);
  std::vector<const quint32 *> taps;
  std::vector<quint32> tapWeights;
  constexpr quint32 kHalf = 1u << 15;
  for (int y = band.top(); y <= band.bottom(); ++y) {
    const Span &row = rows_.spans[std::size_t(y)];
    taps.clear();
    tapWeights.clear();
    for (int k = 0; k < row.count; ++k) {
      const quint32 rowWeight = rows_.weights[std::size_t(row.weightsAt + k)];
      if (rowWeight == 0) continue;
      const int sourceRow = row.first + k;
      const std::size_t slot = std::size_t(sourceRow % depth);
      quint32 *across = rowSums.data() + slot * rowLength;
      if (ringRows[slot] != sourceRow) {
        sumColumns(sourceRow, left, width, across);
        ringRows[slot] = sourceRow;
      }
      taps.push_back(across);
      tapWeights.push_back(rowWeight);
    }
    auto *to = reinterpret_cast<quint32 *>(bits + y * stride) + left;
    const std::size_t tapCount = taps.size();
    for (int i = 0; i < width; ++i) {
      quint32 red = 0, green = 0, blue = 0;
      for (std::size_t k = 0; k < tapCount; ++k) {
        const quint32 *across = taps[k] + 2 * i;
        red += tapWeights[k] * (across[0] >> 16);
        green += tapWeights[k] * (across[1] >> 8);
        blue += tapWeights[k] * (across[0] & 0xFFFFu);
      }
      to[i] = 0xFF000000u | (((red + kHalf) >> 16) << 16) | (((green + kHalf) >> 16) << 8) |
              ((blue + kHalf) >> 16);
    }
  }
}

}  // namespace vmm
