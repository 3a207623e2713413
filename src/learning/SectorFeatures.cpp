// SPDX-License-Identifier: GPL-3.0-or-later
#include "learning/SectorFeatures.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

namespace vmm {
namespace {

// The per-cell sums of one pass over the picture.
enum Sum {
  kRed,
  kGreen,
  kBlue,
  kGrey,
  kGreySquared,
  kEdge,
  kCentreRed,
  kCentreGreen,
  kCentreBlue,
  kQuarterRed,  // then green, blue and edge, then the same for the other three quarters
  kSums = kQuarterRed + 16
};

// The middle 4 x 4 pixels of a cell, the part a Sector's terrain is judged by.
bool inCentre(int offset) {
  return offset >= 3 && offset <= 6;
}

int greyOf(QRgb pixel) {
  return (qRed(pixel) * 77 + qGreen(pixel) * 150 + qBlue(pixel) * 29) >> 8;
}

// One pass over the pixels, each adding to its cell's sums; the edge strength is the
// grey level's central difference across and down.
std::vector<cv::Mat> cellSums(const QImage &picture, int columns, int rows) {
  std::vector<cv::Mat> sums(kSums);
  for (cv::Mat &sum : sums) sum = cv::Mat::zeros(rows, columns, CV_32F);
  const int width = std::min(picture.width(), columns * kSectorPixels);
  const int height = std::min(picture.height(), rows * kSectorPixels);
  if (width < 1 || height < 1) return sums;
  const auto widthSize = static_cast<std::size_t>(width);
  std::vector<int> above(widthSize), here(widthSize), below(widthSize);
  const auto readGrey = [&](int y, std::vector<int> &grey) {
    const auto *line =
        reinterpret_cast<const QRgb *>(picture.constScanLine(std::clamp(y, 0, height - 1)));
    for (int x = 0; x < width; ++x) grey[std::size_t(x)] = greyOf(line[x]);
  };
  readGrey(0, above);
  readGrey(0, here);
  std::vector<double> rowSums(std::size_t(columns) * kSums);
  for (int y = 0; y < height; ++y) {
    readGrey(y + 1, below);
    const auto *line = reinterpret_cast<const QRgb *>(picture.constScanLine(y));
    std::fill(rowSums.begin(), rowSums.end(), 0.0);
    const bool centreRow = inCentre(y % kSectorPixels);
    for (int x = 0; x < width; ++x) {
      const std::size_t at = std::size_t(x / kSectorPixels) * kSums;
      const int grey = here[std::size_t(x)];
      const int across =
          here[std::size_t(std::min(x + 1, width - 1))] - here[std::size_t(std::max(x - 1, 0))];
      const int down = below[std::size_t(x)] - above[std::size_t(x)];
      rowSums[at + kRed] += qRed(line[x]);
      rowSums[at + kGreen] += qGreen(line[x]);
      rowSums[at + kBlue] += qBlue(line[x]);
      rowSums[at + kGrey] += grey;
      rowSums[at + kGreySquared] += double(grey) * grey;
      rowSums[at + kEdge] += std::abs(across) + std::abs(down);
      const std::size_t quarter =
          at + kQuarterRed +
          4 * std::size_t((y % kSectorPixels >= 5) * 2 + (x % kSectorPixels >= 5));
      rowSums[quarter] += qRed(line[x]);
      rowSums[quarter + 1] += qGreen(line[x]);
      rowSums[quarter + 2] += qBlue(line[x]);
      rowSums[quarter + 3] += std::abs(across) + std::abs(down);
      if (centreRow && inCentre(x % kSectorPixels)) {
        rowSums[at + kCentreRed] += qRed(line[x]);
        rowSums[at + kCentreGreen] += qGreen(line[x]);
        rowSums[at + kCentreBlue] += qBlue(line[x]);
      }
    }
    const int row = y / kSectorPixels;
    for (int column = 0; column < columns; ++column)
      for (int sum = 0; sum < kSums; ++sum)
        sums[std::size_t(sum)].at<float>(row, column) +=
            float(rowSums[std::size_t(column) * kSums + std::size_t(sum)]);
    std::swap(above, here);
    std::swap(here, below);
  }
  for (int sum = 0; sum < kSums; ++sum)
    sums[std::size_t(sum)] /= sum >= kQuarterRed  ? 25.0f
                              : sum >= kCentreRed ? 16.0f
                                                  : float(kSectorPixels * kSectorPixels);
  return sums;
}

// The seven measures of one scale from the means of the sums over that scale.
void writeScale(const std::vector<cv::Mat> &means, int scale, int columns,
                std::vector<float> &values) {
  const int rows = means[0].rows;
  for (int row = 0; row < rows; ++row)
    for (int column = 0; column < columns; ++column) {
      const auto mean = [&](Sum sum) { return means[std::size_t(sum)].at<float>(row, column); };
      const float red = mean(kRed), green = mean(kGreen), blue = mean(kBlue);
      const float total = red + green + blue + 1.0f;
      const float variance = std::max(0.0f, mean(kGreySquared) - mean(kGrey) * mean(kGrey));
      float *out = values.data() + (std::size_t(row) * columns + column) * SectorFeatures::kCount +
                   std::size_t(scale) * SectorFeatures::kPerScale;
      out[0] = red;
      out[1] = green;
      out[2] = blue;
      out[3] = 255.0f * red / total;
      out[4] = 255.0f * green / total;
      out[5] = std::sqrt(variance);
      out[6] = mean(kEdge);
    }
}

// The four quarters' colours and edge strengths, darkest first, so a border crossing the
// cell shows wherever it lies; and how far the cell's colour is from its nearest and
// farthest edge neighbour.
void writeQuarters(const std::vector<cv::Mat> &sums, int columns, std::vector<float> &values) {
  const int rows = sums[0].rows;
  for (int cell = 0; cell < columns * rows; ++cell) {
    const int row = cell / columns, column = cell % columns;
    std::array<std::array<float, 4>, 4> quarters;
    for (int q = 0; q < 4; ++q)
      for (int channel = 0; channel < 4; ++channel)
        quarters[std::size_t(q)][std::size_t(channel)] =
            sums[std::size_t(kQuarterRed + 4 * q + channel)].at<float>(row, column);
    std::sort(quarters.begin(), quarters.end(),
              [](const auto &a, const auto &b) { return a[0] + a[1] + a[2] < b[0] + b[1] + b[2]; });
    float *out =
        values.data() + std::size_t(cell) * SectorFeatures::kCount + SectorFeatures::kQuarters;
    for (int q = 0; q < 4; ++q)
      for (int channel = 0; channel < 4; ++channel)
        *out++ = quarters[std::size_t(q)][std::size_t(channel)];
    const auto colour = [&](int r, int c, int channel) {
      return sums[std::size_t(kRed + channel)].at<float>(std::clamp(r, 0, rows - 1),
                                                         std::clamp(c, 0, columns - 1));
    };
    float nearest = 1e30f, farthest = 0.0f;
    for (const auto &[dr, dc] : {std::pair{-1, 0}, {1, 0}, {0, -1}, {0, 1}}) {
      float distance = 0.0f;
      for (int channel = 0; channel < 3; ++channel)
        distance += std::abs(colour(row + dr, column + dc, channel) - colour(row, column, channel));
      nearest = std::min(nearest, distance);
      farthest = std::max(farthest, distance);
    }
    *out++ = nearest;
    *out++ = farthest;
  }
}

// Where a border crosses the cell, how much of it lies on each side: the shares of its
// pixels brighter, rougher, greener and bluer than halfway between the least and most
// so of the 3 x 3 cells around it.
void writeSideShares(const QImage &picture, const std::vector<cv::Mat> &sums, int columns,
                     std::vector<float> &values) {
  const int rows = sums[0].rows;
  cv::Mat total = sums[kRed] + sums[kGreen] + sums[kBlue] + 1.0f;
  cv::Mat greenShare, blueShare;
  cv::divide(sums[kGreen] * 255.0f, total, greenShare);
  cv::divide(sums[kBlue] * 255.0f, total, blueShare);
  const cv::Mat *cellMeasures[] = {&sums[kGrey], &sums[kEdge], &greenShare, &blueShare};
  constexpr int kMeasures = 4;
  std::array<cv::Mat, kMeasures> middles;
  const cv::Mat square = cv::getStructuringElement(cv::MORPH_RECT, cv::Size(3, 3));
  for (int m = 0; m < kMeasures; ++m) {
    cv::Mat least, most;
    cv::erode(*cellMeasures[m], least, square, cv::Point(-1, -1), 1, cv::BORDER_REPLICATE);
    cv::dilate(*cellMeasures[m], most, square, cv::Point(-1, -1), 1, cv::BORDER_REPLICATE);
    middles[std::size_t(m)] = (least + most) * 0.5f;
  }
  const int width = std::min(picture.width(), columns * kSectorPixels);
  const int height = std::min(picture.height(), rows * kSectorPixels);
  const int cellCount = columns * rows;
  std::vector<float> above(std::size_t(cellCount) * kMeasures, 0.0f);
  for (int y = 0; y < height; ++y) {
    const auto *up = reinterpret_cast<const QRgb *>(picture.constScanLine(std::max(y - 1, 0)));
    const auto *line = reinterpret_cast<const QRgb *>(picture.constScanLine(y));
    const auto *down =
        reinterpret_cast<const QRgb *>(picture.constScanLine(std::min(y + 1, height - 1)));
    const int row = y / kSectorPixels;
    for (int x = 0; x < width; ++x) {
      const int column = x / kSectorPixels;
      const QRgb pixel = line[x];
      const float sum = float(qRed(pixel) + qGreen(pixel) + qBlue(pixel) + 1);
      const float measures[kMeasures] = {float(greyOf(pixel)),
                                         float(std::abs(greyOf(line[std::min(x + 1, width - 1)]) -
                                                        greyOf(line[std::max(x - 1, 0)])) +
                                               std::abs(greyOf(down[x]) - greyOf(up[x]))),
                                         255.0f * float(qGreen(pixel)) / sum,
                                         255.0f * float(qBlue(pixel)) / sum};
      float *counts = above.data() + std::size_t(row * columns + column) * kMeasures;
      for (int m = 0; m < kMeasures; ++m)
        counts[m] += measures[m] > middles[std::size_t(m)].at<float>(row, column);
    }
  }
  for (int cell = 0; cell < cellCount; ++cell)
    for (int m = 0; m < kMeasures; ++m)
      values[std::size_t(cell) * SectorFeatures::kCount + SectorFeatures::kSideShares +
             std::size_t(m)] = above[std::size_t(cell) * kMeasures + std::size_t(m)] /
                               float(kSectorPixels * kSectorPixels);
}

}  // namespace

SectorFeatures SectorFeatures::measure(const QImage &source, int xQuads, int yQuads) {
  SectorFeatures features;
  if (xQuads < 1 || yQuads < 1) return features;
  features.columns_ = xQuads * 4;
  features.rows_ = yQuads * 4;
  const QImage picture =
      source.format() == QImage::Format_RGB32 || source.format() == QImage::Format_ARGB32
          ? source
          : source.convertToFormat(QImage::Format_RGB32);
  const std::vector<cv::Mat> sums = cellSums(picture, features.columns_, features.rows_);
  features.values_.assign(std::size_t(features.cellCount()) * kCount, 0.0f);
  writeScale(sums, 0, features.columns_, features.values_);
  for (int cell = 0; cell < features.cellCount(); ++cell)
    for (int channel = 0; channel < 3; ++channel)
      features
          .values_[std::size_t(cell) * kCount + kPerScale * kScales + 2 + std::size_t(channel)] =
          sums[std::size_t(kCentreRed + channel)].at<float>(cell / features.columns_,
                                                            cell % features.columns_);
  // The surroundings: the same sums averaged over wider squares of cells.
  const int spans[] = {3, 7};
  for (int scale = 1; scale < kScales; ++scale) {
    std::vector<cv::Mat> wider(kCentreRed);
    for (int sum = 0; sum < kCentreRed; ++sum)
      cv::blur(sums[std::size_t(sum)], wider[std::size_t(sum)],
               cv::Size(spans[scale - 1], spans[scale - 1]), cv::Point(-1, -1), cv::BORDER_REFLECT);
    writeScale(wider, scale, features.columns_, features.values_);
    // How much the cells' brightness differs from one to the next around this one.
    cv::Mat meanSquare, squareMean;
    cv::multiply(sums[kGrey], sums[kGrey], meanSquare);
    cv::blur(meanSquare, squareMean, cv::Size(spans[scale - 1], spans[scale - 1]),
             cv::Point(-1, -1), cv::BORDER_REFLECT);
    for (int cell = 0; cell < features.cellCount(); ++cell) {
      const int row = cell / features.columns_, column = cell % features.columns_;
      const float grey = wider[kGrey].at<float>(row, column);
      features.values_[std::size_t(cell) * kCount + kPerScale * kScales + std::size_t(scale - 1)] =
          std::sqrt(std::max(0.0f, squareMean.at<float>(row, column) - grey * grey));
    }
  }
  writeQuarters(sums, features.columns_, features.values_);
  writeSideShares(picture, sums, features.columns_, features.values_);
  const std::span<const float> first = features.cell(0);
  features.flat_ = true;
  for (int cell = 1; cell < features.cellCount() && features.flat_; ++cell) {
    const std::span<const float> other = features.cell(cell);
    for (int i = 0; i < kCount && features.flat_; ++i)
      features.flat_ = std::abs(other[std::size_t(i)] - first[std::size_t(i)]) < 0.5f;
  }
  return features;
}

}  // namespace vmm
