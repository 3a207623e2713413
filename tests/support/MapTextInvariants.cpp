#include "support/MapTextInvariants.h"

#include "document/MapDocument.h"
#include "mapfiles/MapTextImport.h"
#include "mapfiles/MapTextParser.h"

#include <algorithm>
#include <vector>

namespace vmm::test {
namespace {

constexpr std::size_t kMaxValues = std::size_t(kQuadCapacity) * kValuesPerRow;
constexpr qint16 kTotalQuadsBefore = 77;

bool isSeparator(char c) {
  return c == '\t' || c == ' ' || c == ',' || c == '\r' || c == '\n';
}

int lineCount(QByteArrayView text) {
  int lines = 1;
  for (qsizetype i = 0; i < text.size(); ++i)
    if (text[i] == '\r' || (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))) ++lines;
  return lines;
}

QString checkContent(QByteArrayView bytes, const MapTextContent &content) {
  const std::size_t count = content.values.size();
  if (content.valueLines.size() != count) return QStringLiteral("a value without its line");
  if (count > kMaxValues) return QStringLiteral("more values than the map array holds");
  if (content.rowLines.size() != (count + kValuesPerRow - 1) / kValuesPerRow)
    return QStringLiteral("row lines do not match the rows");
  if (!content.markerFound && (count > 0 || content.problem || content.markerLine != 0))
    return QStringLiteral("values or a problem without the marker");
  const int lastLine = lineCount(bytes);
  if (content.markerFound && (content.markerLine < 1 || content.markerLine > lastLine))
    return QStringLiteral("marker line %1 outside the text").arg(content.markerLine);
  if (!std::is_sorted(content.valueLines.begin(), content.valueLines.end()) ||
      !std::is_sorted(content.rowLines.begin(), content.rowLines.end()))
    return QStringLiteral("lines go backwards");
  if (count > 0 &&
      (content.valueLines.front() < content.markerLine || content.valueLines.back() > lastLine ||
       content.rowLines.front() < content.markerLine))
    return QStringLiteral("a value line outside the text after the marker");
  for (std::size_t row = 0; row < content.rowLines.size(); ++row)
    if (content.rowLines[row] > content.valueLines[row * kValuesPerRow])
      return QStringLiteral("row %1 opens after its first value").arg(row);

  if (content.problem) {
    const MapTextProblem &problem = *content.problem;
    if (problem.line < content.markerLine || problem.line > lastLine)
      return QStringLiteral("stopped at line %1, outside the text").arg(problem.line);
    if (problem.field.isEmpty() || problem.field.size() > 40 ||
        std::any_of(problem.field.begin(), problem.field.end(), isSeparator))
      return QStringLiteral("the refused field is not shown as one field");
    if (problem.kind == MapTextProblem::Kind::PastLastQuad && count != kMaxValues)
      return QStringLiteral("stopped past the last Quad before the array was full");
  }
  return {};
}

bool sameContent(const MapTextContent &a, const MapTextContent &b) {
  if (a.markerFound != b.markerFound || a.markerLine != b.markerLine || a.values != b.values ||
      a.valueLines != b.valueLines || a.rowLines != b.rowLines ||
      a.problem.has_value() != b.problem.has_value())
    return false;
  return !a.problem ||
         (a.problem->kind == b.problem->kind && a.problem->line == b.problem->line &&
          a.problem->field == b.problem->field && a.problem->fieldCut == b.problem->fieldCut);
}

QString checkPiecewise(QByteArrayView bytes, const MapTextContent &whole, qsizetype piece) {
  MapTextParser parser;
  for (qsizetype at = 0; at < bytes.size(); at += piece) {
    const bool goOn = parser.feed(bytes.sliced(at, std::min(piece, bytes.size() - at)));
    if (goOn == parser.stopped()) return QStringLiteral("feed() misreports the stop");
  }
  parser.finish();
  if (!sameContent(parser.content(), whole))
    return QStringLiteral("reading in pieces of %1 bytes differs from reading at once").arg(piece);
  return {};
}

// Checks every write the import makes against the content it came from.
class WriteChecker : public ChangeObserver {
 public:
  explicit WriteChecker(const MapTextContent &content) : content_(content) {}

  void sectorChanged(const SectorChange &change) override {
    ++writes_;
    if (!problem_.isEmpty()) return;
    const std::size_t rows = (content_.values.size() + kValuesPerRow - 1) / kValuesPerRow;
    if (change.quad < 0 || std::size_t(change.quad) >= rows || change.sector < 0 ||
        change.sector >= kSectorsPerQuad) {
      problem_ = QStringLiteral("a write to Quad %1 Sector %2, which no row names")
                     .arg(change.quad)
                     .arg(change.sector);
      return;
    }
    const std::size_t index = MapTextContent::indexOf(change.quad, change.sector, change.plane);
    if (index >= content_.values.size() || change.newValue != content_.values[index] ||
        change.newValue == kUnassigned || change.oldValue != kUnassigned)
      problem_ = QStringLiteral("Quad %1 Sector %2 got %3, not the file's value")
                     .arg(change.quad)
                     .arg(change.sector)
                     .arg(change.newValue);
  }

  QString problem() const { return problem_; }
  std::size_t writes() const { return writes_; }

 private:
  const MapTextContent &content_;
  QString problem_;
  std::size_t writes_ = 0;
};

QString checkApplied(const MapTextContent &content, const MapDocument &doc,
                     const MapImportResult &result, const WriteChecker &checker) {
  if (!checker.problem().isEmpty()) return checker.problem();
  const auto assigned = std::count_if(content.values.begin(), content.values.end(),
                                      [](qint16 v) { return v != kUnassigned; });
  if (checker.writes() != std::size_t(assigned))
    return QStringLiteral("%1 writes for %2 assigned values").arg(checker.writes()).arg(assigned);
  if (result.rowsRead != content.completeRows()) return QStringLiteral("wrong row count");
  if (content.problem) {
    if (result.status != MapImportResult::Status::Stopped || doc.TotalQuads != kTotalQuadsBefore)
      return QStringLiteral("a stopped import changed TotalQuads or did not report the stop");
    if (!result.messageText.contains(QStringLiteral("line %1").arg(content.problem->line)))
      return QStringLiteral("the stop message does not name the line");
  } else if (!result.ok() || doc.TotalQuads != content.completeRows()) {
    return QStringLiteral("TotalQuads %1 after reading %2 rows")
        .arg(doc.TotalQuads)
        .arg(content.completeRows());
  }
  return {};
}

// One document serves every check (a fresh one per input would cost more than the
// reading); the Sectors an import wrote are set back to -1 afterwards.
QString checkImport(const MapTextContent &content) {
  static MapDocument doc;
  doc.TotalQuads = kTotalQuadsBefore;
  WriteChecker checker(content);
  doc.addChangeObserver(&checker);
  const MapImportResult result = applyMapText(content, doc, QStringLiteral("fuzz.txt"));
  doc.removeChangeObserver(&checker);
  const QString problem = checkApplied(content, doc, result, checker);
  for (std::size_t i = 0; i < content.values.size(); ++i) {
    const int column = int(i % kValuesPerRow);
    doc.setValue(int(i / kValuesPerRow), column % kSectorsPerQuad,
                 column < kSectorsPerQuad ? Plane::Element : Plane::Height, kUnassigned);
  }
  return problem;
}

}  // namespace

QString checkMapTextInvariants(QByteArrayView bytes) {
  const MapTextContent whole = parseMapText(bytes);
  QString problem = checkContent(bytes, whole);
  // One-byte pieces split every field and line end; a second size taken from the input
  // lets the fuzzer choose where the other boundaries fall.
  const qsizetype chosen = bytes.isEmpty() ? 2 : 2 + static_cast<unsigned char>(bytes.back()) % 97;
  for (qsizetype piece : {qsizetype(1), chosen})
    if (problem.isEmpty()) problem = checkPiecewise(bytes, whole, piece);
  if (problem.isEmpty()) problem = checkImport(whole);
  readHeaderQuadCounts(bytes);  // any text: must neither crash nor read out of bounds
  return problem;
}

}  // namespace vmm::test
