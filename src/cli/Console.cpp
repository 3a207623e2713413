// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Console.h"

#include <cstdio>

namespace vmm::cli {

Console::Console(const QString &command)
    : prefix_(command.isEmpty() ? QStringLiteral("varga-map: ")
                                : QStringLiteral("varga-map %1: ").arg(command)),
      out_(stdout),
      err_(stderr) {}

void Console::print(const QString &line) {
  out_ << line << '\n';
  out_.flush();
}

void Console::error(const QString &text) {
  err_ << prefix_ << text << '\n';
  err_.flush();
}

void Console::warning(const QString &text) {
  err_ << prefix_ << "warning: " << text << '\n';
  err_.flush();
}

void Console::note(const QString &text) {
  err_ << prefix_ << text << '\n';
  err_.flush();
}

}  // namespace vmm::cli
