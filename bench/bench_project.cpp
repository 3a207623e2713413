// SPDX-License-Identifier: GPL-3.0-or-later
// Opening and saving a maximum-map project, against a picture import of the same JPEG
// and against a Varga export plus one write of the picture's bytes; its thumbnail against
// the opening.
#include "MaximumMap.h"

#include "catalogue/CatalogueDatabase.h"
#include "cli/Commands.h"
#include "mapfiles/MapTextWriter.h"
#include "mapfiles/PictureLoader.h"
#include "mapfiles/ProjectFile.h"
#include "session/EditorSession.h"

#include "Yardsticks.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QTemporaryDir>

#include <memory>
#include <stdexcept>

namespace vmm::bench {
namespace {

// A maximum map in an editor session: the maximum JPEG imported, every Sector assigned,
// and the same map saved once as a project.
struct ProjectFixture {
  QTemporaryDir folder;
  QString jpeg = writeMaximumJpeg(folder.path());
  QString project = QDir(folder.path()).filePath(QStringLiteral("maximum.vmap"));
  EditorSession session;

  ProjectFixture() {
    if (!session.useCatalogue(CatalogueDatabase()).ok) throw std::runtime_error("no catalogue");
    const PictureLoadResult picture = PictureLoader::load(jpeg);
    if (!picture.accepted) throw std::runtime_error(picture.message.toStdString());
    session.startMap(picture);
    // Not recorded as undo steps: tens of thousands of them would take the set-up minutes.
    session.history().restart(
        [this] { assignEverySector(session.document(), session.elementTable()); });
    if (!session.saveProject(project, session.editorState()).ok)
      throw std::runtime_error("the project cannot be saved");
  }
};

ProjectFixture &fixture() {
  static ProjectFixture instance;
  return instance;
}

// Everything opening checks, the picture decoded: what "Import Map Image" does of a JPEG.
void BM_ProjectOpen(benchmark::State &state) {
  ProjectFixture &f = fixture();
  for (auto _ : state) {
    const ProjectReadResult read = readProject(f.project);
    if (!read.ok()) {
      state.SkipWithError(qPrintable(read.problem));
      break;
    }
    benchmark::DoNotOptimize(read.content->elements.data());
  }
}
BENCHMARK(BM_ProjectOpen)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(vmm::bench::minTime(1.0))
    ->MeasureProcessCPUTime();

// `varga-map render --thumbnail 256` of the project, as a file manager runs it: the
// project read, its Terrain map drawn, scaled and written as a PNG. Beside BM_ProjectOpen.
void BM_ThumbnailOfProject(benchmark::State &state) {
  ProjectFixture &f = fixture();
  const QString output = QDir(f.folder.path()).filePath(QStringLiteral("thumbnail.png"));
  const QStringList arguments{f.project, QStringLiteral("--thumbnail"), QStringLiteral("256"),
                              QStringLiteral("-o"), output};
  for (auto _ : state)
    if (cli::runRender(arguments) != 0) {
      state.SkipWithError("no thumbnail");
      break;
    }
}
BENCHMARK(BM_ThumbnailOfProject)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(vmm::bench::minTime(1.0))
    ->MeasureProcessCPUTime();

// The same, then the map opened in a session as the editor does: planes stored, the
// surfaces loaded and both coloured views repainted.
void BM_ProjectOpenIntoSession(benchmark::State &state) {
  ProjectFixture &f = fixture();
  EditorSession session;
  session.useCatalogue(CatalogueDatabase());
  for (auto _ : state) {
    const ProjectReadResult read = readProject(f.project);
    if (!read.ok()) {
      state.SkipWithError(qPrintable(read.problem));
      break;
    }
    session.openProject(*read.content);
    benchmark::DoNotOptimize(session.surfaces().surface(MapView::Terrain).constBits());
  }
}
BENCHMARK(BM_ProjectOpenIntoSession)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(vmm::bench::minTime(1.0));

void BM_ProjectSave(benchmark::State &state) {
  ProjectFixture &f = fixture();
  const QString path = QDir(f.folder.path()).filePath(QStringLiteral("saved.vmap"));
  const ProjectEditorState editorState = f.session.editorState();
  for (auto _ : state) {
    const FileWriteResult written = f.session.saveProject(path, editorState);
    if (!written.ok) {
      state.SkipWithError(qPrintable(written.errorText));
      break;
    }
  }
}
BENCHMARK(BM_ProjectSave)->Unit(benchmark::kMillisecond)->MinTime(vmm::bench::minTime(1.0));

// The yardsticks of the save: the Varga export command's file, and the picture's bytes
// written once, both through QSaveFile as every write is.
void BM_VargaExportFile(benchmark::State &state) {
  ProjectFixture &f = fixture();
  const QString path = QDir(f.folder.path()).filePath(QStringLiteral("maximum.txt"));
  for (auto _ : state)
    if (!SaveAsVargaTXT(f.session.document(), path).ok) {
      state.SkipWithError("the Varga file cannot be written");
      break;
    }
}
BENCHMARK(BM_VargaExportFile)->Unit(benchmark::kMillisecond)->MinTime(vmm::bench::minTime(0.5));

void BM_PictureBytesWrite(benchmark::State &state) {
  ProjectFixture &f = fixture();
  const QString path = QDir(f.folder.path()).filePath(QStringLiteral("copy.jpg"));
  const QByteArray bytes = f.session.pictureBytes();
  for (auto _ : state)
    if (!writeFileAtomically(path, bytes).ok) {
      state.SkipWithError("the picture cannot be written");
      break;
    }
  state.SetBytesProcessed(qint64(state.iterations()) * bytes.size());
}
BENCHMARK(BM_PictureBytesWrite)->Unit(benchmark::kMillisecond)->MinTime(vmm::bench::minTime(0.5));

}  // namespace
}  // namespace vmm::bench
