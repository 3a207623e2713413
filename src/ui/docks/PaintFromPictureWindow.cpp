// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/docks/PaintFromPictureWindow.h"

#include "session/EditorSession.h"
#include "ui/mapview/MapViewWindow.h"
#include "ui/mapview/TracePreview.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

namespace vmm {

// What one run of the worker needs and gives back.
struct PaintFromPictureWindow::Result {
  QImage picture;  // shares the Image view's pixels until either changes
  int xQuads = 0;
  int yQuads = 0;
  std::vector<qint16> examples;
  std::shared_ptr<const SectorFeatures> features;  // null: measure them
  Plane plane = Plane::Element;
  TraceSuggestions suggestions;
};

PaintFromPictureWindow::PaintFromPictureWindow(EditorSession &session, QWidget *parent)
    : RefreshingPanel(Timing::Gather, kGatherMs, parent), session_(session), tracer_(session) {
  setWindowTitle(QStringLiteral("Paint from Picture"));
  worker_.setMaxThreadCount(1);
  auto *layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  minimumLabel_ = new QLabel(this);
  layout->addWidget(minimumLabel_);
  slider_ = new QSlider(Qt::Horizontal, this);
  slider_->setObjectName(QStringLiteral("sldMinimumConfidence"));
  slider_->setRange(0, 100);
  slider_->setValue(int(kDefaultMinimum * 100));
  layout->addWidget(slider_);
  counts_ = new QLabel(this);
  counts_->setObjectName(QStringLiteral("lblTraceCounts"));
  counts_->setWordWrap(true);
  counts_->setTextFormat(Qt::PlainText);
  layout->addWidget(counts_);
  follow_ = new QCheckBox(QStringLiteral("Follow the picture"), this);
  follow_->setObjectName(QStringLiteral("chkFollowPicture"));
  follow_->setToolTip(
      QStringLiteral("Fill Area fills the joined Sectors the picture suggests "
                     "as the clicked one (also Alt+click)"));
  layout->addWidget(follow_);
  auto *buttons = new QHBoxLayout;
  apply_ = new QPushButton(QStringLiteral("Apply"), this);
  apply_->setObjectName(QStringLiteral("cmdApplyTrace"));
  close_ = new QPushButton(QStringLiteral("Close"), this);
  close_->setObjectName(QStringLiteral("cmdCloseTrace"));
  buttons->addWidget(apply_);
  buttons->addWidget(close_);
  layout->addLayout(buttons);
  layout->addStretch(1);

  connect(slider_, &QSlider::valueChanged, this, [this] {
    minimumLabel_->setText(
        QStringLiteral("Minimum confidence: %1").arg(minimumConfidence(), 0, 'f', 2));
    showSuggestions();
  });
  minimumLabel_->setText(
      QStringLiteral("Minimum confidence: %1").arg(minimumConfidence(), 0, 'f', 2));
  // A new selection changes what Apply would paint, not the suggestions themselves.
  connect(&session_, &EditorSession::selectionChanged, this, [this] { showSuggestions(); });
  connect(apply_, &QPushButton::clicked, this, [this] { apply(); });
  connect(close_, &QPushButton::clicked, this, &PaintFromPictureWindow::closeRequested);
  showCounts();
}

PaintFromPictureWindow::~PaintFromPictureWindow() {
  worker_.waitForDone();
}

void PaintFromPictureWindow::setMapView(MapViewWindow *view) {
  if (view_ && view_ != view) view_->tracePreview()->clear();
  view_ = view;
  current_ = false;
  scheduleRefresh();
}

void PaintFromPictureWindow::setPlane(Plane plane) {
  if (plane == plane_) return;
  plane_ = plane;
  suggestions_ = {};
  current_ = false;
  showSuggestions();
  scheduleRefresh();
}

float PaintFromPictureWindow::minimumConfidence() const {
  return float(slider_->value()) / 100.0f;
}

void PaintFromPictureWindow::setMinimumConfidence(float minimum) {
  slider_->setValue(qRound(minimum * 100.0f));
}

bool PaintFromPictureWindow::followsPicture() const {
  return follow_->isChecked();
}

void PaintFromPictureWindow::rebuild() {
  current_ = false;
  if (running_) {
    requestWaiting_ = true;  // the newest request is worked out when this run ends
    return;
  }
  startWork();
}

void PaintFromPictureWindow::startWork() {
  const MapDocument &document = session_.document();
  auto job = std::make_shared<Result>();
  job->picture = session_.surfaces().surface(MapView::Image);
  job->xQuads = document.XQuads;
  job->yQuads = document.YQuads;
  job->examples = cellValues(document, plane_);
  job->plane = plane_;
  const qint64 key =
      job->picture.cacheKey() ^ (qint64(job->xQuads) << 48) ^ (qint64(job->yQuads) << 32);
  if (features_ && key == featuresKey_) job->features = features_;
  featuresKey_ = key;
  running_ = true;
  requestWaiting_ = false;
  worker_.start([this, job] {
    if (!job->features)
      job->features = std::make_shared<const SectorFeatures>(
          job->picture.isNull() ? SectorFeatures()
                                : SectorFeatures::measure(job->picture, job->xQuads, job->yQuads));
    job->suggestions = suggestFromExamples(*job->features, job->examples);
    // Back on the GUI thread; the destructor waits for this run, so `this` is alive.
    QMetaObject::invokeMethod(
        this, [this, job] { finishWork(job); }, Qt::QueuedConnection);
  });
}

void PaintFromPictureWindow::finishWork(const std::shared_ptr<Result> &result) {
  running_ = false;
  features_ = result->features;
  if (requestWaiting_ || result->plane != plane_) {
    startWork();  // the map changed meanwhile: only the newest state counts
    return;
  }
  if (!showResult(std::move(result->suggestions), result->examples)) startWork();
}

bool PaintFromPictureWindow::showResult(TraceSuggestions suggestions,
                                        const std::vector<qint16> &examples) {
  suggestions_ = std::move(suggestions);
  current_ = examples == cellValues(session_.document(), plane_);
  if (!current_) return false;
  showSuggestions();
  emit suggestionsShown();
  return true;
}

void PaintFromPictureWindow::showSuggestions() {
  shown_ = tracer_.confined(suggestions_);
  showCounts();
  if (!view_) return;
  TracePreview *preview = view_->tracePreview();
  if (!shown_.ok() || !isVisible()) {
    preview->clear();
    return;
  }
  SectorPainter &painter = session_.painter();
  const Plane plane = plane_;
  // The draw style's colours of the values, as the painter would paint them.
  preview->show(plane_, shown_, session_.document().XQuads, minimumConfidence(),
                [&painter, plane](qint16 value) { return painter.screenColourOf(plane, value); });
}

void PaintFromPictureWindow::showCounts() {
  const bool ready = shown_.ok() && !shown_.cells.empty();
  apply_->setEnabled(ready && current_ && shown_.countSure(minimumConfidence()) > 0);
  if (!ready) {
    counts_->setText(shown_.refusal == TraceRefusal::None
                         ? QStringLiteral("Working out the suggestions...")
                         : traceRefusalText(shown_.refusal, plane_));
    return;
  }
  const QLocale english(QLocale::English);
  counts_->setText(QStringLiteral("%1 Sectors to paint, %2 left unsure")
                       .arg(english.toString(shown_.countSure(minimumConfidence())),
                            english.toString(shown_.countUnsure(minimumConfidence()))));
}

TraceOutcome PaintFromPictureWindow::apply() {
  if (!current_ || !suggestions_.ok()) return {};
  const TraceOutcome outcome = tracer_.apply(plane_, suggestions_, minimumConfidence());
  if (outcome.painted > 0) emit applied(outcome, plane_);
  return outcome;
}

QRect PaintFromPictureWindow::fillSimilar(Plane plane, SectorAddress start) {
  if (plane != plane_ || !current_ || running_) {
    setPlane(plane);
    suggestions_ = tracer_.suggest(plane);
    current_ = true;
  }
  return tracer_.fillSimilar(plane, start, suggestions_);
}

void PaintFromPictureWindow::showEvent(QShowEvent *event) {
  RefreshingPanel::showEvent(event);
  showSuggestions();
}

void PaintFromPictureWindow::hideEvent(QHideEvent *event) {
  RefreshingPanel::hideEvent(event);
  if (view_) view_->tracePreview()->clear();
}

}  // namespace vmm
