// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QRect>

#include <vector>

namespace vmm {

// A smaller copy of a picture in which every pixel is the average of the picture
// area it covers (parts of pixels weighted by how much of them it covers), so a
// one-pixel grid shows as an even tint instead of shimmering. It follows changes
// area by area: a painted Sector recomputes the few copy pixels over it, never
// the whole copy.
class ReducedCopy {
 public:
  // The copy of `source` at `scale` (0 < scale < 1), built at the next image();
  // the source must outlive the copy or be replaced first. The copy image carries
  // `devicePixelRatio`, so a painter draws it one copy pixel per device pixel.
  void reset(const QImage *source, double scale, double devicePixelRatio = 1.0);
  // Forgets the copy's pixels (they are built again when next asked for).
  void release();
  bool isBuilt() const { return built_; }

  double scale() const { return scale_; }
  // The copy's size: the picture's times the scale, a part pixel counting whole.
  QSize size() const { return QSize(int(columns_.spans.size()), int(rows_.spans.size())); }

  // The picture's `area` changed: recomputes the copy pixels over it when the
  // copy is built. Returns the copy area concerned (in copy pixels).
  QRect update(const QRect &area);
  // The copy, built first when it is not.
  const QImage &image();

  // The copy area over picture area `area`.
  QRect copyArea(const QRect &area) const;

 private:
  // The picture pixels one copy pixel covers along one axis, with weights in
  // 1/256 that add up to exactly 256.
  struct Span {
    int first = 0;
    int count = 0;
    int weightsAt = 0;  // index of the first weight in the axis' weight list
  };
  struct Axis {
    std::vector<Span> spans;
    std::vector<quint16> weights;
  };
  static Axis buildAxis(int length, double scale);
  void reduceArea(const QRect &copyArea);
  // The copy rows of `band` written into the copy's pixels at `bits`; safe to run for
  // several bands at once.
  void reduceBand(const QRect &band, uchar *bits, qsizetype stride) const;
  // The weighted sums across copy columns left..left+width-1 of one picture row: per
  // column, red and blue packed in one word and green in the next.
  void sumColumns(int sourceRow, int left, int width, quint32 *sums) const;
  // A source replaced by a picture of another size: the spans are worked out again.
  void followSourceSize();

  const QImage *source_ = nullptr;
  double scale_ = 1.0;
  double devicePixelRatio_ = 1.0;
  QSize sourceSize_;  // the size the spans were worked out for
  Axis columns_;
  Axis rows_;
  QImage copy_;
  bool built_ = false;
};

}  // namespace vmm
