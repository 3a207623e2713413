// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/main/AssistiveTools.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QDialog>
#include <QDockWidget>
#include <QEvent>
#include <QMainWindow>
#include <QPointer>
#include <QRegularExpression>

namespace vmm {

namespace {

// Qt describes a plain QWidget as a client area ("filler" to screen readers) even when it
// is a window of its own; such windows get the window role, and with it their title.
QAccessibleInterface *plainWindowInterface(const QString &className, QObject *object) {
  if (!object || !object->isWidgetType()) return nullptr;
  auto *widget = static_cast<QWidget *>(object);
  // Asked once per class of the object's hierarchy: answered for the most derived one.
  if (!widget->isWindow() || className != QLatin1String(object->metaObject()->className()))
    return nullptr;
  if (qobject_cast<QDialog *>(widget) || qobject_cast<QMainWindow *>(widget) ||
      qobject_cast<QDockWidget *>(widget))
    return nullptr;
  const Qt::WindowType type = widget->windowType();
  if (type != Qt::Window && type != Qt::Tool && type != Qt::SplashScreen) return nullptr;
  return new QAccessibleWidget(widget, QAccessible::Window);
}

// Follows the tool tips of the widgets inside one root widget.
class ToolTipFollower : public QObject {
 public:
  explicit ToolTipFollower(QWidget *root) : QObject(root), root_(root) {
    qApp->installEventFilter(this);
  }

  bool eventFilter(QObject *watched, QEvent *event) override {
    if (event->type() == QEvent::ToolTipChange && watched->isWidgetType() && root_ &&
        root_->isAncestorOf(static_cast<QWidget *>(watched))) {
      auto *widget = static_cast<QWidget *>(watched);
      describeByToolTip(widget, widget->toolTip());
    }
    return false;
  }

 private:
  QPointer<QWidget> root_;
};

}  // namespace

void describeWindowsToAssistiveTools() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  QAccessible::installFactory(plainWindowInterface);
}

void describeByToolTips(QWidget *root) {
  for (QWidget *widget : root->findChildren<QWidget *>())
    if (!widget->toolTip().isEmpty()) describeByToolTip(widget, widget->toolTip());
  new ToolTipFollower(root);
}

void describeByToolTip(QWidget *widget, const QString &toolTip) {
  // "Draw Sector: the left mouse button ... (D)" is named "Draw Sector".
  static const QRegularExpression lead(QStringLiteral("^([^:;(]*[^:;( ])"));
  const QString name = lead.match(toolTip).captured(1);
  widget->setAccessibleName(name.isEmpty() ? toolTip : name);
  widget->setAccessibleDescription(toolTip);
}

}  // namespace vmm
