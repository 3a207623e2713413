#pragma once

#include "document/MapDocument.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>
#include <vector>

namespace vmm {

// Each Quad row after the marker carries its Quad number (ignored) and then these values:
// 16 element ids followed by 16 heights.
inline constexpr int kValuesPerRow = 2 * kSectorsPerQuad;

// Why reading a map text file stopped before its end.
struct MapTextProblem {
  enum class Kind {
    NotANumber,    // a value field that is not a whole number from -32768 to 32767
    PastLastQuad,  // a value for a Quad beyond the last one the map can hold
  };
  Kind kind = Kind::NotANumber;
  int line = 0;           // 1-based line on which the offending field starts
  QByteArray field;       // the field's first bytes, as found in the file
  bool fieldCut = false;  // the field is longer than `field`

  // A one-line explanation naming the offending text, e.g. "\"x\" is not a whole number ...".
  QString description() const;
  // The offending text made printable: other bytes as \xNN, long fields cut short.
  QString shownField() const;
};

// What a map text file holds after its "&" marker, values in file order.
struct MapTextContent {
  bool markerFound = false;
  int markerLine = 0;
  std::vector<qint16> values;   // kValuesPerRow per row; the last row may be incomplete
  std::vector<int> valueLines;  // the line of every entry of `values`
  std::vector<int> rowLines;    // the line of the Quad number opening each row with values
  std::optional<MapTextProblem> problem;  // set when reading stopped early

  int completeRows() const { return static_cast<int>(values.size() / kValuesPerRow); }
  // Index into values/valueLines of a row's Sector value.
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
// (ignored) and kValuesPerRow values. Reading stops at the first value that is not a
// 16-bit whole number and at a value for a Quad past the array's last one. Memory use
// is bounded whatever the input.
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

  void consume(QByteArrayView bytes);
  void addToField(const char *run, const char *end);  // a run of field bytes
  void endField();
  void takeValue();
  void stop(MapTextProblem::Kind kind);

  MapTextContent content_;
  QByteArray startBytes_;  // the first bytes while they may still be a byte order mark
  bool atStart_ = true;
  int line_ = 1;
  bool afterCr_ = false;
  bool started_ = false;
  bool skip_ = false;
  int openingLine_ = 0;

  // The field being read.
  qint64 fieldLength_ = 0;
  int fieldLine_ = 1;
  char fieldHead_[kFieldHeadBytes] = {};
  bool numeric_ = true;
  bool digits_ = false;
  bool negative_ = false;
  int magnitude_ = 0;
};

// Parses a whole map text held in memory.
MapTextContent parseMapText(QByteArrayView bytes);

// The map's size as header lines 3 and 4 give it: the number before " X Max " and " Y Max ".
struct HeaderQuadCounts {
  bool ok = false;
  qint16 XQuads = 0;
  qint16 YQuads = 0;
  int problemLine = 0;  // when !ok: the line that does not give a size
  QString problem;
};
HeaderQuadCounts readHeaderQuadCounts(QByteArrayView bytes);

}  // namespace vmm
