#include "support/TestSupport.h"

namespace vmm::test {

MessageAnswer ScriptedDialogs::message(const QString &text, const QString &title, MessageIcon icon,
                                       MessageButtons buttons, MessageAnswer defaultAnswer) {
  messages.append({text, title, icon, buttons, defaultAnswer});
  if (answers.empty()) return defaultAnswer;
  const MessageAnswer answer = answers.front();
  answers.pop_front();
  return answer;
}

QString ScriptedDialogs::openFileName(const QString &filter) {
  openFilters.append(filter);
  if (openNames.empty()) return {};
  QString name = openNames.front();
  openNames.pop_front();
  return name;
}

QString ScriptedDialogs::saveFileName(const QString &filter) {
  saveFilters.append(filter);
  if (saveNames.empty()) return {};
  QString name = saveNames.front();
  saveNames.pop_front();
  return name;
}

std::optional<quint32> ScriptedDialogs::chooseColour(quint32) {
  if (colours.empty()) return std::nullopt;
  auto colour = colours.front();
  colours.pop_front();
  return colour;
}

}  // namespace vmm::test

#include "app/widgets/MDIfrmMain.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QMouseEvent>
#include <QWidget>

namespace vmm::test {

QString writePicture(const QString &folder, int width, int height, QColor fill, const char *format,
                     const QString &name) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(fill);
  // A little structure so that restored cells can be told from a flat fill.
  for (int y = 0; y < height; y += 7)
    for (int x = 0; x < width; x += 5) image.setPixelColor(x, y, fill.darker(130));
  const QString file =
      QDir(folder).filePath(name.isEmpty() ? QStringLiteral("picture_%1x%2.%3")
                                                 .arg(width)
                                                 .arg(height)
                                                 .arg(QString::fromLatin1(format).toLower())
                                           : name);
  image.save(file, format);
  return file;
}

namespace {
void sendMouse(QWidget *widget, QEvent::Type type, QPoint position, Qt::MouseButton button,
               Qt::MouseButtons buttons) {
  const QPointF local(position);
  QMouseEvent event(type, local, widget->mapToGlobal(local), button, buttons, Qt::NoModifier);
  QApplication::sendEvent(widget, &event);
}
}  // namespace

void sendMouseMove(QWidget *widget, QPoint position, Qt::MouseButtons buttons) {
  sendMouse(widget, QEvent::MouseMove, position, Qt::NoButton, buttons);
}

void sendMousePress(QWidget *widget, QPoint position, Qt::MouseButton button) {
  sendMouse(widget, QEvent::MouseButtonPress, position, button, button);
}

void sendMouseRelease(QWidget *widget, QPoint position, Qt::MouseButton button) {
  sendMouse(widget, QEvent::MouseButtonRelease, position, button, Qt::NoButton);
}

QColor gdiColour(quint32 colour) {
  return QColor(int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF));
}

std::unique_ptr<MDIfrmMain> openShownMap(UserDialogs &dialogs, const QString &picture) {
  auto main = std::make_unique<MDIfrmMain>(&dialogs);
  main->resize(900, 600);
  main->show();
  if (main->LoadMapImage(picture) != 0) return nullptr;
  return main;
}

void dragLeft(QWidget *widget, const QList<QPoint> &points) {
  if (points.isEmpty()) return;
  sendMouseMove(widget, points.first(), Qt::NoButton);
  sendMousePress(widget, points.first(), Qt::LeftButton);
  for (const QPoint &p : points) sendMouseMove(widget, p, Qt::LeftButton);
  sendMouseRelease(widget, points.last(), Qt::LeftButton);
}

}  // namespace vmm::test
