// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/EditorModes.h"
#include "document/MapGeometry.h"
#include "files/FileWriteResult.h"
#include "mapfiles/PictureLoader.h"

#include <QMap>
#include <QString>

#include <optional>
#include <vector>

namespace vmm {

// A map project (.vmap): one SQLite file that keeps the picture's bytes, the map and
// the editor's state, so that a map in progress opens anywhere as it was saved. The
// tables, columns and version rules are described in docs/project-format.md.

// The format this program writes (PRAGMA user_version); it reads this one and older.
inline constexpr int kProjectFormatVersion = 1;
// PRAGMA application_id of every project: "VMAP".
inline constexpr qint32 kProjectApplicationId = 0x564D4150;
// The largest project file opened: the largest picture file and room for the rest.
inline constexpr qint64 kMaxProjectBytes = PictureLoader::kMaxFileBytes + qint64(16) * 1024 * 1024;

// What the editor restores beside the map. Every field is one row of the editor_state
// table; `additional` holds the rows this version has no field for.
struct ProjectEditorState {
  MapView view = MapView::Terrain;
  DrawStyle drawStyle = DrawStyle::Solid;
  EditMode editMode = EditMode::DrawSector;
  qint16 currentElement = 0;
  qint16 currentHeight = 0;
  qint16 heightColourMode = 0;  // 1 the "Heightcolour" set, 0 "Heightcolour2"
  // Further keys (the map view's zoom and scroll position go here): written as
  // given, read back as found, never refused, so adding one needs no new format.
  QMap<QString, QString> additional;
};

// A whole project in memory. Read from a file, everything in it has been checked.
struct ProjectContent {
  QString writtenBy;          // "Varga Map Maker 0.86": the program that saved it
  PictureLoadResult picture;  // the picture; fileBytes and fileName are what is stored
  qint16 XQuads = 0;
  qint16 YQuads = 0;
  qint16 TotalQuads = 0;
  // Element and height of Sector s of Quad q at [q * 16 + s]; both of the same length,
  // a whole number of Quads. Quads beyond them are unassigned.
  std::vector<qint16> elements;
  std::vector<qint16> heights;
  ProjectEditorState state;

  int storedQuads() const { return static_cast<int>(elements.size() / kSectorsPerQuad); }
};

// The outcome of opening a project: the content, or why it was refused.
struct ProjectReadResult {
  std::optional<ProjectContent> content;
  QString problem;  // what is wrong, one sentence; empty when the content is there

  bool ok() const { return content.has_value(); }
  // The message for the user: names the file and what is wrong.
  QString messageText(const QString &path) const;
  static QString messageTitle() { return QStringLiteral("Open Map Project"); }
};

// Reads and checks everything of the project at `path` (the picture with the rules of
// Import Map Image) without changing anything else. Memory stays bounded by the file's
// size, whatever sizes the file declares.
ProjectReadResult readProject(const QString &path);

// Writes `content` to `path`: the database is built in a temporary file beside `path`
// and renamed over it only once it is complete and on the disk, so a failure leaves any
// earlier file byte for byte.
FileWriteResult writeProject(const ProjectContent &content, const QString &path);

// Whether the file starts as an SQLite database does (it may still not be a project).
bool looksLikeProject(const QString &path);

}  // namespace vmm
