// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/dialogs/WidgetDialogs.h"

#include "ui/dialogs/ReplaceValueDialog.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>

namespace vmm {

namespace {

QMessageBox::Icon toQtIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Information:
      return QMessageBox::Information;
    case MessageIcon::Warning:
      return QMessageBox::Warning;
    case MessageIcon::Critical:
      return QMessageBox::Critical;
    case MessageIcon::Question:
      return QMessageBox::Question;
    case MessageIcon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

MessageAnswer WidgetDialogs::message(const QString &text, const QString &title, MessageIcon icon,
                                     MessageButtons buttons, MessageAnswer defaultAnswer) {
  // Texts carry file names, paths and fields from outside: never read as markup, and cut
  // to a readable length before the box lays anything out.
  QMessageBox box(toQtIcon(icon), shownText(title), QString(), QMessageBox::NoButton, parent_);
  box.setTextFormat(Qt::PlainText);
  box.setText(shownText(text));
  struct Choice {
    QAbstractButton *button;
    MessageAnswer answer;
  };
  std::vector<Choice> choices;
  switch (buttons) {
    case MessageButtons::Ok:
      choices.push_back({box.addButton(QMessageBox::Ok), MessageAnswer::Ok});
      break;
    case MessageButtons::YesNo:
      choices.push_back({box.addButton(QMessageBox::Yes), MessageAnswer::Yes});
      choices.push_back({box.addButton(QMessageBox::No), MessageAnswer::No});
      break;
    case MessageButtons::ExportDiscardCancel:
      choices.push_back(
          {box.addButton(QObject::tr("Export"), QMessageBox::AcceptRole), MessageAnswer::Export});
      choices.push_back({box.addButton(QMessageBox::Discard), MessageAnswer::Discard});
      choices.push_back({box.addButton(QMessageBox::Cancel), MessageAnswer::Cancel});
      break;
    case MessageButtons::SaveDiscardCancel:
      choices.push_back({box.addButton(QMessageBox::Save), MessageAnswer::Save});
      choices.push_back({box.addButton(QMessageBox::Discard), MessageAnswer::Discard});
      choices.push_back({box.addButton(QMessageBox::Cancel), MessageAnswer::Cancel});
      break;
  }
  for (const Choice &choice : choices)
    if (choice.answer == defaultAnswer)
      box.setDefaultButton(qobject_cast<QPushButton *>(choice.button));
  box.exec();
  for (const Choice &choice : choices)
    if (box.clickedButton() == choice.button) return choice.answer;
  // Closed with Escape or the close box: the safe answer.
  return buttons == MessageButtons::Ok      ? MessageAnswer::Ok
         : buttons == MessageButtons::YesNo ? MessageAnswer::No
                                            : MessageAnswer::Cancel;
}

QString WidgetDialogs::shownText(const QString &text, qsizetype limit) {
  if (text.size() <= limit) return text;
  // The start and the end say the most (what happened, the file's name, the reason).
  qsizetype head = limit / 2;
  qsizetype tail = limit - head;
  if (text.at(head - 1).isHighSurrogate()) --head;
  if (text.at(text.size() - tail).isLowSurrogate()) --tail;
  return text.left(head) + QChar(0x2026) + text.right(tail);
}

QString WidgetDialogs::qtFilter(const QString &filter) {
  // A description that names its patterns already ("Jpeg Files (*.JPG)") is shown as it
  // is; the dialog matches names in any letter case, so the real patterns join it only
  // when they are more than another case of a named one.
  static const QRegularExpression namedPatterns(QStringLiteral("^(.*\\S)\\s*\\(([^()]*)\\)$"));
  const QStringList parts = filter.split('|');
  QStringList entries;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    QString description = parts[i];
    QStringList patterns = parts[i + 1].split(';', Qt::SkipEmptyParts);
    if (const QRegularExpressionMatch match = namedPatterns.match(description); match.hasMatch()) {
      QStringList shown = match.captured(2).split(' ', Qt::SkipEmptyParts);
      for (const QString &pattern : patterns)
        if (!shown.contains(pattern, Qt::CaseInsensitive)) shown << pattern;
      description = match.captured(1);
      patterns = shown;
    }
    entries << QStringLiteral("%1 (%2)").arg(description, patterns.join(' '));
  }
  return entries.join(QStringLiteral(";;"));
}

std::unique_ptr<QFileDialog> WidgetDialogs::fileDialog(QWidget *parent, const QString &filter,
                                                       QFileDialog::AcceptMode mode) {
  auto dialog = std::make_unique<QFileDialog>(parent, QString(), QString(), qtFilter(filter));
  // Qt's own dialog everywhere: it can match names in any case ("battle.JPG", "map.txt"),
  // which the platforms' dialogs cannot be asked to do.
  dialog->setOption(QFileDialog::DontUseNativeDialog);
  dialog->setFilter(dialog->filter() & ~QDir::CaseSensitive);
  dialog->setAcceptMode(mode);
  dialog->setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                      : QFileDialog::AnyFile);
  return dialog;
}

QString WidgetDialogs::openFileName(const QString &filter) {
  const auto dialog = fileDialog(parent_, filter, QFileDialog::AcceptOpen);
  if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) return {};
  return dialog->selectedFiles().constFirst();
}

QString WidgetDialogs::saveFileName(const QString &filter, const QString &defaultSuffix) {
  const auto dialog = fileDialog(parent_, filter, QFileDialog::AcceptSave);
  dialog->setDefaultSuffix(defaultSuffix);
  if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) return {};
  return dialog->selectedFiles().constFirst();
}

std::optional<quint32> WidgetDialogs::chooseColour(quint32 initial) {
  // Catalogue colours are GDI values: red in the low byte.
  const QColor start(int(initial & 0xFF), int((initial >> 8) & 0xFF), int((initial >> 16) & 0xFF));
  const QColor chosen = QColorDialog::getColor(start, parent_);
  if (!chosen.isValid()) return std::nullopt;
  return quint32(chosen.red()) | (quint32(chosen.green()) << 8) | (quint32(chosen.blue()) << 16);
}

std::optional<QString> WidgetDialogs::chooseValueToReplace(Plane plane,
                                                           const QString &replacement) {
  ReplaceValueDialog dialog(plane, replacement, parent_);
  if (dialog.exec() != QDialog::Accepted || dialog.chosenValue().isEmpty()) return std::nullopt;
  return dialog.chosenValue();
}

}  // namespace vmm
