// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "session/UserDialogs.h"

#include <QFileDialog>

#include <memory>

namespace vmm {

// The real dialogs: QMessageBox, QFileDialog and QColorDialog over a parent window.
class WidgetDialogs : public UserDialogs {
 public:
  explicit WidgetDialogs(QWidget *parent) : parent_(parent) {}

  MessageAnswer message(const QString &text, const QString &title, MessageIcon icon,
                        MessageButtons buttons, MessageAnswer defaultAnswer) override;
  QString openFileName(const QString &filter) override;
  QString saveFileName(const QString &filter, const QString &defaultSuffix) override;
  std::optional<quint32> chooseColour(quint32 initial) override;
  std::optional<QString> chooseValueToReplace(Plane plane, const QString &replacement) override;

  // `text` cut in its middle, with an ellipsis, when it is longer than `limit` characters:
  // a text from outside (a path in a recovery copy may be megabytes) shown readably.
  static QString shownText(const QString &text, qsizetype limit = kShownChars);
  static constexpr qsizetype kShownChars = 600;

  // Converts a "Description|*.ext|..." filter into Qt's "Description (*.ext);;..." form.
  static QString qtFilter(const QString &filter);
  // The file dialog every open and save question uses: Qt's own, listing the names the
  // filter matches in any letter case.
  static std::unique_ptr<QFileDialog> fileDialog(QWidget *parent, const QString &filter,
                                                 QFileDialog::AcceptMode mode);

 private:
  QWidget *parent_;
};

}  // namespace vmm
