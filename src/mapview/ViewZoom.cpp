// SPDX-License-Identifier: GPL-3.0-or-later
#include "mapview/ViewZoom.h"

#include <algorithm>
#include <cmath>

namespace vmm {

namespace {

struct ListedLevel {
  double level;
  const char *text;
};

// A third and two thirds keep the round names map makers know them by.
constexpr ListedLevel kListed[] = {{0.125, "12.5%"}, {0.25, "25%"}, {1.0 / 3, "33%"}, {0.5, "50%"},
                                   {2.0 / 3, "67%"}, {1.0, "100%"}, {1.5, "150%"},    {2.0, "200%"},
                                   {3.0, "300%"},    {4.0, "400%"}, {8.0, "800%"}};

// Levels this close count as equal: a tenth of a percent is the finest a user can type.
constexpr double kSameLevel = 1e-4;

}  // namespace

const std::vector<double> &ViewZoom::levels() {
  static const std::vector<double> all = [] {
    std::vector<double> list;
    for (const ListedLevel &l : kListed) list.push_back(l.level);
    return list;
  }();
  return all;
}

double ViewZoom::zoomedIn(double level) {
  for (const ListedLevel &l : kListed)
    if (l.level > level + kSameLevel) return l.level;
  return level;
}

double ViewZoom::zoomedOut(double level) {
  for (auto it = std::rbegin(kListed); it != std::rend(kListed); ++it)
    if (it->level < level - kSameLevel) return it->level;
  return level;
}

QString ViewZoom::levelText(double level) {
  for (const ListedLevel &l : kListed)
    if (std::abs(l.level - level) < kSameLevel) return QString::fromLatin1(l.text);
  // One decimal at most, without a trailing ".0".
  const double percent = std::round(level * 1000.0) / 10.0;
  return QString::number(percent, 'g', 6) + QLatin1Char('%');
}

std::optional<double> ViewZoom::parseLevel(const QString &text) {
  QString number = text.trimmed();
  if (number.endsWith(QLatin1Char('%'))) number.chop(1);
  number = number.trimmed();
  if (number.isEmpty() || number.size() > 12) return std::nullopt;
  bool ok = false;
  const double percent = number.toDouble(&ok);
  if (!ok || !std::isfinite(percent)) return std::nullopt;
  for (const ListedLevel &l : kListed)
    if (QString::fromLatin1(l.text).chopped(1).toDouble() == percent) return l.level;
  const double level = percent / 100.0;
  if (level < kMinimum - 1e-9 || level > kMaximum + 1e-9) return std::nullopt;
  return level;
}

double ViewZoom::fitLevel(QSize picture, QSize viewport) {
  if (picture.isEmpty() || viewport.isEmpty()) return 1.0;
  const double across = double(viewport.width()) / picture.width();
  const double down = double(viewport.height()) / picture.height();
  // Rounded down to a tenth of a percent, so the picture still fits at the shown level.
  const double level = std::floor(std::min(across, down) * 1000.0 + 1e-9) / 1000.0;
  return std::clamp(level, kMinimum, kMaximum);
}

QSize ViewZoom::zoomedSize(QSize picture, double level) {
  auto scaled = [level](int length) { return int(std::ceil(length * level - 1e-9)); };
  return {scaled(picture.width()), scaled(picture.height())};
}

QRect ViewZoom::zoomedArea(const QRect &area, double level) {
  if (area.isEmpty()) return {};
  const int left = int(std::floor(area.left() * level));
  const int top = int(std::floor(area.top() * level));
  const int right = int(std::ceil((area.right() + 1) * level));
  const int bottom = int(std::ceil((area.bottom() + 1) * level));
  return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

QPointF ViewZoom::picturePixelAt(QPointF position, double level, double devicePixelRatio) {
  const double halfDevicePixel = 0.5 / devicePixelRatio;
  return {std::floor((position.x() + halfDevicePixel) / level),
          std::floor((position.y() + halfDevicePixel) / level)};
}

QPointF ViewZoom::scrollKeeping(QPointF scroll, QPointF anchor, double from, double to) {
  const QPointF picturePoint = (scroll + anchor) / from;
  return picturePoint * to - anchor;
}

}  // namespace vmm
