#include "session/EditorSession.h"

#include "catalogue/ElementRecord.h"
#include "edits/RandomSource.h"
#include "mapview/PictureLoader.h"

#include <algorithm>

namespace vmm {

EditorSession::EditorSession(QObject *parent)
    : QObject(parent),
      history_(std::make_unique<MapHistory>(document_)),
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

std::optional<ElementRecord> EditorSession::selectElementByName(const QString &name) {
  if (name.isEmpty()) return std::nullopt;
  std::optional<ElementRecord> record = catalogue_.elementByName(name);
  if (!record) return std::nullopt;
  document_.CurrentDrawElement = record->elementid;
  emit elementSelected(*record);
  return record;
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
  return state;
}

CatalogueResult EditorSession::openProject(const ProjectContent &content) {
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

  const ProjectEditorState &state = content.state;
  additionalState_ = state.additional;
  setEditMode(state.editMode);
  setDrawStyle(state.drawStyle);
  document_.CurrentDrawElement = state.currentElement;
  document_.CurrentDrawHeight = state.currentHeight;
  heightColourMode_ = state.heightColourMode;
  const CatalogueResult loaded = LoadElements();
  repaintWholeMap();
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
  const bool erasing = editMode_ == EditMode::EraseSector || editMode_ == EditMode::EraseQuad;
  HistoryStep step(history_.get(), erasing ? tr("Erase") : tr("Paint"), StepRepaint::Sectors,
                   strokeId);
  return applyEditMode(*painter_, document_, plane, editMode_);
}

int EditorSession::runEditCommand(EditCommand command) {
  HistoryStep step(history_.get(), editCommandCaption(command));
  return applyEditCommand(document_, command, *random_);
}

QRect EditorSession::repaintWholePlane(Plane plane) {
  return painter_->repaintMap(plane);
}

void EditorSession::repaintWholeMap() {
  document_.mapReady = false;
  repaintWholePlane(Plane::Height);
  repaintWholePlane(Plane::Element);
  document_.mapReady = true;
}

std::array<QRect, 2> EditorSession::repaintSectors(const std::vector<SectorEdit> &edits) {
  // The values are already in the array: with mapReady off the colouring routines
  // only draw them. Each cell gets the picture back first, so a transparent colour
  // is not laid over the one it replaces.
  const bool ready = document_.mapReady;
  document_.mapReady = false;
  std::array<QRect, 2> changed;
  for (const SectorEdit &edit : edits) {
    const Plane plane = edit.planeValue();
    const qint16 value = document_.value(edit.quad, edit.sector, plane);
    QRect &area = changed[static_cast<std::size_t>(plane)];
    area |= painter_->eraseSquare(plane, edit.quad, edit.sector);
    if (value != kUnassigned) area |= painter_->colourSquare(plane, edit.quad, edit.sector, value);
  }
  document_.mapReady = ready;
  return changed;
}

}  // namespace vmm
