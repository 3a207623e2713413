// SPDX-License-Identifier: GPL-3.0-or-later
#include "mapfiles/ProjectSchema.h"

#include <array>
#include <limits>
#include <utility>

namespace vmm::project {
namespace {

template <typename Value>
using Names = std::span<const std::pair<Value, const char *>>;

constexpr std::pair<MapView, const char *> kViews[] = {
    {MapView::Terrain, "terrain"}, {MapView::Image, "image"}, {MapView::Elevation, "elevation"}};
constexpr std::pair<DrawStyle, const char *> kDrawStyles[] = {
    {DrawStyle::Solid, "solid"},
    {DrawStyle::Transparent, "transparent"},
    {DrawStyle::Hollow, "hollow"}};
constexpr std::pair<EditMode, const char *> kEditModes[] = {{EditMode::DrawSector, "draw_sector"},
                                                            {EditMode::DrawQuad, "draw_quad"},
                                                            {EditMode::EraseSector, "erase_sector"},
                                                            {EditMode::EraseQuad, "erase_quad"},
                                                            {EditMode::FillArea, "fill_area"}};
constexpr std::pair<qint16, const char *> kHeightColourSets[] = {{1, "colour"}, {0, "gradient"}};

template <typename Value>
QString nameOf(Names<Value> names, Value value) {
  for (const auto &[known, name] : names)
    if (known == value) return QLatin1String(name);
  return QLatin1String(names.front().second);
}

// Reads the row `key` into `value` when it is there; false when its text is none of the names.
template <typename Value>
bool readNamed(const QMap<QString, QString> &rows, const QString &key, Names<Value> names,
               Value &value) {
  const auto row = rows.constFind(key);
  if (row == rows.cend()) return true;
  for (const auto &[known, name] : names)
    if (*row == QLatin1String(name)) {
      value = known;
      return true;
    }
  return false;
}

bool readInt16(const QMap<QString, QString> &rows, const QString &key, qint16 &value) {
  const auto row = rows.constFind(key);
  if (row == rows.cend()) return true;
  bool ok = false;
  const int number = row->toInt(&ok);
  if (!ok || *row != QString::number(number) || number < std::numeric_limits<qint16>::min() ||
      number > std::numeric_limits<qint16>::max())
    return false;
  value = static_cast<qint16>(number);
  return true;
}

}  // namespace

std::span<const TableShape> tables() {
  static const std::array<TableShape, 4> shapes{{
      {QStringLiteral("map"),
       {QStringLiteral("written_by"), QStringLiteral("XQuads"), QStringLiteral("YQuads"),
        QStringLiteral("TotalQuads")},
       QStringLiteral("CREATE TABLE map (written_by TEXT NOT NULL, XQuads INTEGER NOT NULL, "
                      "YQuads INTEGER NOT NULL, TotalQuads INTEGER NOT NULL)")},
      {QStringLiteral("picture"),
       {QStringLiteral("file_name"), QStringLiteral("bytes")},
       QStringLiteral("CREATE TABLE picture (file_name TEXT NOT NULL, bytes BLOB NOT NULL)")},
      {QStringLiteral("planes"),
       {QStringLiteral("plane"), QStringLiteral("quads"), QStringLiteral("sectors")},
       QStringLiteral("CREATE TABLE planes (plane TEXT PRIMARY KEY NOT NULL, "
                      "quads INTEGER NOT NULL, sectors BLOB NOT NULL)")},
      {QStringLiteral("editor_state"),
       {QStringLiteral("key"), QStringLiteral("value")},
       QStringLiteral("CREATE TABLE editor_state (key TEXT PRIMARY KEY NOT NULL, "
                      "value TEXT NOT NULL)")},
  }};
  return shapes;
}

QStringList ownStateKeys() {
  return {kViewKey,
          kDrawStyleKey,
          kEditModeKey,
          kCurrentElementKey,
          kCurrentHeightKey,
          kHeightColoursKey,
          kBrushSizeKey,
          kZoomKey,
          kScrollXKey,
          kScrollYKey,
          kRecoveryPicturePathKey,
          kRecoveryProjectPathKey};
}

bool isStorableFileName(const QString &name) {
  return !name.isEmpty() && name.size() <= kMaxNameLength && name != QLatin1String(".") &&
         name != QLatin1String("..") && !name.contains(QLatin1Char('/')) &&
         !name.contains(QChar(0));
}

QString stateRowsProblem(const QMap<QString, QString> &rows) {
  const QStringList own = ownStateKeys();
  qsizetype others = 0;
  for (auto row = rows.cbegin(); row != rows.cend(); ++row) {
    if (row.key().size() > kMaxStateTextLength || row.value().size() > kMaxStateTextLength)
      return QStringLiteral("the editor state \"%1\" is longer than %2 characters")
          .arg(row.key().left(40))
          .arg(kMaxStateTextLength);
    if (!own.contains(row.key())) ++others;
  }
  if (others > kMaxStateRows)
    return QStringLiteral("the editor state holds %1 rows of other programs, more than %2")
        .arg(others)
        .arg(kMaxStateRows);
  return {};
}

QMap<QString, QString> toRows(const ProjectEditorState &state) {
  QMap<QString, QString> rows = state.additional;
  rows.insert(kViewKey, nameOf<MapView>(kViews, state.view));
  rows.insert(kDrawStyleKey, nameOf<DrawStyle>(kDrawStyles, state.drawStyle));
  rows.insert(kEditModeKey, nameOf<EditMode>(kEditModes, state.editMode));
  rows.insert(kCurrentElementKey, QString::number(state.currentElement));
  rows.insert(kCurrentHeightKey, QString::number(state.currentHeight));
  rows.insert(kHeightColoursKey, nameOf<qint16>(kHeightColourSets, state.heightColourMode));
  return rows;
}

std::optional<ProjectEditorState> fromRows(const QMap<QString, QString> &rows, QString *problem) {
  ProjectEditorState state;
  const std::pair<const QString &, bool> checks[] = {
      {kViewKey, readNamed<MapView>(rows, kViewKey, kViews, state.view)},
      {kDrawStyleKey, readNamed<DrawStyle>(rows, kDrawStyleKey, kDrawStyles, state.drawStyle)},
      {kEditModeKey, readNamed<EditMode>(rows, kEditModeKey, kEditModes, state.editMode)},
      {kCurrentElementKey, readInt16(rows, kCurrentElementKey, state.currentElement)},
      {kCurrentHeightKey, readInt16(rows, kCurrentHeightKey, state.currentHeight)},
      {kHeightColoursKey,
       readNamed<qint16>(rows, kHeightColoursKey, kHeightColourSets, state.heightColourMode)},
  };
  for (const auto &[key, ok] : checks) {
    if (ok) continue;
    *problem = QStringLiteral(
                   "the editor state \"%1\" has the value \"%2\", which this version "
                   "does not know")
                   .arg(key, rows.value(key).left(40));
    return std::nullopt;
  }
  for (auto row = rows.cbegin(); row != rows.cend(); ++row)
    if (!std::any_of(std::begin(checks), std::end(checks),
                     [&](const auto &check) { return check.first == row.key(); }))
      state.additional.insert(row.key(), row.value());
  return state;
}

}  // namespace vmm::project
