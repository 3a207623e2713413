// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer entry point for map project files: every input is opened as a project and,
// when accepted, opened in a session and saved and read again, checked against the
// promises of the reader.
#include "support/ProjectInvariants.h"

#include <QCoreApplication>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv) {
  // The SQLite driver and the picture formats are plugins, found through the application.
  static QCoreApplication app(*argc, *argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  const QByteArrayView bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
  const QString problem = vmm::test::checkProjectInvariants(bytes);
  if (!problem.isEmpty()) {
    std::fprintf(stderr, "project invariant broken: %s\n", qPrintable(problem));
    std::abort();
  }
  return 0;
}
