// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/Console.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>
#include <QStringList>

#include <optional>

namespace vmm::cli {

// The argument handling of one command: its options, its positional arguments, its
// --help text and the messages for bad usage.
class CommandParser {
 public:
  CommandParser(const QString &command, const QString &description);

  void addPositional(const QString &name, const QString &description, bool optional = false);
  void addOption(const QCommandLineOption &option) { parser_.addOption(option); }

  // Parses the arguments that follow the command's name. Returns an exit status when
  // the command should stop at once: 0 after showing its help, 2 on bad usage.
  std::optional<int> parse(const QStringList &arguments, Console &console);

  bool isSet(const QString &option) const { return parser_.isSet(option); }
  QString value(const QString &option) const { return parser_.value(option); }
  QStringList values(const QString &option) const { return parser_.values(option); }
  QString positional(int index) const;
  QString helpText() const;

  // The single value of an option that may be given at most once; nothing (after the
  // message) when it was given more than once.
  std::optional<QString> single(const QString &option, Console &console) const;
  // The option's value if it is one of `choices`, `fallback` when the option is absent.
  std::optional<QString> choice(const QString &option, const QStringList &choices,
                                const QString &fallback, Console &console) const;

 private:
  QString command_;
  QCommandLineParser parser_;
  QStringList syntax_;
  int required_ = 0;
};

// A signed 16-bit whole number in decimal, as map values are written; nothing otherwise.
std::optional<qint16> parseInt16(const QString &text);

// The usage line every message about bad usage ends with.
QString helpHint(const QString &command);

}  // namespace vmm::cli
