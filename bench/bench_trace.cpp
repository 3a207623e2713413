// SPDX-License-Identifier: GPL-3.0-or-later
// Paint from the picture: how well generated battlefields are painted from 1% of their
// Sectors, and what `varga-map trace` of a maximum map costs beside `varga-map render`.
#include "catalogue/CatalogueDatabase.h"
#include "files/FileWriteResult.h"
#include "mapfiles/PictureExport.h"
#include "mapfiles/PictureLoader.h"
#include "mapfiles/ProjectFile.h"
#include "session/EditorSession.h"
#include "session/PictureTracing.h"
#include "support/TerrainPicture.h"
#include "ui/docks/PaintFromPictureWindow.h"
#include "ui/main/MainWindow.h"
#include "ui/mapview/MapViewWindow.h"
#include "ui/mapview/TracePreview.h"

#include "QuietDialogs.h"
#include "Yardsticks.h"

#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

#include <map>
#include <memory>
#include <stdexcept>

namespace vmm::bench {
namespace {

using test::TerrainPicture;

constexpr double kExampleShare = 0.01;
constexpr float kMinConfidence = 0.6f;

// A generated battlefield the size of the sample picture (1200 x 840, 10,080 Sectors).
const TerrainPicture &battlefield(unsigned seed) {
  static std::map<unsigned, TerrainPicture> made;
  auto found = made.find(seed);
  if (found == made.end()) found = made.emplace(seed, TerrainPicture::generate(30, 21, seed)).first;
  return found->second;
}

// The shares of the Sectors without an example painted right and painted wrong at a
// minimum confidence; the rest stay unsure.
void countShares(benchmark::State &state, const TerrainPicture &made,
                 const std::vector<qint16> &examples, const TraceSuggestions &suggestions,
                 float minimum, const char *suffix) {
  double open = 0, right = 0, wrong = 0;
  for (std::size_t cell = 0; cell < examples.size(); ++cell) {
    if (examples[cell] != kUnassigned) continue;
    ++open;
    const CellSuggestion &suggestion = suggestions.cells[cell];
    if (suggestion.value == kUnassigned || suggestion.confidence < minimum) continue;
    (suggestion.value == made.truth[cell] ? right : wrong) += 1;
  }
  state.counters[std::string("right") + suffix] = right / open;
  state.counters[std::string("wrong") + suffix] = wrong / open;
}

void BM_TraceQuality(benchmark::State &state) {
  const auto seed = unsigned(state.range(0));
  const TerrainPicture &made = battlefield(seed);
  const std::vector<qint16> examples = made.examples(kExampleShare, seed);
  TraceSuggestions suggestions;
  for (auto _ : state) {
    const SectorFeatures features = SectorFeatures::measure(made.picture, made.xQuads, made.yQuads);
    suggestions = suggestFromExamples(features, examples);
  }
  if (!suggestions.ok()) {
    state.SkipWithError("no suggestions");
    return;
  }
  countShares(state, made, examples, suggestions, 0.0f, "_all");
  countShares(state, made, examples, suggestions, kMinConfidence, "_min");
}
BENCHMARK(BM_TraceQuality)->DenseRange(1, 8)->Iterations(1)->Unit(benchmark::kMillisecond);

// A maximum map (72 x 69 Quads) of a generated battlefield with 1% of its Sectors painted,
// saved as a project whose picture is a JPEG.
struct MaximumTraceFixture {
  QTemporaryDir folder;
  QString project = QDir(folder.path()).filePath(QStringLiteral("maximum-battle.vmap"));
  TerrainPicture made = TerrainPicture::generate(72, 69, 1);

  MaximumTraceFixture() {
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    made.picture.save(&buffer, "JPG", 85);
    EditorSession session;
    const PictureLoadResult picture =
        PictureLoader::loadData(jpeg, QStringLiteral("battle.jpg"), QStringLiteral("battle.jpg"));
    if (!picture.accepted) throw std::runtime_error(picture.message.toStdString());
    session.startMap(picture);
    const std::vector<qint16> examples = made.examples(kExampleShare, 1);
    session.history().restart([&] {
      for (std::size_t cell = 0; cell < examples.size(); ++cell) {
        const SectorAddress at = addressOf(int(cell), made.xQuads);
        session.document().setValue(at.quad, at.sector, Plane::Element, examples[cell]);
      }
    });
    if (!session.saveProject(project, session.editorState()).ok)
      throw std::runtime_error("the project cannot be saved");
  }
};

MaximumTraceFixture &maximumFixture() {
  static MaximumTraceFixture instance;
  return instance;
}

// The fixture's project read and opened in `session`, as both commands start; false
// (after telling the benchmark) when it cannot be.
bool openMaximumProject(benchmark::State &state, EditorSession &session) {
  const ProjectReadResult read = readProject(maximumFixture().project);
  if (read.ok() && session.openProject(*read.content).ok) return true;
  state.SkipWithError("the project cannot be opened");
  return false;
}

// What `varga-map trace` does: the project read and opened, the plane painted from the
// picture, a new project written.
void BM_TraceMaximumProject(benchmark::State &state) {
  MaximumTraceFixture &f = maximumFixture();
  const QString output = QDir(f.folder.path()).filePath(QStringLiteral("traced.vmap"));
  for (auto _ : state) {
    EditorSession session;
    if (!openMaximumProject(state, session)) break;
    PictureTracer tracer(session);
    const TraceOutcome outcome =
        tracer.apply(Plane::Element, tracer.suggest(Plane::Element), kMinConfidence);
    benchmark::DoNotOptimize(outcome.painted);
    if (!session.saveProject(output, session.editorState()).ok) {
      state.SkipWithError("the traced project cannot be written");
      break;
    }
  }
}
BENCHMARK(BM_TraceMaximumProject)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(vmm::bench::minTime(2.0))
    ->MeasureProcessCPUTime();

// What `varga-map render` does of the same project: read, opened, the Terrain map drawn
// and written as a bitmap.
void BM_RenderMaximumProject(benchmark::State &state) {
  MaximumTraceFixture &f = maximumFixture();
  const QString output = QDir(f.folder.path()).filePath(QStringLiteral("rendered.bmp"));
  for (auto _ : state) {
    EditorSession session;
    if (!openMaximumProject(state, session)) break;
    session.document().mapReady = false;
    session.repaintWholePlane(Plane::Element);
    session.document().mapReady = true;
    const std::optional<QByteArray> bytes = encodeSurfacePicture(
        session.surfaces().surface(Plane::Element), PictureFormat::Bitmap, nullptr);
    if (!bytes || !writeFileAtomically(output, *bytes).ok) {
      state.SkipWithError("the picture cannot be written");
      break;
    }
  }
}
BENCHMARK(BM_RenderMaximumProject)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(vmm::bench::minTime(2.0))
    ->MeasureProcessCPUTime();

// The editor's preview after one more example: the features are measured once per
// picture, so each new example costs the classifier alone. Also the features' size. The
// argument is the share of Sectors painted, in percent: 1, or 90 as after an Apply.
void BM_PreviewAfterNewExample(benchmark::State &state) {
  MaximumTraceFixture &f = maximumFixture();
  const SectorFeatures features =
      SectorFeatures::measure(f.made.picture, f.made.xQuads, f.made.yQuads);
  std::vector<qint16> examples = f.made.examples(double(state.range(0)) / 100, 1);
  std::size_t next = 0;
  for (auto _ : state) {
    while (examples[next] != kUnassigned) ++next;
    examples[next] = f.made.truth[next];
    benchmark::DoNotOptimize(suggestFromExamples(features, examples).cells.data());
  }
  state.counters["features_bytes"] = double(features.byteSize());
}
BENCHMARK(BM_PreviewAfterNewExample)
    ->Arg(1)
    ->Arg(90)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(vmm::bench::minTime(2.0))
    ->UseRealTime();

// What the editor's GUI thread does when the worker's suggestions for a maximum map
// arrive: checked against the map, confined to the selection, counted, the preview built
// and the map view repainted. The suggestions themselves are made off this thread.
void BM_PreviewResultOnGuiThread(benchmark::State &state) {
  QuietDialogs dialogs;
  MainWindow window(&dialogs);
  window.resize(1280, 800);
  window.show();
  if (!window.openProjectFile(maximumFixture().project)) {
    state.SkipWithError("the project cannot be opened");
    return;
  }
  PaintFromPictureWindow *dock = window.paintFromPicture();
  QEventLoop waiting;
  QObject::connect(dock, &PaintFromPictureWindow::suggestionsShown, &waiting, &QEventLoop::quit);
  QTimer::singleShot(60000, &waiting, &QEventLoop::quit);
  window.findChild<QAction *>(QStringLiteral("mnuPaintFromPicture"))->trigger();
  waiting.exec();
  const TraceSuggestions arrived = PictureTracer(window.session()).suggest(Plane::Element);
  const std::vector<qint16> examples = cellValues(window.session().document(), Plane::Element);
  if (dock->suggestions().cells.empty() || !arrived.ok()) {
    state.SkipWithError("no suggestions were shown");
    return;
  }
  // The two halves apart: the result taken and the preview built, then the repaint.
  QElapsedTimer clock;
  double showing = 0, repainting = 0;
  for (auto _ : state) {
    clock.start();
    if (!dock->showResult(arrived, examples)) {
      state.SkipWithError("the map changed under the suggestions");
      break;
    }
    showing += double(clock.nsecsElapsed());
    clock.start();
    QApplication::processEvents();  // the view repaints what the preview changed
    repainting += double(clock.nsecsElapsed());
  }
  const double runs = double(std::max<benchmark::IterationCount>(1, state.iterations()));
  state.counters["show_ms"] = showing / runs / 1e6;
  state.counters["repaint_ms"] = repainting / runs / 1e6;
  if (!window.mapView()->tracePreview()->isShown()) state.SkipWithError("no preview was shown");
}
BENCHMARK(BM_PreviewResultOnGuiThread)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(vmm::bench::minTime(1.0))
    ->UseRealTime();

void BM_FeaturesOfMaximumPicture(benchmark::State &state) {
  MaximumTraceFixture &f = maximumFixture();
  for (auto _ : state)
    benchmark::DoNotOptimize(
        SectorFeatures::measure(f.made.picture, f.made.xQuads, f.made.yQuads).values().data());
}
BENCHMARK(BM_FeaturesOfMaximumPicture)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(vmm::bench::minTime(1.0));

}  // namespace
}  // namespace vmm::bench
