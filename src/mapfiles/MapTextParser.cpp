#include "mapfiles/MapTextParser.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>

namespace vmm {

namespace {

constexpr QByteArrayView kByteOrderMark("\xEF\xBB\xBF");
constexpr int kMagnitudeCap = 100000;  // beyond any 16-bit value; stops growing there

constexpr std::array<bool, 256> makeSeparators() {
  std::array<bool, 256> table{};
  for (unsigned char c : {'\t', ' ', ',', '\r', '\n'}) table[c] = true;
  return table;
}
constexpr std::array<bool, 256> kSeparator = makeSeparators();

bool fitsInt16(bool negative, int magnitude) {
  return negative ? magnitude <= -static_cast<int>(std::numeric_limits<qint16>::min())
                  : magnitude <= std::numeric_limits<qint16>::max();
}

}  // namespace

QString MapTextProblem::shownField() const {
  QString shown;
  shown.reserve(field.size() + 3);
  for (char c : field) {
    const auto u = static_cast<unsigned char>(c);
    if (u >= 0x20 && u < 0x7F)
      shown += QLatin1Char(c);
    else
      shown += QStringLiteral("\\x%1").arg(uint{u}, 2, 16, QLatin1Char('0'));
  }
  if (fieldCut) shown += QStringLiteral("...");
  return shown;
}

QString MapTextProblem::description() const {
  switch (kind) {
    case Kind::PastLastQuad:
      return QStringLiteral("\"%1\" would go past Quad %2, the last Quad a map can hold")
          .arg(shownField(), QString::number(kQuadCapacity - 1));
    case Kind::NotANumber:
      break;
  }
  return QStringLiteral("\"%1\" is not a whole number from -32768 to 32767").arg(shownField());
}

MapTextParser::MapTextParser() {
  startBytes_.reserve(kByteOrderMark.size());
}

bool MapTextParser::feed(QByteArrayView bytes) {
  if (stopped()) return false;
  if (atStart_) {
    // Hold back the first bytes until they are known to be, or not to be, a byte order mark.
    while (!bytes.isEmpty() && startBytes_.size() < kByteOrderMark.size()) {
      startBytes_ += bytes.front();
      bytes = bytes.sliced(1);
      if (!kByteOrderMark.startsWith(startBytes_)) break;
    }
    if (startBytes_ == kByteOrderMark) {
      atStart_ = false;
    } else if (!kByteOrderMark.startsWith(startBytes_)) {
      atStart_ = false;
      consume(startBytes_);
    } else {
      return true;  // still a possible mark: wait for more
    }
    startBytes_.clear();
  }
  consume(bytes);
  return !stopped();
}

void MapTextParser::finish() {
  if (atStart_) {
    atStart_ = false;
    consume(startBytes_);
    startBytes_.clear();
  }
  if (!stopped() && fieldLength_ > 0) endField();
}

void MapTextParser::consume(QByteArrayView bytes) {
  if (stopped()) return;
  const char *p = bytes.data();
  const char *const end = p + bytes.size();
  while (p < end) {
    const auto u = static_cast<unsigned char>(*p);
    if (!kSeparator[u]) {
      const char *run = p;
      while (p < end && !kSeparator[static_cast<unsigned char>(*p)]) ++p;
      addToField(run, p);
      afterCr_ = false;
      continue;
    }
    ++p;
    if (fieldLength_ > 0) {
      endField();
      if (stopped()) return;
    }
    if (u == '\r') {
      ++line_;
      afterCr_ = true;
    } else if (u == '\n') {
      if (!afterCr_) ++line_;
      afterCr_ = false;
    } else {
      afterCr_ = false;
    }
  }
}

void MapTextParser::addToField(const char *run, const char *end) {
  if (fieldLength_ == 0) {
    fieldLine_ = line_;
    if (*run == '-' || *run == '+') {
      negative_ = *run == '-';
      fieldHead_[0] = *run++;
      fieldLength_ = 1;
    }
  }
  const qint64 length = end - run;
  if (fieldLength_ < kFieldHeadBytes)
    std::memcpy(fieldHead_ + fieldLength_, run,
                static_cast<std::size_t>(std::min<qint64>(length, kFieldHeadBytes - fieldLength_)));
  fieldLength_ += length;
  for (; numeric_ && run < end; ++run) {
    const unsigned digit = static_cast<unsigned char>(*run) - unsigned('0');
    if (digit > 9) {
      numeric_ = false;
    } else {
      digits_ = true;
      if (magnitude_ < kMagnitudeCap) magnitude_ = magnitude_ * 10 + static_cast<int>(digit);
    }
  }
}

void MapTextParser::endField() {
  const bool isMarker = fieldLength_ == 1 && fieldHead_[0] == '&';
  if (started_) {
    if (skip_) {
      skip_ = false;
      openingLine_ = fieldLine_;
    } else {
      takeValue();
      if (stopped()) return;
    }
  }
  if (isMarker) {
    if (!started_) {
      content_.markerFound = true;
      content_.markerLine = fieldLine_;
    }
    started_ = true;
    skip_ = true;
  }
  fieldLength_ = 0;
  numeric_ = true;
  digits_ = false;
  negative_ = false;
  magnitude_ = 0;
}

void MapTextParser::takeValue() {
  if (!numeric_ || !digits_ || !fitsInt16(negative_, magnitude_)) {
    stop(MapTextProblem::Kind::NotANumber);
    return;
  }
  const std::size_t position = content_.values.size();
  if (position >= static_cast<std::size_t>(kQuadCapacity) * kValuesPerRow) {
    stop(MapTextProblem::Kind::PastLastQuad);
    return;
  }
  if (position % kValuesPerRow == 0) {
    if (content_.values.capacity() == position) {
      // Grow a row block at a time, up to the array's capacity and no further.
      const std::size_t limit = static_cast<std::size_t>(kQuadCapacity) * kValuesPerRow;
      const std::size_t wanted =
          std::min(limit, std::max<std::size_t>(64 * kValuesPerRow, 2 * position));
      content_.values.reserve(wanted);
      content_.valueLines.reserve(wanted);
    }
    content_.rowLines.push_back(openingLine_);
  }
  const int value = negative_ ? -magnitude_ : magnitude_;
  content_.values.push_back(static_cast<qint16>(value));
  content_.valueLines.push_back(fieldLine_);
  // A complete row makes the next field its successor's Quad number.
  if ((position + 1) % kValuesPerRow == 0) skip_ = true;
}

void MapTextParser::stop(MapTextProblem::Kind kind) {
  MapTextProblem problem;
  problem.kind = kind;
  problem.line = fieldLine_;
  problem.field = QByteArray(
      fieldHead_, static_cast<qsizetype>(std::min<qint64>(fieldLength_, kFieldHeadBytes)));
  problem.fieldCut = fieldLength_ > kFieldHeadBytes;
  content_.problem = problem;
}

MapTextContent parseMapText(QByteArrayView bytes) {
  MapTextParser parser;
  parser.feed(bytes);
  parser.finish();
  return parser.takeContent();
}

namespace {

// Line `number` (1-based) without its line end; empty when the text is shorter.
QByteArrayView headerLine(QByteArrayView text, int number) {
  if (text.startsWith(kByteOrderMark)) text = text.sliced(kByteOrderMark.size());
  for (int line = 1; line < number; ++line) {
    const qsizetype end = text.indexOf('\n');
    if (end < 0) return {};
    text = text.sliced(end + 1);
  }
  const qsizetype end = text.indexOf('\n');
  if (end >= 0) text = text.first(end);
  if (text.endsWith('\r')) text.chop(1);
  return text;
}

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
  const auto x = numberBefore(headerLine(bytes, 3), " X Max");
  if (!x) {
    counts.problemLine = 3;
    counts.problem =
        QStringLiteral("line 3 does not give the number of Quads across (\"<n> X Max\")");
    return counts;
  }
  const auto y = numberBefore(headerLine(bytes, 4), " Y Max");
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
