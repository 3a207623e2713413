// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QLabel;
class QPlainTextEdit;

namespace vmm {

// Help > About: what the program is, its version (as --version gives it), its licence,
// the Qt it runs on and the folder of its catalogue and settings. Every text is plain;
// the licence's full text, built into the program, opens in a viewer of its own.
class AboutDialog : public QDialog {
  Q_OBJECT

 public:
  AboutDialog(const QString &dataFolder, QWidget *parent = nullptr);

  // The lines of the box, top to bottom.
  QStringList lines() const;
  // Opens (or raises) the viewer of the licence's text.
  void showLicence();
  QPlainTextEdit *licenceViewer() const { return licenceViewer_; }

  // Where the licence's text lies among the program's resources.
  static QString licenceResource() { return QStringLiteral(":/licence/LICENSE"); }

 private:
  QList<QLabel *> labels_;
  QPlainTextEdit *licenceViewer_ = nullptr;
};

}  // namespace vmm
