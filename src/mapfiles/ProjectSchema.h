#pragma once

#include "mapfiles/ProjectFile.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <span>

namespace vmm::project {

// One table of the format: its name, its columns in order and the statement that
// creates it.
struct TableShape {
  QString name;
  QStringList columns;
  QString createStatement;
};

// The four tables of format 1. A project holds exactly these columns in them; other
// tables are ignored.
std::span<const TableShape> tables();

// The plane names in the planes table.
inline const QString kElementPlane = QStringLiteral("element");
inline const QString kHeightPlane = QStringLiteral("height");

// The editor_state keys with a field in ProjectEditorState.
inline const QString kViewKey = QStringLiteral("view");
inline const QString kDrawStyleKey = QStringLiteral("draw_style");
inline const QString kEditModeKey = QStringLiteral("edit_mode");
inline const QString kCurrentElementKey = QStringLiteral("current_element");
inline const QString kCurrentHeightKey = QStringLiteral("current_height");
inline const QString kHeightColoursKey = QStringLiteral("height_colours");

// The editor state as editor_state rows, and back. fromRows() names the first row
// whose value it cannot take in `problem` and returns nothing.
QMap<QString, QString> toRows(const ProjectEditorState &state);
std::optional<ProjectEditorState> fromRows(const QMap<QString, QString> &rows, QString *problem);

// The bounds a reader holds every text to, so that none can grow without limit.
inline constexpr int kMaxNameLength = 255;  // picture file name, written_by
inline constexpr int kMaxStateRows = 1000;
inline constexpr int kMaxStateTextLength = 1000;  // a key or a value

}  // namespace vmm::project
