// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/MapDocument.h"
#include "mapfiles/MapTextHeader.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>
#include <vector>

namespace vmm {

// Each Quad row after the marker carries its Quad number (ignored) and then these values:
// 16 element ids followed by 16 heights.
inline constexpr int kValuesPerRow = 2 * kSectorsPerQuad;

// The longest way a 16-bit value can be written: "-32768". A value field longer than this
// is refused without reading it to its end.
inline constexpr int kMaxValueChars = 6;

// Why reading a map text file stopped before its end.
struct MapTextProblem {
  enum class Kind {
    NotANumber,    // a value field that is not a whole number from -32768 to 32767
    PastLastQuad,  // a value for a Quad beyond the last one the map can hold
    NotText,       // a control byte (NUL and the like), which no map text holds
    Utf16Text,     // the file starts with a UTF-16 byte order mark
  };
  Kind kind = Kind::NotANumber;
  qint64 line = 0;        // 1-based line on which the offending field starts
  QByteArray field;       // the field's first bytes, as found in the file
  bool fieldCut = false;  // the field is longer than `field`

  // A one-line explanation naming the offending text, e.g. "\"x\" is not a whole number ...".
  QString description() const;
  // The offending text made printable: other bytes as \xNN, long fields cut short.
  QString shownField() const;
};

// What a map text file holds after its "&" marker, values in file order.
struct MapTextContent {
  // The lines of the values, one entry where the line changes: values from `firstValue`
  // up to the next entry's are on `line`.
  struct LineRun {
    std::size_t firstValue = 0;
    qint64 line = 0;
    bool operator==(const LineRun &) const = default;
  };

  bool markerFound = false;
  qint64 markerLine = 0;
  // The number of the file's last line (text after the last line end is a line of its
  // own); set when the whole file was read, 0 after a stop.
  qint64 lastLine = 0;
  std::vector<qint16> values;  // kValuesPerRow per row; the last row may be incomplete
  std::vector<LineRun> valueLineRuns;
  std::vector<qint64> rowLines;  // the line of the Quad number opening each row with values
  std::optional<MapTextProblem> problem;  // set when reading stopped early

  int completeRows() const { return static_cast<int>(values.size() / kValuesPerRow); }
  // The line of values[index].
  qint64 valueLine(std::size_t index) const;
  // Index into values of a row's Sector value.
  static std::size_t indexOf(int row, int sector, Plane plane) {
    return static_cast<std::size_t>(row) * kValuesPerRow +
           static_cast<std::size_t>(plane == Plane::Height ? kSectorsPerQuad : 0) +
           static_cast<std::size_t>(sector);
  }
};

// Reads the fields of a map text file as they arrive, in pieces of any size.
// Tabs, spaces, commas and line ends separate fields, a run of them counting as one;
// CR LF, LF and CR all end a line; a UTF-8 byte order mark at the start is skipped.
// Every field before the first "&" field is ignored. After it, each row is a Quad number
// (ignored) and kValuesPerRow values. Reading stops at a UTF-16 byte order mark, at the
// first control byte anywhere (no map text holds one), at the first value that is not a
// 16-bit whole number of at most kMaxValueChars characters, and at a value for a Quad
// past the array's last one. Memory use is bounded whatever the input, and no field is
// built up as text: values are converted as their digits arrive.
class MapTextParser {
 public:
  MapTextParser();

  // Returns false once reading has stopped at a problem; later input would be ignored.
  bool feed(QByteArrayView bytes);
  // Ends the input: a last field not followed by a separator still counts.
  void finish();

  bool stopped() const { return content_.problem.has_value(); }
  const MapTextContent &content() const { return content_; }
  MapTextContent takeContent() { return std::move(content_); }

 private:
  static constexpr int kFieldHeadBytes = 40;

  void consume(const char *p, const char *end);
  const char *rowFast(const char *p, const char *end);
  const char *valueFast(const char *p, const char *end);
  const char *skipFast(const char *p, const char *end);
  const char *addToField(const char *p, const char *end);
  void endField();
  void takeValue(int value, QByteArrayView field);
  void stop(MapTextProblem::Kind kind, QByteArrayView field, bool cut);
  bool checkStart();

  MapTextContent content_;
  QByteArray startBytes_;  // the first bytes while they may still be a byte order mark
  bool atStart_ = true;
  qint64 line_ = 1;
  bool afterCr_ = false;
  bool endsWithLineEnd_ = false;
  bool started_ = false;
  bool skip_ = false;
  qint64 openingLine_ = 0;
  int column_ = 0;  // the next value's place in its row

  // A field being read when a piece ended inside it, or one the quick paths left alone.
  qint64 fieldLength_ = 0;
  qint64 fieldLine_ = 1;
  char fieldHead_[kFieldHeadBytes] = {};
};

// Parses a whole map text held in memory.
MapTextContent parseMapText(QByteArrayView bytes);

}  // namespace vmm
