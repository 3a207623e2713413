// SPDX-License-Identifier: GPL-3.0-or-later
#include "gdi/GdiErrors.h"

#include <QtDebug>

namespace vmm {

namespace {
GdiErrorReporter &installedReporter() {
  static GdiErrorReporter reporter;
  return reporter;
}
}  // namespace

void setGdiErrorReporter(GdiErrorReporter reporter) {
  installedReporter() = std::move(reporter);
}

void reportGdiError(const char *procedure, int number, const QString &description) {
  const QString text = QStringLiteral("Error: %1. %2").arg(number).arg(description);
  const QString title = QString::fromLatin1(procedure);
  if (const GdiErrorReporter &reporter = installedReporter())
    reporter(text, title);
  else
    qWarning().noquote() << title << ":" << text;
}

}  // namespace vmm
