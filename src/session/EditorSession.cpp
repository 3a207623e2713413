// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/EditorSession.h"

#include "catalogue/ElementRecord.h"
#include "edits/FloodFill.h"
#include "edits/RandomSource.h"
#include "edits/Replace.h"
#include "mapfiles/PictureLoader.h"
#include "mapfiles/ProjectSchema.h"

#include <algorithm>

namespace vmm {

namespace {
// The brush travels with the project as one of the editor-state keys readers may ignore.
const QString &kBrushSizeKey = project::kBrushSizeKey;
}  // namespace

EditorSession::EditorSession(QObject *parent)
    : QObject(parent),
      history_(std::make_unique<MapHistory>(document_)),
      statistics_(std::make_unique<MapStatistics>(document_)),
      painter_(std::make_unique<SectorPainter>(
          document_, elementTable_, heightColours_, [this] { return drawStyle_; }, &surfaces_)),
      random_(std::make_unique<MersenneRandomSource>()) {}

EditorSession::~EditorSession() = default;

void EditorSession::setRandomSource(std::unique_ptr<RandomSource> random) {
  random_ = std::move(random);
}

CatalogueResult EditorSession::useCatalogue(CatalogueDatabase catalogue, qint16 heightColourMode) {
  catalogue_ = std::move(catalogue);
  heightColourMode_ = heightColourMode;
  return LoadElements();
}

CatalogueResult EditorSession::LoadElements() {
  return catalogue_.LoadElements(elementTable_, heightColours_, heightColourMode_);
}

CatalogueResult EditorSession::setHeightColourMode(qint16 mode) {
  heightColourMode_ = mode;
  return LoadElements();
}

void EditorSession::setEditMode(EditMode mode) {
  if (mode == editMode_) return;
  editMode_ = mode;
  emit editModeChanged(mode);
}

void EditorSession::setDrawStyle(DrawStyle style) {
  if (style == drawStyle_) return;
  drawStyle_ = style;
  emit drawStyleChanged(style);
}

void EditorSession::setBrushSize(int size) {
  if (size == brushSize_ || !isBrushSize(size)) return;
  brushSize_ = size;
  emit brushSizeChanged(size);
}

std::optional<ElementRecord> EditorSession::selectElementByName(const QString &name) {
  if (name.isEmpty()) return std::nullopt;
  std::optional<ElementRecord> record = catalogue_.elementByName(name);
  if (!record) return std::nullopt;
  document_.CurrentDrawElement = record->elementid;
  emit elementSelected(*record);
  return record;
}

ColourWriteResult EditorSession::recolourElement(const QString &name, quint32 colour) {
  const ColourWriteResult written = catalogue_.writeElementColour(name, colour);
  if (!written.ok) return written;
  ChangeElementColour(elementTable_, written.elementid, colour);
  emit elementColourChanged(written.elementid);
  return written;
}

QString EditorSession::elementName(qint16 id) const {
  // An id the catalogue does not hold shows as its number rather than reading past the table.
  return elementTable_.hasElement(id) ? elementTable_.row(id).name : QString::number(id);
}

void EditorSession::startMap(const PictureLoadResult &picture) {
  {
    HistoryStep step(history_.get(), QStringLiteral("Import Map Image"));
    document_.clearPlanes();
  }
  surfaces_.load(picture.picture);
  document_.XQuads = static_cast<qint16>(picture.xQuads);
  document_.YQuads = static_cast<qint16>(picture.yQuads);
  document_.TotalQuads = static_cast<qint16>(document_.YQuads * document_.XQuads);
  document_.mapReady = true;
  pictureBytes_ = picture.fileBytes;
  pictureFileName_ = picture.fileName;
  projectPath_.clear();
  additionalState_.clear();
  setSelection(SectorSelection(SectorGrid(document_)));
}

ProjectContent EditorSession::projectContent(const ProjectEditorState &state) const {
  ProjectContent content;
  content.writtenBy = QStringLiteral("Varga Map Maker " VMM_VERSION);
  content.picture.fileBytes = pictureBytes_;
  content.picture.fileName = pictureFileName_;
  content.XQuads = document_.XQuads;
  content.YQuads = document_.YQuads;
  content.TotalQuads = document_.TotalQuads;
  content.state = state;
  // Every Quad the array holds: the map's own, the rows a map text import added, and
  // any assigned Quad beyond both, which the views and a later export may still show.
  int quads = std::max<int>(document_.TotalQuads, document_.XQuads * document_.YQuads);
  for (int quad = kQuadCapacity - 1; quad >= quads; --quad) {
    bool assigned = false;
    for (int sector = 0; sector < kSectorsPerQuad && !assigned; ++sector)
      assigned = document_.value(quad, sector, Plane::Element) != kUnassigned ||
                 document_.value(quad, sector, Plane::Height) != kUnassigned;
    if (assigned) quads = quad + 1;
  }
  quads = std::min(quads, kQuadCapacity);
  content.elements = document_.planeValues(Plane::Element, quads);
  content.heights = document_.planeValues(Plane::Height, quads);
  return content;
}

ProjectEditorState EditorSession::editorState() const {
  ProjectEditorState state;
  state.additional = additionalState_;
  state.drawStyle = drawStyle_;
  state.editMode = editMode_;
  state.currentElement = document_.CurrentDrawElement;
  state.currentHeight = document_.CurrentDrawHeight;
  state.heightColourMode = heightColourMode_;
  state.additional.insert(kBrushSizeKey, QString::number(brushSize_));
  return state;
}

CatalogueResult EditorSession::openProject(const ProjectContent &content, bool drawViews) {
  history_->restart([&] {
    document_.clearPlanes();
    const int quads = content.storedQuads();
    for (int quad = 0; quad < quads; ++quad)
      for (int sector = 0; sector < kSectorsPerQuad; ++sector) {
        const std::size_t at = std::size_t(quad) * kSectorsPerQuad + std::size_t(sector);
        document_.setValue(quad, sector, Plane::Element, content.elements[at]);
        document_.setValue(quad, sector, Plane::Height, content.heights[at]);
      }
    document_.TotalQuads = content.TotalQuads;
  });
  surfaces_.load(content.picture.picture);
  document_.XQuads = content.XQuads;
  document_.YQuads = content.YQuads;
  pictureBytes_ = content.picture.fileBytes;
  pictureFileName_ = content.picture.fileName;
  projectPath_.clear();
  setSelection(SectorSelection(SectorGrid(document_)));

  const ProjectEditorState &state = content.state;
  additionalState_ = state.additional;
  // A size this version has no brush for leaves the brush as it is.
  setBrushSize(additionalState_.take(kBrushSizeKey).toInt());
  setEditMode(state.editMode);
  setDrawStyle(state.drawStyle);
  document_.CurrentDrawElement = state.currentElement;
  document_.CurrentDrawHeight = state.currentHeight;
  heightColourMode_ = state.heightColourMode;
  const CatalogueResult loaded = LoadElements();
  if (drawViews) repaintWholeMap();
  return loaded;
}

FileWriteResult EditorSession::saveProject(const QString &path, const ProjectEditorState &state) {
  const FileWriteResult written = writeProject(projectContent(state), path);
  if (written.ok) {
    projectPath_ = path;
    history_->markSaved();
  }
  return written;
}

QRect EditorSession::paintCurrentSector(Plane plane, int strokeId) {
  HistoryStep step(history_.get(), erasesSectors(editMode_) ? tr("Erase") : tr("Paint"),
                   StepRepaint::Sectors, strokeId);
  const bool brush =
      brushSize_ > 1 && (editMode_ == EditMode::DrawSector || editMode_ == EditMode::EraseSector);
  // With a selection, the Sectors of the brush or the Quad go through it one by one.
  const bool confined = !fittedSelection().isEmpty();
  QRect changed;
  if (brush || confined) {
    const SectorGrid grid(document_);
    const SectorCell centre = grid.cell({document_.CurrentQuad, document_.CurrentSect});
    const SectorSpan span = worksOnQuads(editMode_) ? rectangleSpan(centre, centre, true)
                                                    : brushSpan(centre, brush ? brushSize_ : 1);
    const std::vector<SectorAddress> sectors = selection_.confine(sectorsOf(grid, span));
    changed =
        applyToSectors(*painter_, document_, plane, editMode_ == EditMode::EraseSector, sectors);
  } else {
    changed = applyEditMode(*painter_, document_, plane, editMode_);
  }
  notePaintedElement(plane, erasesSectors(editMode_));
  return changed;
}

void EditorSession::notePaintedElement(Plane plane, bool erasing) {
  if (!erasing && plane == Plane::Element && document_.CurrentDrawElement != kUnassigned)
    emit elementPainted(document_.CurrentDrawElement);
}

QRect EditorSession::paintSectors(Plane plane, std::span<const SectorAddress> sectors, bool erase) {
  QRect changed;
  {
    const HandPaintScope byHand(document_);
    changed = applyToSectors(*painter_, document_, plane, erase, sectors);
  }
  notePaintedElement(plane, erase);
  return changed;
}

QRect EditorSession::paintRectangle(Plane plane, SectorAddress corner, SectorAddress opposite) {
  const SectorGrid grid(document_);
  const SectorSpan span =
      rectangleSpan(grid.cell(corner), grid.cell(opposite), worksOnQuads(editMode_));
  HistoryStep step(history_.get(), QStringLiteral("Rectangle"), StepRepaint::Sectors);
  return paintSectors(plane, fittedSelection().confine(sectorsOf(grid, span)),
                      erasesSectors(editMode_));
}

QRect EditorSession::rectangleOutline(SectorAddress corner, SectorAddress opposite) const {
  const SectorGrid grid(document_);
  return rectangleSpan(grid.cell(corner), grid.cell(opposite), worksOnQuads(editMode_))
      .clippedTo(grid)
      .pixelOutline();
}

QRect EditorSession::paintLine(Plane plane, SectorAddress from, SectorAddress to) {
  const SectorGrid grid(document_);
  const std::vector<SectorAddress> sectors = fittedSelection().confine(
      lineSectors(grid, grid.cell(from), grid.cell(to), brushSize_, worksOnQuads(editMode_)));
  HistoryStep step(history_.get(), QStringLiteral("Line"), StepRepaint::Sectors);
  return paintSectors(plane, sectors, erasesSectors(editMode_));
}

QRect EditorSession::fillArea(Plane plane, SectorAddress start) {
  const qint16 value = drawValue(document_, plane);
  if (value == kUnassigned || document_.value(start.quad, start.sector, plane) == value) return {};
  const std::vector<SectorAddress> region =
      floodRegion(document_, plane, start, &fittedSelection());
  HistoryStep step(history_.get(), QStringLiteral("Fill Area"), StepRepaint::Sectors);
  return paintSectors(plane, region, false);
}

int EditorSession::replaceValue(Plane plane, qint16 from, qint16 to) {
  HistoryStep step(history_.get(), replaceCaption(plane));
  if (!fittedSelection().isEmpty())
    return vmm::replaceValue(document_, plane, from, to, selection_.sectors());
  return vmm::replaceValue(document_, plane, from, to);
}

QString EditorSession::replaceCaption(Plane plane) {
  return plane == Plane::Element ? QStringLiteral("Replace Element")
                                 : QStringLiteral("Replace Height");
}

int EditorSession::runEditCommand(EditCommand command) {
  HistoryStep step(history_.get(), editCommandCaption(command));
  return applyEditCommand(document_, command, *random_);
}

QRect EditorSession::repaintWholePlane(Plane plane) {
  return painter_->repaintMap(plane);
}

QImage EditorSession::reducedView(Plane plane, QSize size) {
  return painter_->reducedView(plane, size);
}

std::array<QRect, 2> EditorSession::repaintWholeMap() {
  document_.mapReady = false;
  const QRect heights = repaintWholePlane(Plane::Height);
  const QRect elements = repaintWholePlane(Plane::Element);
  document_.mapReady = true;
  return {elements, heights};
}

std::array<QRect, 2> EditorSession::repaintSectors(const std::vector<SectorEdit> &edits,
                                                   StepRepaint repaint) {
  // The values are already in the array: with mapReady off the colouring routines
  // only draw them. Each cell gets the picture back and the step's old value first,
  // and a redone step then paints its value over that as the mouse did, so a
  // transparent colour laid over another comes back as it was painted.
  const bool ready = document_.mapReady;
  const bool painting = document_.mousePainting;
  document_.mapReady = false;
  std::array<QRect, 2> changed;
  for (const SectorEdit &edit : edits) {
    const Plane plane = edit.planeValue();
    const qint16 value = document_.value(edit.quad, edit.sector, plane);
    const bool redone = value == edit.newValue && value != edit.oldValue;
    QRect &area = changed[static_cast<std::size_t>(plane)];
    area |= painter_->eraseSquare(plane, edit.quad, edit.sector);
    if (value == kUnassigned) continue;
    document_.mousePainting = false;
    if (redone && edit.oldValue != kUnassigned && repaint == StepRepaint::Sectors)
      area |= painter_->colourSquare(plane, edit.quad, edit.sector, edit.oldValue);
    document_.mousePainting = redone;
    area |= painter_->colourSquare(plane, edit.quad, edit.sector, value);
  }
  document_.mousePainting = painting;
  document_.mapReady = ready;
  return changed;
}

}  // namespace vmm
