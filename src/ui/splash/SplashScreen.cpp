// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/splash/SplashScreen.h"

#include "gdi/Twips.h"

#include <QEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>
#include <QScreen>

namespace vmm {

namespace {

// The logo: a battlefield corner under the editor's grid, a few Sectors painted.
QPixmap drawLogo(int size) {
  QPixmap pixmap(size, size);
  QPainter p(&pixmap);
  QLinearGradient ground(0, 0, size, size);
  ground.setColorAt(0, QColor(118, 140, 78));
  ground.setColorAt(1, QColor(86, 104, 58));
  p.fillRect(pixmap.rect(), ground);
  p.fillRect(QRect(0, size * 5 / 8, size, size / 8), QColor(150, 130, 100));  // a road
  const int cell = size / 16;
  const QColor paints[] = {QColor(20, 100, 30), QColor(40, 130, 40), QColor(70, 110, 190)};
  for (int i = 0; i < 22; ++i) {
    const int x = (i * 7) % 16, y = (i * 5) % 9;
    p.fillRect(QRect(x * cell + 1, y * cell + 1, cell - 1, cell - 1), paints[i % 3]);
  }
  for (int i = 1; i <= 16; ++i) {
    p.setPen(i % 4 == 0 ? QColor(0, 0, 0) : QColor(0, 64, 64));
    p.drawLine(i * cell, 0, i * cell, size);
    p.drawLine(0, i * cell, size, i * cell);
  }
  return pixmap;
}

// The small icon: one Quad of four by four Sectors.
QPixmap drawIcon(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(QColor(200, 190, 160));
  QPainter p(&pixmap);
  const int cell = size / 4;
  p.fillRect(QRect(1, 1, cell * 2 - 1, cell - 1), QColor(30, 120, 40));
  p.fillRect(QRect(cell * 2 + 1, cell * 2 + 1, cell * 2 - 2, cell * 2 - 2), QColor(60, 100, 200));
  p.setPen(QColor(0, 64, 64));
  for (int i = 1; i < 4; ++i) {
    p.drawLine(i * cell, 0, i * cell, size);
    p.drawLine(0, i * cell, size, i * cell);
  }
  p.setPen(Qt::black);
  p.drawRect(0, 0, size - 1, size - 1);
  return pixmap;
}

QLabel *textLabel(QWidget *parent, const QString &name, const QString &text, int leftTwips,
                  int topTwips, int pointSize, bool bold = false) {
  auto *label = new QLabel(text, parent);
  label->setObjectName(name);
  QFont font(QStringLiteral("Arial"), pointSize);
  font.setBold(bold);
  label->setFont(font);
  label->adjustSize();
  label->move(twipsToPixels(leftTwips), twipsToPixels(topTwips));
  return label;
}

}  // namespace

SplashScreen::SplashScreen(QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
  setObjectName(QStringLiteral("frmSplash"));
  // Not shown on the frameless window; screen readers name the window by it.
  setWindowTitle(QStringLiteral("Varga Map Maker"));
  setFixedSize(twipsToPixels(7230), twipsToPixels(4350));
  if (const QScreen *screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
  setFocusPolicy(Qt::StrongFocus);

  frame_ = new QFrame(this);
  frame_->setObjectName(QStringLiteral("Frame1"));
  frame_->setFrameStyle(QFrame::Box | QFrame::Raised);
  frame_->setGeometry(rect());
  frame_->installEventFilter(this);

  auto *logo = new QLabel(frame_);
  logo->setObjectName(QStringLiteral("imgLogo"));
  logo->setPixmap(drawLogo(176));
  logo->move(twipsToPixels(300), twipsToPixels(900));
  auto *icon = new QLabel(frame_);
  icon->setObjectName(QStringLiteral("Image1"));
  icon->setPixmap(drawIcon(32));
  icon->move(twipsToPixels(300), twipsToPixels(150));

  textLabel(frame_, QStringLiteral("lblCompanyProduct"), QStringLiteral("Varga Map Maker"), 4065,
            225, 18, true);
  textLabel(frame_, QStringLiteral("lblProductName"), QStringLiteral("Map Making Tool"), 5250, 690,
            12);
  textLabel(frame_, QStringLiteral("lblPlatform"), QStringLiteral("Windows 98"), 5280, 3480, 10);
  textLabel(frame_, QStringLiteral("lblVersion"), QStringLiteral("Version 0.86"), 5640, 3840, 10);
  textLabel(frame_, QStringLiteral("Label1"), QStringLiteral("beta"), 6660, 4110, 8);
  // Labels must not swallow the clicks meant for the frame.
  for (QLabel *label : frame_->findChildren<QLabel *>())
    label->setAttribute(Qt::WA_TransparentForMouseEvents);

  timer_.setObjectName(QStringLiteral("Timer1"));
  timer_.setSingleShot(true);
  timer_.setInterval(kIntervalMs);
  connect(&timer_, &QTimer::timeout, this, &SplashScreen::finish);
  timer_.start();
}

void SplashScreen::finish() {
  // The timer stops with the first hand-over, so a late tick cannot open a second window.
  if (handedOver_) return;
  handedOver_ = true;
  timer_.stop();
  emit handOver();
  close();
}

void SplashScreen::mousePressEvent(QMouseEvent *) {
  finish();
}

void SplashScreen::keyPressEvent(QKeyEvent *) {
  finish();
}

bool SplashScreen::eventFilter(QObject *watched, QEvent *event) {
  if (watched == frame_ && event->type() == QEvent::MouseButtonPress) {
    finish();
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace vmm
