// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QWidget>

class QCompleter;
class QLabel;
class QLineEdit;
class QToolButton;

namespace vmm {

class EditorSession;
class ElementPicker;
class RecentElements;

// The tool strip's way to an element by name: a search box whose completer offers
// every element of the catalogue that contains the typed text (any case), and a
// colour swatch for each element painted with recently. Choosing either selects
// the element as the lists do, and the lists follow (see ElementPicker::chooseElement).
class ElementFinder : public QWidget {
  Q_OBJECT

 public:
  ElementFinder(EditorSession &session, ElementPicker &picker, RecentElements &recent,
                QWidget *parent = nullptr);

  QLineEdit *searchBox() const { return searchBox_; }
  QCompleter *completer() const { return completer_; }
  // One button per recent element, newest first.
  const QList<QToolButton *> &recentButtons() const { return recentButtons_; }

  // Makes the catalogue element called `name` (any case) the one to paint with;
  // false, and nothing changed, for a name the catalogue lacks.
  bool choose(const QString &name);
  // Takes the element names and colours from the session's catalogue tables again.
  void reloadCatalogue();

 signals:
  // Enter or Escape in the search box: the keyboard goes back to the map.
  void searchFinished();

 protected:
  bool eventFilter(QObject *watched, QEvent *event) override;

 private:
  void chooseTyped();
  void notePainted(qint16 elementid);
  void showRecent();

  EditorSession &session_;
  ElementPicker &picker_;
  RecentElements &recent_;
  QLineEdit *searchBox_ = nullptr;
  QCompleter *completer_ = nullptr;
  QLabel *recentLabel_ = nullptr;
  QWidget *recentStrip_ = nullptr;
  QList<QToolButton *> recentButtons_;
  QHash<QString, qint16> idsByFoldedName_;  // catalogue names in lower case
  qint16 lastPainted_ = kNoElement;

  static constexpr qint16 kNoElement = -1;
};

}  // namespace vmm
