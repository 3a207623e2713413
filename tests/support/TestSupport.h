#pragma once

#include "app/UserDialogs.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <deque>
#include <optional>

namespace vmm::test {

// A recorded message box.
struct ShownMessage {
  QString text;
  QString title;
  MessageIcon icon = MessageIcon::None;
  MessageButtons buttons = MessageButtons::Ok;
  MessageAnswer defaultAnswer = MessageAnswer::Ok;
};

// Answers the editor's dialogs from queues filled by a test and records every message.
class ScriptedDialogs : public UserDialogs {
 public:
  MessageAnswer message(const QString &text, const QString &title, MessageIcon icon,
                        MessageButtons buttons, MessageAnswer defaultAnswer) override;
  QString openFileName(const QString &filter) override;
  QString saveFileName(const QString &filter) override;
  std::optional<quint32> chooseColour(quint32 initial) override;

  std::deque<MessageAnswer> answers;  // for message(); default answer when empty
  std::deque<QString> openNames;      // empty string = cancel
  std::deque<QString> saveNames;      // empty string = cancel
  std::deque<std::optional<quint32>> colours;

  QList<ShownMessage> messages;
  QStringList openFilters;
  QStringList saveFilters;
};

}  // namespace vmm::test
