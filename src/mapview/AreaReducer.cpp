// SPDX-License-Identifier: GPL-3.0-or-later
#include "mapview/AreaReducer.h"

#include <algorithm>

namespace vmm {

// Along an axis of `from` picture pixels reduced to `to`, a picture pixel is `to` units
// long and a result pixel `from` units: picture pixel p covers [p * to, (p + 1) * to),
// result pixel r covers [r * from, (r + 1) * from). A result pixel's shares add up to
// `from` units, so a result pixel's sum over both axes is divided by from.w * from.h.
std::vector<AreaReducer::Share> AreaReducer::shares(int from, int to) {
  std::vector<Share> list(std::size_t(std::max(from, 0)));
  for (int p = 0; p < from; ++p) {
    const qint64 start = qint64(p) * to;
    const int first = int(start / from);
    const qint64 firstEnd = qint64(first + 1) * from;
    list[std::size_t(p)] = {first, int(std::min<qint64>(firstEnd, start + to) - start)};
  }
  return list;
}

AreaReducer::AreaReducer(QSize from, QSize to)
    : from_(from),
      to_(to),
      columns_(shares(from.width(), to.width())),
      rows_(shares(from.height(), to.height())),
      rowSums_(std::size_t(to.width()) * 3),
      result_(to, QImage::Format_RGB32) {
  for (auto &sums : sums_) sums.assign(std::size_t(to.width()) * 3, 0);
}

void AreaReducer::addRow(const quint32 *row) {
  if (nextRow_ >= from_.height() || to_.isEmpty()) return;
  const int across = to_.width();
  const quint64 whole = quint64(across);  // a picture pixel lying wholly in one result pixel
  std::fill(rowSums_.begin(), rowSums_.end(), 0);
  // Most picture pixels lie wholly inside one result pixel: those are added up plainly and
  // weighted once per result pixel.
  // Red and blue are added side by side in the two halves of one number.
  quint64 redBlue = 0, green = 0;
  int target = 0;
  auto flush = [&] {
    quint64 *at = &rowSums_[std::size_t(target) * 3];
    at[0] += (redBlue >> 32) * whole;
    at[1] += (green >> 8) * whole;
    at[2] += (redBlue & 0xffffffffu) * whole;
    redBlue = green = 0;
  };
  for (int x = 0; x < from_.width(); ++x) {
    const Share share = columns_[std::size_t(x)];
    const quint32 pixel = row[x];
    if (share.first != target) {
      flush();
      target = share.first;
    }
    if (quint64(share.weight) == whole) {
      redBlue += (quint64(pixel & 0xff0000) << 16) | (pixel & 0xff);
      green += pixel & 0xff00;
      continue;
    }
    const quint64 r = (pixel >> 16) & 0xff, g = (pixel >> 8) & 0xff, b = pixel & 0xff;
    quint64 *at = &rowSums_[std::size_t(share.first) * 3];
    at[0] += r * quint64(share.weight);
    at[1] += g * quint64(share.weight);
    at[2] += b * quint64(share.weight);
    const quint64 rest = whole - quint64(share.weight);
    if (share.first + 1 < across) {
      at[3] += r * rest;
      at[4] += g * rest;
      at[5] += b * rest;
    }
  }
  flush();
  const Share share = rows_[std::size_t(nextRow_)];
  while (share.first > current_) finishRow(current_);
  const int rest = to_.height() - share.weight;
  for (std::size_t i = 0; i < rowSums_.size(); ++i) {
    sums_[0][i] += rowSums_[i] * quint64(share.weight);
    if (rest > 0) sums_[1][i] += rowSums_[i] * quint64(rest);
  }
  if (++nextRow_ == from_.height())
    while (current_ < to_.height()) finishRow(current_);
}

void AreaReducer::finishRow(int row) {
  const quint64 area = quint64(from_.width()) * quint64(from_.height());
  auto *to = reinterpret_cast<quint32 *>(result_.scanLine(row));
  const std::vector<quint64> &sums = sums_[0];
  for (int x = 0; x < to_.width(); ++x) {
    const quint64 *at = &sums[std::size_t(x) * 3];
    to[x] = qRgb(int((at[0] + area / 2) / area), int((at[1] + area / 2) / area),
                 int((at[2] + area / 2) / area));
  }
  std::swap(sums_[0], sums_[1]);
  std::fill(sums_[1].begin(), sums_[1].end(), 0);
  ++current_;
}

}  // namespace vmm
