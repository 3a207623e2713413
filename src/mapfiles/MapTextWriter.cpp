// SPDX-License-Identifier: GPL-3.0-or-later
#include "mapfiles/MapTextWriter.h"

#include "document/MapDocument.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>

namespace vmm {

namespace {

constexpr std::string_view kEol = "\r\n";
constexpr std::string_view kColumnHeader =
    "Id\tE0\tE1\tE2\tE3\tE4\tE5\tE6\tE7\tE8\tE9\tE10\tE11\tE12\tE13\tE14\tE15\tElev";
constexpr int kMaxNumberChars = 6;  // "-32768"

// "00" to "99", two characters each.
constexpr auto kTwoDigits = [] {
  std::array<char, 200> pairs{};
  for (int i = 0; i < 100; ++i) {
    pairs[std::size_t(2 * i)] = static_cast<char>('0' + i / 10);
    pairs[std::size_t(2 * i + 1)] = static_cast<char>('0' + i % 10);
  }
  return pairs;
}();

// The text of -1 to 999 followed by a tab, padded to 8 bytes, and its length: nearly every
// value on a map, written as one 8-byte copy.
struct TabbedNumber {
  std::array<char, 8> text{};
  int length = 0;
};
constexpr int kTabbedLowest = -1;
constexpr int kTabbedHighest = 999;
constexpr auto kTabbedNumbers = [] {
  std::array<TabbedNumber, kTabbedHighest - kTabbedLowest + 1> table{};
  for (int value = kTabbedLowest; value <= kTabbedHighest; ++value) {
    TabbedNumber &entry = table[std::size_t(value - kTabbedLowest)];
    char digits[4] = {};
    int n = 0, v = value < 0 ? -value : value;
    do {
      digits[n++] = static_cast<char>('0' + v % 10);
      v /= 10;
    } while (v != 0);
    if (value < 0) entry.text[std::size_t(entry.length++)] = '-';
    while (n > 0) entry.text[std::size_t(entry.length++)] = digits[--n];
    entry.text[std::size_t(entry.length++)] = '\t';
  }
  return table;
}();

// Appends text into a buffer sized beforehand; formatting numbers by hand keeps
// the export far away from per-number allocations.
class TextCursor {
 public:
  explicit TextCursor(char *start) : p_(start) {}

  void put(std::string_view text) {
    std::memcpy(p_, text.data(), text.size());
    p_ += text.size();
  }
  void put(char c) { *p_++ = c; }

  // Plain decimal of a signed 16-bit value: "-1", "0", "12".
  void putNumber(qint16 value) {
    int v = value;
    if (v < 0) {
      *p_++ = '-';
      v = -v;
    }
    // Nearly every value on a map is below 100 (heights, -1, small element ids): those
    // take one table look-up instead of a division per digit.
    if (v < 10) {
      *p_++ = static_cast<char>('0' + v);
      return;
    }
    if (v < 100) {
      std::memcpy(p_, &kTwoDigits[std::size_t(2 * v)], 2);
      p_ += 2;
      return;
    }
    char digits[kMaxNumberChars];
    int n = 0;
    do {
      digits[n++] = static_cast<char>('0' + v % 10);
      v /= 10;
    } while (v != 0);
    while (n > 0) *p_++ = digits[--n];
  }

  // putNumber(value) then a tab. Writes up to 8 bytes past the text's end: the buffer keeps
  // that room.
  void putNumberAndTab(qint16 value) {
    if (value >= kTabbedLowest && value <= kTabbedHighest) {
      const TabbedNumber &entry = kTabbedNumbers[std::size_t(value - kTabbedLowest)];
      std::memcpy(p_, entry.text.data(), entry.text.size());
      p_ += entry.length;
      return;
    }
    putNumber(value);
    put('\t');
  }

  void putLine(std::string_view text) {
    put(text);
    put(kEol);
  }
  char *position() const { return p_; }

 private:
  char *p_;
};

int numbersPerRow(MapEdition edition) {
  return edition == MapEdition::Varga ? 33 : 18;
}

}  // namespace

qint16 tolleElevation(const MapDocument &doc, int quad) {
  // Summed wider than 16 bits: with heights 0..100 or -1 the result is the same as the
  // 16-bit sum, and the mean of 16-bit values always fits back into 16 bits.
  int sum = 0;
  for (int sector = 0; sector < kSectorsPerQuad; ++sector)
    sum += doc.value(quad, sector, Plane::Height);
  return static_cast<qint16>(sum / kSectorsPerQuad);
}

QByteArray mapText(const MapDocument &doc, MapEdition edition) {
  const int quads = std::max<int>(0, doc.TotalQuads);
  const qsizetype headerBound = 128 + static_cast<qsizetype>(kColumnHeader.size());
  const qsizetype rowBound = numbersPerRow(edition) * (kMaxNumberChars + 1) + 2;
  constexpr qsizetype kCopySlack = sizeof(TabbedNumber::text);
  QByteArray text(headerBound + quads * rowBound + kCopySlack, Qt::Uninitialized);

  TextCursor out(text.data());
  out.putLine(edition == MapEdition::Varga ? "10" : "41");
  out.putLine(" ");
  out.putNumber(doc.XQuads);
  out.putLine(" X Max ");
  out.putNumber(doc.YQuads);
  out.putLine(" Y Max ");
  out.putLine("0");
  out.putLine("0");
  out.putLine(kColumnHeader);
  out.putLine("&");

  for (int quad = 0; quad < quads; ++quad) {
    out.putNumber(static_cast<qint16>(quad));
    out.put('\t');
    for (int sector = 0; sector < kSectorsPerQuad; ++sector)
      out.putNumberAndTab(doc.value(quad, sector, Plane::Element));
    if (edition == MapEdition::Varga) {
      for (int sector = 0; sector < kSectorsPerQuad; ++sector)
        out.putNumberAndTab(doc.value(quad, sector, Plane::Height));
    } else {
      out.putNumberAndTab(tolleElevation(doc, quad));
    }
    out.put(kEol);
  }
  out.putLine("#");

  text.truncate(out.position() - text.constData());
  return text;
}

FileWriteResult SaveAsVargaTXT(const MapDocument &doc, const QString &path) {
  return writeFileAtomically(path, vargaMapText(doc));
}

FileWriteResult SaveAsTolleTXT(const MapDocument &doc, const QString &path) {
  return writeFileAtomically(path, tolleMapText(doc));
}

}  // namespace vmm
