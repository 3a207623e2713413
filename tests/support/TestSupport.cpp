// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/TestSupport.h"

#include "gdi/GdiTypes.h"
#include "ui/main/MainWindow.h"
#include "ui/mapview/MapViewWindow.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QMouseEvent>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>

namespace vmm::test {

namespace {
template <typename T>
T takeFront(std::deque<T> &queue, T fallback = {}) {
  if (queue.empty()) return fallback;
  T value = queue.front();
  queue.pop_front();
  return value;
}
}  // namespace

MessageAnswer ScriptedDialogs::message(const QString &text, const QString &title, MessageIcon,
                                       MessageButtons buttons, MessageAnswer defaultAnswer) {
  messages.append({text, title, buttons, defaultAnswer});
  return takeFront(answers, defaultAnswer);
}

QString ScriptedDialogs::openFileName(const QString &filter) {
  openFilters.append(filter);
  return takeFront(openNames);
}

QString ScriptedDialogs::saveFileName(const QString &filter, const QString &defaultSuffix) {
  saveFilters.append(filter);
  QString name = takeFront(saveNames);
  // As the real dialog: a name typed without an extension gets the default one.
  if (!name.isEmpty() && !defaultSuffix.isEmpty() && QFileInfo(name).suffix().isEmpty())
    name += u'.' + defaultSuffix;
  return name;
}

std::optional<quint32> ScriptedDialogs::chooseColour(quint32) {
  return takeFront(colours);
}

std::optional<QString> ScriptedDialogs::chooseValueToReplace(Plane plane,
                                                             const QString &replacement) {
  replacePlanes.append(plane);
  replacements.append(replacement);
  if (replacedValues.empty()) return std::nullopt;
  const QString value = replacedValues.front().value_or(QString());
  const bool cancelled = !replacedValues.front().has_value();
  replacedValues.pop_front();
  if (cancelled) return std::nullopt;
  return value;
}

EditorHome::EditorHome() {
  qputenv("VARGA_MAP_MAKER_HOME", dir.path().toUtf8());
  picture = writePicture(dir.path(), 240, 120);
}

QString writePicture(const QString &folder, int width, int height, QColor fill,
                     const char *format) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(fill);
  // A little structure so that restored cells can be told from a flat fill.
  for (int y = 0; y < height; y += 7)
    for (int x = 0; x < width; x += 5) image.setPixelColor(x, y, fill.darker(130));
  const QString file = QDir(folder).filePath(QStringLiteral("picture_%1x%2.%3")
                                                 .arg(width)
                                                 .arg(height)
                                                 .arg(QLatin1String(format))
                                                 .toLower());
  image.save(file, format);
  return file;
}

QByteArray encodedPicture(const QImage &image, const char *format) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, format)) qFatal("cannot encode %s", format);
  return bytes;
}

QByteArray jpegDeclaring(int width, int height) {
  QImage image(120, 120, QImage::Format_RGB32);
  for (int y = 0; y < 120; ++y)
    for (int x = 0; x < 120; ++x) image.setPixel(x, y, qRgb(x * 2, y * 2, 90));
  QByteArray bytes = encodedPicture(image, "JPG");
  const qsizetype frame = bytes.indexOf("\xFF\xC0");
  if (frame < 0) qFatal("no baseline frame header");
  // FF C0, length (2), precision (1), then height and width, big-endian.
  bytes[frame + 5] = char(height >> 8);
  bytes[frame + 6] = char(height & 0xFF);
  bytes[frame + 7] = char(width >> 8);
  bytes[frame + 8] = char(width & 0xFF);
  return bytes;
}

QPoint sectorCentre(int quad, int sector) {
  return {40 * (quad % 6) + 10 * (sector % 4) + 5, 40 * (quad / 6) + 10 * (sector / 4) + 5};
}

namespace {
void sendMouse(QWidget *widget, QEvent::Type type, QPoint position, Qt::MouseButton button,
               Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) {
  const QPointF local(position);
  QMouseEvent event(type, local, widget->mapToGlobal(local), button, buttons, modifiers);
  QApplication::sendEvent(widget, &event);
}
}  // namespace

void sendMouseMove(QWidget *widget, QPoint position, Qt::MouseButtons buttons,
                   Qt::KeyboardModifiers modifiers) {
  sendMouse(widget, QEvent::MouseMove, position, Qt::NoButton, buttons, modifiers);
}

void sendMousePress(QWidget *widget, QPoint position, Qt::MouseButton button,
                    Qt::KeyboardModifiers modifiers) {
  sendMouse(widget, QEvent::MouseButtonPress, position, button, button, modifiers);
}

void sendMouseRelease(QWidget *widget, QPoint position, Qt::MouseButton button,
                      Qt::KeyboardModifiers modifiers) {
  sendMouse(widget, QEvent::MouseButtonRelease, position, button, Qt::NoButton, modifiers);
}

void dragLeft(QWidget *widget, const QList<QPoint> &points, Qt::KeyboardModifiers modifiers) {
  if (points.isEmpty()) return;
  sendMouseMove(widget, points.first(), Qt::NoButton, modifiers);
  sendMousePress(widget, points.first(), Qt::LeftButton, modifiers);
  for (const QPoint &p : points) sendMouseMove(widget, p, Qt::LeftButton, modifiers);
  sendMouseRelease(widget, points.last(), Qt::LeftButton, modifiers);
}

void trigger(QWidget *window, const char *action) {
  auto *item = window->findChild<QAction *>(QString::fromLatin1(action));
  QVERIFY2(item, action);
  item->trigger();
}

QByteArray uniformMapText(int xQuads, int yQuads, int rows, int element, int height) {
  QByteArray text = QByteArray::number(10) + "\r\n \r\n" + QByteArray::number(xQuads) +
                    " X Max \r\n" + QByteArray::number(yQuads) + " Y Max \r\n0\r\n0\r\nId\r\n&\r\n";
  const QByteArray values = ('\t' + QByteArray::number(element)).repeated(kSectorsPerQuad) +
                            ('\t' + QByteArray::number(height)).repeated(kSectorsPerQuad);
  for (int quad = 0; quad < rows; ++quad) text += QByteArray::number(quad) + values + "\r\n";
  return text + "#\r\n";
}

std::optional<QVariant> runSql(const QString &path, const QStringList &statements,
                               const QVariant &bound) {
  std::optional<QVariant> value;
  {
    QSqlDatabase db =
        QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("test-sql"));
    db.setDatabaseName(path);
    QSqlQuery query(db);
    bool ok = db.open();
    for (const QString &statement : statements) {
      if (!ok) break;
      ok = query.prepare(statement);
      if (ok && bound.isValid()) query.addBindValue(bound);
      ok = ok && query.exec();
      if (!ok) qWarning("%s: %s", qPrintable(statement), qPrintable(query.lastError().text()));
    }
    if (ok) value = query.next() ? query.value(0) : QVariant();
  }
  QSqlDatabase::removeDatabase(QStringLiteral("test-sql"));
  return value;
}

QByteArray readFile(const QString &path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
         file.write(bytes) == bytes.size() && file.flush();
}

QColor gdiColour(quint32 colour) {
  return QColor::fromRgb(toPixel(colour));
}

std::unique_ptr<MainWindow> openShownMap(UserDialogs &dialogs, const QString &picture) {
  auto main = std::make_unique<MainWindow>(&dialogs);
  main->resize(900, 600);
  main->show();
  if (!main->LoadMapImage(picture)) return nullptr;
  return main;
}

MapState mapState(MainWindow &main) {
  const MapDocument &doc = main.session().document();
  MapState s{{doc.TotalQuads},
             main.mapView()->surfaces().surface(MapView::Terrain).copy(),
             main.mapView()->surfaces().surface(MapView::Elevation).copy()};
  for (int quad = 0; quad < 18; ++quad)
    for (int sector = 0; sector < kSectorsPerQuad; ++sector)
      s.values << doc.value(quad, sector, Plane::Element) << doc.value(quad, sector, Plane::Height);
  return s;
}

bool undoRedoRestores(MainWindow &main, const MapState &before, const MapState &after) {
  if (after == before) return false;
  main.findChild<QAction *>(QStringLiteral("mnuUndo"))->trigger();
  if (!(mapState(main) == before)) return false;
  main.findChild<QAction *>(QStringLiteral("mnuRedo"))->trigger();
  return mapState(main) == after;
}

}  // namespace vmm::test
