// SPDX-License-Identifier: GPL-3.0-or-later
#include "mapview/ReducedCopy.h"

#include <algorithm>
#include <cmath>

namespace vmm {

namespace {
constexpr int kWeightOne = 256;  // weights along one axis add up to this
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

void ReducedCopy::reduceArea(const QRect &area) {
  const int left = area.left();
  const int width = area.width();
  sums_.resize(std::size_t(width) * 3);
  const quint16 *columnWeights = columns_.weights.data();
  for (int y = area.top(); y <= area.bottom(); ++y) {
    std::fill(sums_.begin(), sums_.end(), 0u);
    const Span &row = rows_.spans[std::size_t(y)];
    for (int k = 0; k < row.count; ++k) {
      const quint32 rowWeight = rows_.weights[std::size_t(row.weightsAt + k)];
      if (rowWeight == 0) continue;
      const auto *line = reinterpret_cast<const quint32 *>(source_->constScanLine(row.first + k));
      quint32 *sum = sums_.data();
      for (int x = left; x < left + width; ++x, sum += 3) {
        const Span &column = columns_.spans[std::size_t(x)];
        const quint32 *from = line + column.first;
        const quint16 *weight = columnWeights + column.weightsAt;
        // Red and blue side by side in one word (each stays under 2^16), green in another.
        quint32 redBlue = 0;
        quint32 green = 0;
        for (int j = 0; j < column.count; ++j) {
          redBlue += weight[j] * (from[j] & 0x00FF00FFu);
          green += weight[j] * (from[j] & 0x0000FF00u);
        }
        sum[0] += rowWeight * (redBlue >> 16);
        sum[1] += rowWeight * (green >> 8);
        sum[2] += rowWeight * (redBlue & 0xFFFFu);
      }
    }
    auto *to = reinterpret_cast<quint32 *>(copy_.scanLine(y)) + left;
    const quint32 *sum = sums_.data();
    constexpr quint32 kHalf = 1u << 15;
    for (int i = 0; i < width; ++i, sum += 3)
      to[i] = 0xFF000000u | (((sum[0] + kHalf) >> 16) << 16) | (((sum[1] + kHalf) >> 16) << 8) |
              ((sum[2] + kHalf) >> 16);
  }
}

}  // namespace vmm
