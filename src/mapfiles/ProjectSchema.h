// SPDX-License-Identifier: GPL-3.0-or-later
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

// Keys the programs write beside those fields: the editor's brush, zoom and scroll
// position and the recovery copy's paths.
inline const QString kBrushSizeKey = QStringLiteral("brush_size");
inline const QString kZoomKey = QStringLiteral("zoom");
inline const QString kScrollXKey = QStringLiteral("scroll_x");
inline const QString kScrollYKey = QStringLiteral("scroll_y");
inline const QString kRecoveryPicturePathKey = QStringLiteral("recovery_picture_path");
inline const QString kRecoveryProjectPathKey = QStringLiteral("recovery_project_path");

// Every key above: the rows this program adds, which do not count against kMaxStateRows.
QStringList ownStateKeys();

// The editor state as editor_state rows, and back. fromRows() names the first row
// whose value it cannot take in `problem` and returns nothing.
QMap<QString, QString> toRows(const ProjectEditorState &state);
std::optional<ProjectEditorState> fromRows(const QMap<QString, QString> &rows, QString *problem);

// The bounds every text is held to, so that none can grow without limit. The writer keeps
// to them and the reader takes anything within them: whatever is saved opens again.
inline constexpr int kMaxNameLength = 255;  // picture file name, written_by
inline constexpr int kMaxStateRows = 1000;  // besides ownStateKeys()
// A key or a value; a path the system opens is never longer (4096 bytes on Linux, 32767
// characters on Windows), so a path is stored in full.
inline constexpr int kMaxStateTextLength = 32768;

// Whether `name` can be stored as the picture's file name: any name a file can have, of at
// most kMaxNameLength characters, without a '/' or NUL, and not "." or "..". Characters that
// are unsafe elsewhere are kept as given and replaced only when the picture is written out.
bool isStorableFileName(const QString &name);

// Why the editor state cannot be stored as it is (too many rows, a key or value too long),
// or an empty text.
QString stateRowsProblem(const QMap<QString, QString> &rows);

}  // namespace vmm::project
