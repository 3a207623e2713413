// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QTextStream>

namespace vmm::cli {

// The tool's exit statuses.
enum ExitCode : int {
  kSuccess = 0,
  kProblemsFound = 1,  // check found something wrong with the map
  kNothingTraced = 1,  // trace had nothing to learn from or nothing to paint
  kFailure = 2,        // bad usage, unreadable input, or an output that could not be written
};

// Where the tool's words go: results to standard output, messages to standard error,
// each message opened by the tool's and the command's name.
class Console {
 public:
  explicit Console(const QString &command = {});

  void print(const QString &line);    // a line of the result, on standard output
  void error(const QString &text);    // why the command stops
  void warning(const QString &text);  // something worth knowing; the command goes on
  void note(const QString &text);     // a plain remark on standard error

 private:
  QString prefix_;
  QTextStream out_;
  QTextStream err_;
};

}  // namespace vmm::cli
