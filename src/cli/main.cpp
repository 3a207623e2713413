// SPDX-License-Identifier: GPL-3.0-or-later
// varga-map: the map maker's batch tool. It needs no display.
#include "cli/Commands.h"

#include <QCoreApplication>

int main(int argc, char *argv[]) {
  QCoreApplication app(argc, argv);
  // The editor's names: they make the per-user data folder that holds the catalogue.
  QCoreApplication::setApplicationName(QStringLiteral("Varga Map Maker"));
  QCoreApplication::setOrganizationName(QStringLiteral("VargaMapMaker"));
  QCoreApplication::setApplicationVersion(QStringLiteral(VMM_VERSION));
  return vmm::cli::runTool(QCoreApplication::arguments().mid(1));
}
