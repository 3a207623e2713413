// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/dialogs/AboutDialog.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vmm {

AboutDialog::AboutDialog(const QString &dataFolder, QWidget *parent) : QDialog(parent) {
  setObjectName(QStringLiteral("aboutDialog"));
  setWindowTitle(QStringLiteral("About Varga Map Maker"));
  auto *layout = new QVBoxLayout(this);
  const QStringList texts = {
      QStringLiteral("Varga Map Maker"),
      QStringLiteral("Version " VMM_VERSION),
      QStringLiteral("A map editor for the battle maps of the Varga tactical wargame: paint "
                     "terrain and heights onto a battlefield picture and export the map files "
                     "the game loads."),
      QStringLiteral("Licence: GNU General Public License, version 3 or any later version "
                     "(GPL-3.0-or-later); its text: https://www.gnu.org/licenses/gpl-3.0.html"),
      QStringLiteral("Running on Qt %1").arg(QString::fromLatin1(qVersion())),
      QStringLiteral("Catalogue and settings: %1").arg(QDir::toNativeSeparators(dataFolder)),
  };
  for (const QString &text : texts) {
    auto *label = new QLabel(text, this);
    // A folder name comes from outside: never read as markup.
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(label);
    labels_ << label;
  }
  QFont title = labels_.first()->font();
  title.setBold(true);
  title.setPointSizeF(title.pointSizeF() * 1.4);
  labels_.first()->setFont(title);

  auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  QPushButton *licence =
      buttons->addButton(QStringLiteral("&Licence"), QDialogButtonBox::ActionRole);
  licence->setObjectName(QStringLiteral("btnLicence"));
  QPushButton *aboutQt =
      buttons->addButton(QStringLiteral("About &Qt"), QDialogButtonBox::ActionRole);
  aboutQt->setObjectName(QStringLiteral("btnAboutQt"));
  connect(licence, &QPushButton::clicked, this, &AboutDialog::showLicence);
  connect(aboutQt, &QPushButton::clicked, this, [this] { QMessageBox::aboutQt(this); });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  setMinimumWidth(480);
}

QStringList AboutDialog::lines() const {
  QStringList texts;
  for (const QLabel *label : labels_) texts << label->text();
  return texts;
}

void AboutDialog::showLicence() {
  if (!licenceViewer_) {
    licenceViewer_ = new QPlainTextEdit(this);
    licenceViewer_->setWindowFlag(Qt::Window);
    licenceViewer_->setObjectName(QStringLiteral("licenceText"));
    licenceViewer_->setWindowTitle(QStringLiteral("Licence: GPL-3.0-or-later"));
    licenceViewer_->setReadOnly(true);
    licenceViewer_->resize(640, 560);
    QFile text(licenceResource());
    if (text.open(QIODevice::ReadOnly))
      licenceViewer_->setPlainText(QString::fromUtf8(text.readAll()));
  }
  licenceViewer_->show();
  licenceViewer_->raise();
}

}  // namespace vmm
