// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QSize>

#include <vector>

namespace vmm {

// Reduces a picture given row by row, top to bottom, to a smaller size: each pixel of
// the result is the average of the picture area it covers, parts of pixels weighted by
// how much of them it covers. Only two result rows are kept while the rows come, so a
// picture never has to exist whole.
class AreaReducer {
 public:
  // `to` no larger than `from` in either direction, and not empty.
  AreaReducer(QSize from, QSize to);

  // The next row of the picture: from.width() pixels of Format_RGB32.
  void addRow(const quint32 *row);
  // The reduced picture, once every row was given.
  QImage result() const { return result_; }

 private:
  // Where one picture pixel goes along an axis: its first result pixel and the part of
  // it that lies there, the rest going to the next one.
  struct Share {
    int first = 0;
    int weight = 0;  // in the units of AreaReducer.cpp
  };
  static std::vector<Share> shares(int from, int to);
  void finishRow(int row);

  QSize from_;
  QSize to_;
  std::vector<Share> columns_;
  std::vector<Share> rows_;
  std::vector<quint64> rowSums_;  // the picture row being added, reduced across
  std::vector<quint64> sums_[2];  // result rows `current_` and `current_ + 1`
  int current_ = 0;
  int nextRow_ = 0;
  QImage result_;
};

}  // namespace vmm
