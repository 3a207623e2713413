// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "catalogue/CatalogueDatabase.h"
#include "catalogue/CatalogueTables.h"
#include "document/MapDocument.h"
#include "document/MapHistory.h"
#include "edits/AreaShapes.h"
#include "edits/EditCommand.h"
#include "edits/SectorBlock.h"
#include "edits/SectorSelection.h"
#include "mapfiles/ProjectFile.h"
#include "mapview/EditDispatch.h"
#include "mapview/MapSurfaces.h"
#include "mapview/SectorPainter.h"
#include "session/MapStatistics.h"

#include <QObject>
#include <QRect>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <vector>

namespace vmm {

class RandomSource;
struct ElementRecord;
struct PictureLoadResult;

// Everything the editor's windows share for one run, without any window: the map
// document and its undo history, the catalogue and its in-memory tables, the three
// view surfaces and the painter that keeps them in step with the document, the edit
// mode, draw style and height colour set, and the random source of the randomise
// commands. The main window owns one; the command-line tool builds one per command.
// Nothing here refreshes a screen: operations return what changed.
class EditorSession : public QObject {
  Q_OBJECT

 public:
  explicit EditorSession(QObject *parent = nullptr);
  ~EditorSession() override;

  MapDocument &document() { return document_; }
  const MapDocument &document() const { return document_; }
  MapHistory &history() { return *history_; }
  const MapHistory &history() const { return *history_; }
  // Sectors per element and per height, following every change of the document.
  const MapStatistics &statistics() const { return *statistics_; }
  CatalogueDatabase &catalogue() { return catalogue_; }
  const CatalogueDatabase &catalogue() const { return catalogue_; }
  ElementTable &elementTable() { return elementTable_; }
  const ElementTable &elementTable() const { return elementTable_; }
  HeightColours &heightColours() { return heightColours_; }
  const HeightColours &heightColours() const { return heightColours_; }
  MapSurfaces &surfaces() { return surfaces_; }
  const MapSurfaces &surfaces() const { return surfaces_; }
  SectorPainter &painter() { return *painter_; }
  RandomSource &random() { return *random_; }
  // The generator behind the randomise commands (tests give a predictable one).
  void setRandomSource(std::unique_ptr<RandomSource> random);

  // Uses `catalogue` from now on and loads its tables with the height colour set
  // `heightColourMode` (see heightColourMode()).
  CatalogueResult useCatalogue(CatalogueDatabase catalogue, qint16 heightColourMode = 0);
  // Reloads ElementTable and HeightColours from the catalogue with the current colour set.
  CatalogueResult LoadElements();
  // 1 paints heights with the "Heightcolour" set, 0 with "Heightcolour2" (the gradient).
  qint16 heightColourMode() const { return heightColourMode_; }
  CatalogueResult setHeightColourMode(qint16 mode);

  EditMode editMode() const { return editMode_; }
  void setEditMode(EditMode mode);
  DrawStyle drawStyle() const { return drawStyle_; }
  void setDrawStyle(DrawStyle style);
  // The brush of Draw Sector and Erase Sector, in Sectors square (one of kBrushSizes;
  // other sizes are ignored).
  int brushSize() const { return brushSize_; }
  void setBrushSize(int size);

  // The element the catalogue names `name` becomes the one to paint with; nothing
  // changes (and nothing is returned) for an empty or unknown name.
  std::optional<ElementRecord> selectElementByName(const QString &name);
  // The element's name, or its number when the catalogue does not hold it.
  QString elementName(qint16 id) const;
  // Stores a new colour for the element called `name` in the catalogue and the element
  // table, and tells the windows that show element colours (elementColourChanged).
  ColourWriteResult recolourElement(const QString &name, quint32 colour);

  // A new map on an accepted picture: nothing assigned (one undo step), the three
  // surfaces showing the picture, the map's size taken from it, ready to paint. The
  // map belongs to no project.
  void startMap(const PictureLoadResult &picture);

  // The picture file the map is painted on, as it was read, and its file name: what a
  // project keeps.
  const QByteArray &pictureBytes() const { return pictureBytes_; }
  QString pictureFileName() const { return pictureFileName_; }

  // The project file the map was opened from or last saved to; empty when none.
  QString projectPath() const { return projectPath_; }
  void setProjectPath(const QString &path) { projectPath_ = path; }
  // The map, its picture and `state` as a project.
  ProjectContent projectContent(const ProjectEditorState &state) const;
  // The editor state the session holds (view: Terrain; the window adds its own), with
  // the keys of the opened project this version has no field for.
  ProjectEditorState editorState() const;
  // Replaces the map with a project already read and checked: picture, planes, size and
  // editor state, both coloured views repainted, a history of its own that starts clean.
  // The project path is not set (a recovered copy has none). Returns the outcome of
  // loading the project's height colour set.
  // With `drawViews` off the Terrain and Elevation views are left for the caller to paint
  // (a command that draws one view only).
  CatalogueResult openProject(const ProjectContent &content, bool drawViews = true);
  // Writes the map as a project; on success the map is clean and belongs to `path`.
  FileWriteResult saveProject(const QString &path, const ProjectEditorState &state);

  // One left-button paint in the current edit mode at the document's current Sector,
  // on `plane`, recorded as part of stroke `strokeId`: the whole brush in Draw Sector
  // and Erase Sector. Returns the changed area.
  QRect paintCurrentSector(Plane plane, int strokeId);

  // The area tools, each one undo step. Every Sector they reach is painted or erased
  // as Draw Sector and Erase Sector do it (draw style included) by the current mode;
  // Fill Area paints. Each returns the changed area of the view of `plane`.
  //
  // The rectangle with the two Sectors as opposite corners, whole Quads in the Quad
  // modes ("Rectangle").
  QRect paintRectangle(Plane plane, SectorAddress corner, SectorAddress opposite);
  // The rubber band of that rectangle, in surface pixels.
  QRect rectangleOutline(SectorAddress corner, SectorAddress opposite) const;
  // A straight line of Sectors from `from` to `to` with the brush at each, or of
  // the Quads it crosses in the Quad modes ("Line").
  QRect paintLine(Plane plane, SectorAddress from, SectorAddress to);
  // The bucket fill: the region of `start`'s value around it takes the current element
  // or height ("Fill Area"). Nothing changes when `start` already holds it, or when
  // there is no element or height to paint with.
  QRect fillArea(Plane plane, SectorAddress start);
  // Every Sector of the plane holding `from` takes `to`, on the whole array ("Replace
  // Element", "Replace Height"); the views are not repainted. Returns the number of
  // Sectors changed.
  int replaceValue(Plane plane, qint16 from, qint16 to);
  static QString replaceCaption(Plane plane);
  // Runs a whole-map command as one undo step; the views are not repainted. Returns
  // the number of Sectors it changed.
  int runEditCommand(EditCommand command);

  // The selection: Sectors of the picture the area tools, the brush, Fill Area and the
  // replace commands keep to while it is not empty. A new map starts with none, and a
  // project keeps none. Selecting is no step of the history.
  const SectorSelection &selection() const { return selection_; }
  // The selection while it holds Sectors of the map as it stands; nothing otherwise.
  const SectorSelection *activeSelection() const;
  void selectRectangle(SectorAddress corner, SectorAddress opposite, SelectionChange how);
  void selectAll();
  void selectNone();
  // Every Sector of the picture holding `value` on `plane`.
  void selectSame(Plane plane, qint16 value, SelectionChange how);
  // The magic wand: the Sectors joined to `start` holding its value on `plane`.
  void selectJoined(Plane plane, SectorAddress start, SelectionChange how);
  void setSelection(const SectorSelection &selection);

  // The selection's Sectors with both planes (nothing changes).
  SectorBlock copySelection() const;
  // Each of these is one step of the history named for it, repaints only what changed
  // and returns the changed area of each plane's view, indexed by Plane. Delete and
  // Cut make the selection's Sectors unassigned; Cut hands back what it took.
  std::array<QRect, 2> deleteSelection();
  std::array<QRect, 2> cutSelection(SectorBlock &taken);
  // Stamps the block with its top-left cell at `topLeft` (unassigned cells leave what is
  // under them, cells off the picture are left out); the stamped cells become the
  // selection.
  std::array<QRect, 2> pasteBlock(const SectorBlock &block, SectorCell topLeft);
  // Moves the selected Sectors by whole cells, as far as the picture's edges allow.
  std::array<QRect, 2> moveSelection(int columns, int rows);
  // Flips or turns the selection in place about its bounding box's top-left corner.
  std::array<QRect, 2> turnSelection(BlockTurn turn);

  // The whole-map repaint of the view of `plane` (picture, grid, every assigned Sector).
  QRect repaintWholePlane(Plane plane);
  // The view of `plane` as repaintWholePlane would draw it, reduced to `size`, drawn
  // straight at that size (SectorPainter::reducedView).
  QImage reducedView(Plane plane, QSize size);
  // Both coloured views repainted after a change to the whole array; their areas, indexed by
  // Plane.
  std::array<QRect, 2> repaintWholeMap();
  // Redraws the Sectors a step wrote, as `repaint` says (Sectors or SectorsOverPicture); the
  // changed area of each plane's view, indexed by Plane.
  std::array<QRect, 2> repaintSectors(const std::vector<SectorEdit> &edits, StepRepaint repaint);

 signals:
  void editModeChanged(EditMode mode);
  void drawStyleChanged(DrawStyle style);
  void brushSizeChanged(int size);
  // The selection changed (its outline and size are shown anew).
  void selectionChanged();
  // The element to paint with was chosen by name (lists, tree).
  void elementSelected(const ElementRecord &record);
  // A left-button paint on the element plane drew with this element.
  void elementPainted(qint16 elementid);
  // The element's colour in the catalogue changed.
  void elementColourChanged(qint16 elementid);

 private:
  // Paints or erases the Sectors as the mouse does (a hollow cell is cleared first).
  QRect paintSectors(Plane plane, std::span<const SectorAddress> sectors, bool erase);
  // Runs `change` as one step named `name` and repaints the Sectors it changed (both
  // views wholesale when most of the map did).
  std::array<QRect, 2> changeAndRepaint(const QString &name, const std::function<void()> &change);
  // The selection fitted to the current picture, emptied when the picture changed size.
  SectorSelection &fittedSelection();
  // The selection's Sectors made unassigned and `block` stamped with its top-left Sector at
  // `topLeft`, as one step `name`; what was stamped becomes the selection.
  std::array<QRect, 2> restampSelection(const QString &name, const SectorBlock &block,
                                        SectorCell topLeft);
  // Recent elements follow what is painted, not what is erased.
  void notePaintedElement(Plane plane, bool erasing);

  MapDocument document_;
  std::unique_ptr<MapHistory> history_;
  std::unique_ptr<MapStatistics> statistics_;
  CatalogueDatabase catalogue_;
  ElementTable elementTable_;
  HeightColours heightColours_;
  qint16 heightColourMode_ = 0;
  MapSurfaces surfaces_;
  std::unique_ptr<SectorPainter> painter_;
  std::unique_ptr<RandomSource> random_;
  EditMode editMode_ = EditMode::DrawSector;
  DrawStyle drawStyle_ = DrawStyle::Solid;
  int brushSize_ = 1;
  QByteArray pictureBytes_;
  QString pictureFileName_;
  QString projectPath_;
  QMap<QString, QString> additionalState_;
  SectorSelection selection_;
};

}  // namespace vmm
