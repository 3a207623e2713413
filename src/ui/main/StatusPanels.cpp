// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/main/StatusPanels.h"

#include "gdi/Twips.h"
#include "ui/dialogs/WidgetDialogs.h"
#include "ui/main/AssistiveTools.h"

#include <QHBoxLayout>
#include <QHelpEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QToolTip>

namespace vmm {

StatusPanels::StatusPanels(const std::vector<PanelLayout> &panels, QWidget *parent)
    : QWidget(parent) {
  // Panel widths are fixed in twips; a compact font keeps the view names inside them.
  QFont compact = font();
  compact.setPointSizeF(compact.pointSizeF() * 0.85);
  setFont(compact);
  auto *layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  for (const PanelLayout &shape : panels) {
    Panel panel;
    panel.label = new QLabel(this);
    panel.label->setFixedWidth(std::max(1, twipsToPixels(shape.widthTwips)));
    panel.label->setMinimumHeight(fontMetrics().height() + 6);
    panel.label->setTextFormat(Qt::PlainText);
    panel.label->setMargin(1);
    // Clicks land on the bar itself, which finds the panel under the pointer.
    panel.label->setAttribute(Qt::WA_TransparentForMouseEvents);
    panel.key = shape.key;
    panel.bevel = shape.bevel;
    applyBevel(panel);
    layout->addWidget(panel.label);
    panels_.push_back(panel);
  }
  layout->addStretch(1);
}

const StatusPanels::Panel *StatusPanels::panelAt(int panel) const {
  if (panel < 1 || panel > count()) return nullptr;
  return &panels_[static_cast<std::size_t>(panel - 1)];
}

QString StatusPanels::text(int panel) const {
  const Panel *p = panelAt(panel);
  return p ? p->label->text() : QString();
}

void StatusPanels::setText(int panel, const QString &text) {
  // Panel texts may be names from the catalogue: cut before the label lays them out.
  if (const Panel *p = panelAt(panel)) p->label->setText(WidgetDialogs::shownText(text));
}

StatusPanels::Bevel StatusPanels::bevel(int panel) const {
  const Panel *p = panelAt(panel);
  return p ? p->bevel : NoBevel;
}

void StatusPanels::setBevel(int panel, Bevel bevel) {
  if (!panelAt(panel)) return;
  Panel &p = panels_[static_cast<std::size_t>(panel - 1)];
  p.bevel = bevel;
  applyBevel(p);
}

QString StatusPanels::key(int panel) const {
  const Panel *p = panelAt(panel);
  return p ? p->key : QString();
}

int StatusPanels::panelWithKey(const QString &key) const {
  for (int i = 1; i <= count(); ++i)
    if (!key.isEmpty() && panels_[static_cast<std::size_t>(i - 1)].key == key) return i;
  return 0;
}

QRect StatusPanels::panelRect(int panel) const {
  const Panel *p = panelAt(panel);
  return p ? p->label->geometry() : QRect();
}

int StatusPanels::panelUnder(QPoint point) const {
  for (int i = 1; i <= count(); ++i)
    if (panels_[static_cast<std::size_t>(i - 1)].label->geometry().contains(point)) return i;
  return 0;
}

void StatusPanels::setPanelToolTip(int panel, const QString &text) {
  if (!panelAt(panel)) return;
  Panel &changed = panels_[static_cast<std::size_t>(panel - 1)];
  changed.toolTip = text;
  describeByToolTip(changed.label, text);
}

QString StatusPanels::panelToolTip(int panel) const {
  const Panel *p = panelAt(panel);
  return p ? p->toolTip : QString();
}

void StatusPanels::applyBevel(Panel &panel) {
  switch (panel.bevel) {
    case NoBevel:
      panel.label->setFrameStyle(QFrame::NoFrame);
      break;
    case Inset:
      panel.label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
      break;
    case Raised:
      panel.label->setFrameStyle(QFrame::Panel | QFrame::Raised);
      break;
  }
  panel.label->setLineWidth(1);
}

bool StatusPanels::event(QEvent *event) {
  // The labels let the pointer through, so the bar answers for the panel under it.
  if (event->type() == QEvent::ToolTip) {
    const auto *help = static_cast<QHelpEvent *>(event);
    const int panel = panelUnder(help->pos());
    const QString tip = panelToolTip(panel);
    if (tip.isEmpty())
      QToolTip::hideText();
    else
      QToolTip::showText(help->globalPos(), tip, this, panelRect(panel));
    return true;
  }
  return QWidget::event(event);
}

void StatusPanels::mouseReleaseEvent(QMouseEvent *event) {
  if (const int panel = panelUnder(event->position().toPoint())) {
    emit panelClicked(panel, key(panel));
    return;
  }
  QWidget::mouseReleaseEvent(event);
}

}  // namespace vmm
