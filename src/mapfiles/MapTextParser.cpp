// SPDX-License-Identifier: GPL-3.0-or-later
#include "mapfiles/MapTextParser.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <iterator>
#include <limits>
#include <utility>

namespace vmm {

namespace {

constexpr std::size_t kMaxValues = std::size_t(kQuadCapacity) * kValuesPerRow;
constexpr int kLargestMagnitude = -int(std::numeric_limits<qint16>::min());  // 32768

// What each byte is to the reader.
enum ByteClass : unsigned char { kText, kSeparator, kCarriageReturn, kLineFeed, kControl };

constexpr std::array<unsigned char, 256> makeClasses() {
  std::array<unsigned char, 256> table{};  // kText
  for (int c = 0; c < 0x20; ++c) table[static_cast<std::size_t>(c)] = kControl;
  table[0x7F] = kControl;
  for (unsigned char c : {'\t', ' ', ','}) table[c] = kSeparator;
  table['\r'] = kCarriageReturn;
  table['\n'] = kLineFeed;
  return table;
}
constexpr std::array<unsigned char, 256> kClasses = makeClasses();

unsigned char classOf(char c) {
  return kClasses[static_cast<unsigned char>(c)];
}

bool endsField(char c) {
  const unsigned char k = classOf(c);
  return k == kSeparator || k == kCarriageReturn || k == kLineFeed;
}

unsigned digitOf(char c) {
  return unsigned(static_cast<unsigned char>(c)) - unsigned('0');  // > 9 for a non-digit
}

bool fits(bool negative, int magnitude) {
  return magnitude <= (negative ? kLargestMagnitude : kLargestMagnitude - 1);
}

// The value of a whole field of at most kMaxValueChars bytes, if it is one.
std::optional<int> valueOf(QByteArrayView field) {
  qsizetype at = 0;
  const bool negative = !field.isEmpty() && field[0] == '-';
  if (negative || (!field.isEmpty() && field[0] == '+')) at = 1;
  if (at == field.size()) return std::nullopt;
  int magnitude = 0;
  for (; at < field.size(); ++at) {
    const unsigned digit = digitOf(field[at]);
    if (digit > 9) return std::nullopt;
    magnitude = magnitude * 10 + int(digit);
  }
  if (!fits(negative, magnitude)) return std::nullopt;
  return negative ? -magnitude : magnitude;
}

// The 16-bit number at `p`, of at most kMaxValueChars characters sign included, converted as
// its digits are read; kMaxValueChars + 1 bytes from `p` must be readable. Returns where it
// ends (the caller looks at what follows), or nullptr when no number of 16 bits starts there.
const char *scanValue(const char *p, int &value) {
  const char *q = p;
  const bool negative = *q == '-';
  if (negative || *q == '+') ++q;
  unsigned digit = digitOf(*q);
  if (digit > 9) return nullptr;
  int magnitude = 0;
  do {
    magnitude = magnitude * 10 + int(digit);
    digit = digitOf(*++q);
  } while (digit <= 9 && q - p < kMaxValueChars);
  if (!fits(negative, magnitude)) return nullptr;
  value = negative ? -magnitude : magnitude;
  return q;
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
    case Kind::NotText:
      return QStringLiteral(
                 "the control character \"%1\" cannot be in a map text, so this is "
                 "no map text")
          .arg(shownField());
    case Kind::Utf16Text:
      return QStringLiteral("the file is UTF-16 text; a map text has one byte per character");
    case Kind::NotANumber:
      break;
  }
  return QStringLiteral("\"%1\" is not a whole number from -32768 to 32767").arg(shownField());
}

qint64 MapTextContent::valueLine(std::size_t index) const {
  const auto after = std::upper_bound(
      valueLineRuns.begin(), valueLineRuns.end(), index,
      [](std::size_t value, const LineRun &run) { return value < run.firstValue; });
  return after == valueLineRuns.begin() ? 0 : std::prev(after)->line;
}

MapTextParser::MapTextParser() {
  startBytes_.reserve(kUtf8ByteOrderMark.size());
}

bool MapTextParser::checkStart() {
  if (startsWithUtf16Mark(startBytes_)) {
    atStart_ = false;
    fieldLine_ = line_;
    stop(MapTextProblem::Kind::Utf16Text, startBytes_.first(2), false);
    return true;
  }
  if (startBytes_ == kUtf8ByteOrderMark) {
    atStart_ = false;
    startBytes_.clear();
    return true;
  }
  const bool mayBeMark =
      kUtf8ByteOrderMark.startsWith(startBytes_) ||
      (startBytes_.size() == 1 && (uchar(startBytes_[0]) == 0xFF || uchar(startBytes_[0]) == 0xFE));
  return !mayBeMark;
}

bool MapTextParser::feed(QByteArrayView bytes) {
  if (stopped()) return false;
  if (bytes.isEmpty()) return true;
  const unsigned char last = classOf(bytes.back());
  endsWithLineEnd_ = last == kCarriageReturn || last == kLineFeed;
  if (atStart_) {
    // Hold back the first bytes until they are known to be, or not to be, a byte order mark.
    bool settled = false;
    while (!bytes.isEmpty() && !settled) {
      startBytes_ += bytes.front();
      bytes = bytes.sliced(1);
      settled = checkStart();
    }
    if (!settled) return true;  // still a possible mark: wait for more
    if (atStart_) {
      atStart_ = false;
      const QByteArray held = std::exchange(startBytes_, {});
      consume(held.constData(), held.constData() + held.size());
    }
  }
  consume(bytes.data(), bytes.data() + bytes.size());
  return !stopped();
}

void MapTextParser::finish() {
  if (atStart_) {
    atStart_ = false;
    const QByteArray held = std::exchange(startBytes_, {});
    consume(held.constData(), held.constData() + held.size());
  }
  if (!stopped() && fieldLength_ > 0) endField();
  if (!stopped()) content_.lastLine = std::max<qint64>(1, line_ - (endsWithLineEnd_ ? 1 : 0));
}

void MapTextParser::consume(const char *p, const char *end) {
  while (p < end && !stopped()) {
    if (fieldLength_ > 0) {  // a field that began in an earlier piece
      p = addToField(p, end);
      continue;
    }
    switch (classOf(*p)) {
      case kSeparator:
        afterCr_ = false;
        ++p;
        continue;
      case kCarriageReturn:
        ++line_;
        afterCr_ = true;
        ++p;
        continue;
      case kLineFeed: {
        if (!afterCr_) ++line_;
        afterCr_ = false;
        // A run of empty lines is counted in one go, eight bytes at a time.
        const char *const run = ++p;
        constexpr quint64 kEightLineFeeds = 0x0A0A0A0A0A0A0A0AULL;
        for (quint64 word; end - p >= 8 && (std::memcpy(&word, p, 8), word == kEightLineFeeds);)
          p += 8;
        while (p < end && *p == '\n') ++p;
        line_ += p - run;
        continue;
      }
      case kControl:
        fieldLine_ = line_;
        stop(MapTextProblem::Kind::NotText, QByteArrayView(p, 1), false);
        return;
      default:
        break;
    }
    afterCr_ = false;
    if (started_) {
      const char *next = skip_ ? skipFast(p, end) : column_ == 0 ? rowFast(p, end) : nullptr;
      if (!next && !skip_) next = valueFast(p, end);
      if (next) {
        p = next;
        continue;
      }
    }
    p = addToField(p, end);
  }
}

// A value field wholly inside the piece, followed by its separator, taken at once. Anything
// else (a field cut by the piece's end, one too long, other bytes) is left to addToField.
const char *MapTextParser::valueFast(const char *p, const char *end) {
  if (end - p <= kMaxValueChars) return nullptr;
  int value = 0;
  const char *q = scanValue(p, value);
  if (!q || !endsField(*q)) return nullptr;
  fieldLine_ = line_;
  takeValue(value, QByteArrayView(p, q - p));
  return q;
}

// A whole row of values on one line, each followed by tabs, spaces or commas, taken in one
// go: the common case, read without a step per field. Anything else is left to valueFast.
const char *MapTextParser::rowFast(const char *p, const char *end) {
  constexpr qsizetype kRowBytes = kValuesPerRow * (kMaxValueChars + 1);
  if (end - p < kRowBytes || content_.values.size() >= kMaxValues) return nullptr;
  std::array<qint16, kValuesPerRow> row;
  const char *q = p;
  for (std::size_t i = 0; i < row.size(); ++i) {
    // A value and its separators within kMaxValueChars + 2 bytes is the rule; a longer
    // stretch leaves the row to the slower paths.
    if (end - q < kMaxValueChars + 2) return nullptr;
    const char *const start = q;
    int value = 0;
    q = scanValue(q, value);
    // Only the last value may end the line.
    if (!q || !(classOf(*q) == kSeparator || (i + 1 == row.size() && endsField(*q))))
      return nullptr;
    row[i] = static_cast<qint16>(value);
    if (i + 1 != row.size())
      while (classOf(*q) == kSeparator && q - start <= kMaxValueChars) ++q;
  }
  const std::size_t position = content_.values.size();
  if (content_.values.capacity() - position < row.size())
    content_.values.reserve(
        std::min(kMaxValues, std::max<std::size_t>(64 * kValuesPerRow, 2 * position)));
  content_.rowLines.push_back(openingLine_);
  if (content_.valueLineRuns.empty() || content_.valueLineRuns.back().line != line_)
    content_.valueLineRuns.push_back({position, line_});
  content_.values.insert(content_.values.end(), row.begin(), row.end());
  skip_ = true;
  return q;
}

// The Quad number opening a row, ignored, when it ends inside the piece.
const char *MapTextParser::skipFast(const char *p, const char *end) {
  const char *q = p;
  while (q < end && classOf(*q) == kText) ++q;
  if (q == end || classOf(*q) == kControl) return nullptr;
  openingLine_ = line_;
  // An "&" in its place keeps the next field skipped too, as it does before the first row.
  skip_ = q - p == 1 && *p == '&';
  return q;
}

const char *MapTextParser::addToField(const char *p, const char *end) {
  if (fieldLength_ == 0) fieldLine_ = line_;
  const bool isValue = started_ && !skip_;
  for (; p < end; ++p) {
    const unsigned char k = classOf(*p);
    if (k == kControl) {
      stop(MapTextProblem::Kind::NotText, QByteArrayView(p, 1), false);
      return end;
    }
    if (k != kText) {
      endField();
      return p;
    }
    if (fieldLength_ < kFieldHeadBytes) fieldHead_[fieldLength_] = *p;
    // A value this long is no number: no need to read it to its end.
    if (++fieldLength_ > kFieldHeadBytes && isValue) {
      stop(MapTextProblem::Kind::NotANumber, QByteArrayView(fieldHead_, kFieldHeadBytes), true);
      return end;
    }
  }
  return p;
}

void MapTextParser::endField() {
  const QByteArrayView head(fieldHead_, std::min<qint64>(fieldLength_, kFieldHeadBytes));
  const bool isMarker = fieldLength_ == 1 && fieldHead_[0] == '&';
  if (started_) {
    if (skip_) {
      skip_ = false;
      openingLine_ = fieldLine_;
    } else {
      const std::optional<int> value =
          fieldLength_ <= kMaxValueChars ? valueOf(head) : std::nullopt;
      if (!value) {
        stop(MapTextProblem::Kind::NotANumber, head, fieldLength_ > kFieldHeadBytes);
        return;
      }
      takeValue(*value, head);
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
}

void MapTextParser::takeValue(int value, QByteArrayView field) {
  std::vector<qint16> &values = content_.values;
  const std::size_t position = values.size();
  if (position >= kMaxValues) {
    stop(MapTextProblem::Kind::PastLastQuad, field, false);
    return;
  }
  if (column_ == 0) {
    if (values.capacity() == position)  // a row block at a time, up to the array's capacity
      values.reserve(std::min(kMaxValues, std::max<std::size_t>(64 * kValuesPerRow, 2 * position)));
    content_.rowLines.push_back(openingLine_);
  }
  if (content_.valueLineRuns.empty() || content_.valueLineRuns.back().line != fieldLine_)
    content_.valueLineRuns.push_back({position, fieldLine_});
  values.push_back(static_cast<qint16>(value));
  // A complete row makes the next field its successor's Quad number.
  if (++column_ == kValuesPerRow) {
    column_ = 0;
    skip_ = true;
  }
}

void MapTextParser::stop(MapTextProblem::Kind kind, QByteArrayView field, bool cut) {
  MapTextProblem problem;
  problem.kind = kind;
  problem.line = fieldLine_;
  problem.field = field.toByteArray();
  problem.fieldCut = cut;
  content_.problem = std::move(problem);
}

MapTextContent parseMapText(QByteArrayView bytes) {
  MapTextParser parser;
  parser.feed(bytes);
  parser.finish();
  return parser.takeContent();
}

}  // namespace vmm
