// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "session/UserDialogs.h"

namespace vmm::bench {

// Answers every dialog at once and counts the message boxes, so a window
// benchmark never waits on a screen and can tell when something went wrong.
class QuietDialogs : public UserDialogs {
 public:
  MessageAnswer message(const QString &text, const QString &, MessageIcon, MessageButtons,
                        MessageAnswer defaultAnswer) override {
    lastMessage = text;
    ++messages;
    return defaultAnswer;
  }
  QString openFileName(const QString &) override { return {}; }
  QString saveFileName(const QString &, const QString &) override { return {}; }
  std::optional<quint32> chooseColour(quint32) override { return std::nullopt; }
  std::optional<QString> chooseValueToReplace(Plane, const QString &) override {
    return std::nullopt;
  }

  int messages = 0;
  QString lastMessage;
};

}  // namespace vmm::bench
