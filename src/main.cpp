// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/EditorArguments.h"
#include "ui/main/ApplicationIcon.h"
#include "ui/main/AssistiveTools.h"
#include "ui/main/MainWindow.h"
#include "ui/splash/SplashScreen.h"

#include <QApplication>

#include <cstdio>
#include <memory>

namespace {

int printAnswer(const vmm::EditorArguments &arguments) {
  std::fputs(qPrintable((arguments.exitCode == 0 ? arguments.output : arguments.error) + '\n'),
             arguments.exitCode == 0 ? stdout : stderr);
  return *arguments.exitCode;
}

}  // namespace

int main(int argc, char *argv[]) {
  if (vmm::asksOnlyForText(argc, argv)) {
    // Help and version work on a terminal without a display.
    QCoreApplication text(argc, argv);
    const vmm::EditorArguments arguments = vmm::parseEditorArguments(QCoreApplication::arguments());
    if (arguments.exitCode) return printAnswer(arguments);
  }
  QApplication app(argc, argv);
  // A painting stroke must see every pointer position: merging quick moves would skip
  // the Sectors between the kept ones on a curved stroke. Set after the window system
  // is up, which sets its own default.
  QApplication::setAttribute(Qt::AA_CompressHighFrequencyEvents, false);
  QApplication::setApplicationName(QStringLiteral("Varga Map Maker"));
  QApplication::setOrganizationName(QStringLiteral("VargaMapMaker"));
  QApplication::setApplicationVersion(QStringLiteral(VMM_VERSION));
  // The menu entry's name: desktops match the running editor to its entry and icon.
  QApplication::setDesktopFileName(QStringLiteral("org.vargamapmaker.VargaMapMaker"));
  QApplication::setWindowIcon(vmm::applicationIcon());

  const vmm::EditorArguments arguments = vmm::parseEditorArguments(QApplication::arguments());
  if (arguments.exitCode) return printAnswer(arguments);

  vmm::describeWindowsToAssistiveTools();
  std::unique_ptr<vmm::MainWindow> mainWindow;
  vmm::SplashScreen splash;
  QObject::connect(&splash, &vmm::SplashScreen::handOver, [&mainWindow, &arguments] {
    mainWindow = std::make_unique<vmm::MainWindow>();
    mainWindow->show();
    mainWindow->offerRecovery();
    mainWindow->openFiles(arguments.files);
  });
  splash.show();
  return app.exec();
}
