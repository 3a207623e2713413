// SPDX-License-Identifier: GPL-3.0-or-later
#include "mapfiles/MapTextHeader.h"

#include "mapfiles/MapTextParser.h"

#include <optional>

namespace vmm {

bool startsWithUtf16Mark(QByteArrayView start) {
  return start.size() >= 2 && ((uchar(start[0]) == 0xFF && uchar(start[1]) == 0xFE) ||
                               (uchar(start[0]) == 0xFE && uchar(start[1]) == 0xFF));
}

QByteArrayView textLine(QByteArrayView text, int number) {
  for (int line = 1;; ++line) {
    qsizetype end = 0;
    while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
    if (line == number) return text.first(end);
    if (end == text.size()) return {};
    qsizetype next = end + 1;
    if (text[end] == '\r' && next < text.size() && text[next] == '\n') ++next;
    text = text.sliced(next);
  }
}

namespace {

std::optional<qint16> numberBefore(QByteArrayView line, QByteArrayView label) {
  const qsizetype at = line.indexOf(label);
  if (at < 0) return std::nullopt;
  const QByteArrayView digits = line.first(at).trimmed();
  if (digits.isEmpty() || digits.size() > 8) return std::nullopt;
  bool ok = false;
  const short value = QByteArray(digits.data(), digits.size()).toShort(&ok);
  if (!ok) return std::nullopt;
  return value;
}

}  // namespace

HeaderQuadCounts readHeaderQuadCounts(QByteArrayView bytes) {
  HeaderQuadCounts counts;
  if (startsWithUtf16Mark(bytes)) {
    counts.problemLine = 1;
    counts.problem = MapTextProblem{MapTextProblem::Kind::Utf16Text, 1, {}, false}.description();
    counts.notText = true;
    return counts;
  }
  if (bytes.startsWith(kUtf8ByteOrderMark)) bytes = bytes.sliced(kUtf8ByteOrderMark.size());
  const auto x = numberBefore(textLine(bytes, 3), " X Max");
  if (!x) {
    counts.problemLine = 3;
    counts.problem =
        QStringLiteral("line 3 does not give the number of Quads across (\"<n> X Max\")");
    return counts;
  }
  const auto y = numberBefore(textLine(bytes, 4), " Y Max");
  if (!y) {
    counts.problemLine = 4;
    counts.problem =
        QStringLiteral("line 4 does not give the number of Quads down (\"<n> Y Max\")");
    return counts;
  }
  counts.ok = true;
  counts.XQuads = *x;
  counts.YQuads = *y;
  return counts;
}

}  // namespace vmm
