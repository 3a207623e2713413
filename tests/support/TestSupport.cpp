#include "support/TestSupport.h"

namespace vmm::test {

MessageAnswer ScriptedDialogs::message(const QString &text, const QString &title, MessageIcon icon,
                                       MessageButtons buttons, MessageAnswer defaultAnswer) {
  messages.append({text, title, icon, buttons, defaultAnswer});
  if (answers.empty()) return defaultAnswer;
  const MessageAnswer answer = answers.front();
  answers.pop_front();
  return answer;
}

QString ScriptedDialogs::openFileName(const QString &filter) {
  openFilters.append(filter);
  if (openNames.empty()) return {};
  QString name = openNames.front();
  openNames.pop_front();
  return name;
}

QString ScriptedDialogs::saveFileName(const QString &filter) {
  saveFilters.append(filter);
  if (saveNames.empty()) return {};
  QString name = saveNames.front();
  saveNames.pop_front();
  return name;
}

std::optional<quint32> ScriptedDialogs::chooseColour(quint32) {
  if (colours.empty()) return std::nullopt;
  auto colour = colours.front();
  colours.pop_front();
  return colour;
}

}  // namespace vmm::test
