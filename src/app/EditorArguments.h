// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace vmm {

// What the editor's command line asks for: `varga-map-maker [FILE...]`.
struct EditorArguments {
  QStringList files;            // to open in order: projects, pictures, map texts
  std::optional<int> exitCode;  // set when the program stops at once: help, version, bad usage
  QString output;               // for standard output (help, version)
  QString error;                // for standard error (bad usage)
};

// Reads the arguments that QApplication left (the program's name first).
EditorArguments parseEditorArguments(const QStringList &arguments);

// Whether the command line asks only for text (help or version), which needs no window
// system: the editor answers it before it connects to one.
bool asksOnlyForText(int argc, const char *const *argv);

}  // namespace vmm
