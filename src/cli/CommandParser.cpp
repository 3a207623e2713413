// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CommandParser.h"

#include <limits>

namespace vmm::cli {

CommandParser::CommandParser(const QString &command, const QString &description)
    : command_(command) {
  parser_.setApplicationDescription(description);
  parser_.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  parser_.addOption({{QStringLiteral("h"), QStringLiteral("help")},
                     QStringLiteral("Shows this help and stops.")});
}

void CommandParser::addPositional(const QString &name, const QString &description, bool optional) {
  const QString syntax = optional ? QStringLiteral("[%1]").arg(name) : name;
  parser_.addPositionalArgument(name, description, syntax);
  syntax_ << syntax;
  if (!optional) ++required_;
}

std::optional<int> CommandParser::parse(const QStringList &arguments, Console &console) {
  // The parser takes the first entry as the program's name.
  if (!parser_.parse(QStringList{QStringLiteral("varga-map")} + arguments)) {
    console.error(parser_.errorText() + u'\n' + helpHint(command_));
    return kFailure;
  }
  if (parser_.isSet(QStringLiteral("help"))) {
    Console().print(helpText());
    return kSuccess;
  }
  const qsizetype given = parser_.positionalArguments().size();
  if (given < required_) {
    console.error(QStringLiteral("missing %1\n%2").arg(syntax_.at(given), helpHint(command_)));
    return kFailure;
  }
  if (given > syntax_.size()) {
    console.error(QStringLiteral("unexpected argument \"%1\"\n%2")
                      .arg(parser_.positionalArguments().at(syntax_.size()), helpHint(command_)));
    return kFailure;
  }
  return std::nullopt;
}

QString CommandParser::positional(int index) const {
  return parser_.positionalArguments().value(index);
}

QString CommandParser::helpText() const {
  // Qt opens the text with the path the program was started by; show the command instead.
  QString text = parser_.helpText();
  const qsizetype firstLineEnd = text.indexOf(u'\n');
  const QString usage = QStringLiteral("Usage: varga-map %1 [options] %2")
                            .arg(command_, syntax_.join(u' '))
                            .trimmed();
  text.replace(0, firstLineEnd, usage);
  return text.trimmed();
}

std::optional<QString> CommandParser::single(const QString &option, Console &console) const {
  const QStringList given = parser_.values(option);
  if (given.size() > 1) {
    console.error(
        QStringLiteral("--%1 may be given only once\n%2").arg(option, helpHint(command_)));
    return std::nullopt;
  }
  return given.value(0);
}

std::optional<QString> CommandParser::choice(const QString &option, const QStringList &choices,
                                             const QString &fallback, Console &console) const {
  const std::optional<QString> given = single(option, console);
  if (!given) return std::nullopt;
  if (!parser_.isSet(option)) return fallback;
  if (choices.contains(*given)) return given;
  console.error(QStringLiteral("--%1 must be %2, not \"%3\"\n%4")
                    .arg(option, choices.join(QStringLiteral(" or ")), *given, helpHint(command_)));
  return std::nullopt;
}

std::optional<qint16> parseInt16(const QString &text) {
  bool ok = false;
  const int value = text.toInt(&ok, 10);
  if (!ok || text.trimmed() != text || text.startsWith(u'+')) return std::nullopt;
  if (value < std::numeric_limits<qint16>::min() || value > std::numeric_limits<qint16>::max())
    return std::nullopt;
  return static_cast<qint16>(value);
}

QString helpHint(const QString &command) {
  return QStringLiteral("Try \"varga-map %1 --help\".").arg(command);
}

}  // namespace vmm::cli
