// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "edits/RandomSource.h"
#include "session/UserDialogs.h"

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QList>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>

#include <deque>
#include <memory>
#include <optional>

class QWidget;

namespace vmm {
class MainWindow;
}

namespace vmm::test {

// A recorded message box.
struct ShownMessage {
  QString text;
  QString title;
  MessageButtons buttons = MessageButtons::Ok;
  MessageAnswer defaultAnswer = MessageAnswer::Ok;
};

// Answers the editor's dialogs from queues filled by a test and records every message.
class ScriptedDialogs : public UserDialogs {
 public:
  MessageAnswer message(const QString &text, const QString &title, MessageIcon icon,
                        MessageButtons buttons, MessageAnswer defaultAnswer) override;
  QString openFileName(const QString &filter) override;
  QString saveFileName(const QString &filter, const QString &defaultSuffix) override;
  std::optional<quint32> chooseColour(quint32 initial) override;
  std::optional<QString> chooseValueToReplace(Plane plane, const QString &replacement) override;

  std::deque<MessageAnswer> answers;  // for message(); default answer when empty
  std::deque<QString> openNames;      // empty string = cancel
  std::deque<QString> saveNames;      // empty string = cancel
  std::deque<std::optional<quint32>> colours;
  std::deque<std::optional<QString>> replacedValues;  // nothing = cancel
  QList<Plane> replacePlanes;                         // the plane of every replace question
  QStringList replacements;                           // and the value it offered to write

  QList<ShownMessage> messages;
  QStringList openFilters;
  QStringList saveFilters;
};

// A data folder of the editor's own, holding a 240 x 120 picture: a map of 6 x 3 Quads.
struct EditorHome {
  EditorHome();
  QString filePath(const QString &name) const { return dir.filePath(name); }
  QTemporaryDir dir;
  QString picture;
};

// Writes a picture of the given size in one colour and returns its path.
QString writePicture(const QString &folder, int width, int height,
                     QColor fill = QColor(200, 180, 120), const char *format = "PNG");

// A picture encoded in `format` ("PNG", "JPG" ...).
QByteArray encodedPicture(const QImage &image, const char *format);
// A real JPEG whose frame header declares another size.
QByteArray jpegDeclaring(int width, int height);

// The centre of a Sector cell on a map 6 Quads wide.
QPoint sectorCentre(int quad, int sector);

// Mouse events with explicit button and key state, as the surfaces receive them.
void sendMouseMove(QWidget *widget, QPoint position, Qt::MouseButtons buttons,
                   Qt::KeyboardModifiers modifiers = Qt::NoModifier);
void sendMousePress(QWidget *widget, QPoint position, Qt::MouseButton button,
                    Qt::KeyboardModifiers modifiers = Qt::NoModifier);
void sendMouseRelease(QWidget *widget, QPoint position, Qt::MouseButton button,
                      Qt::KeyboardModifiers modifiers = Qt::NoModifier);
// Press, move through every point, release: one left-button stroke.
void dragLeft(QWidget *widget, const QList<QPoint> &points,
              Qt::KeyboardModifiers modifiers = Qt::NoModifier);
// Triggers the window's menu command with this object name.
void trigger(QWidget *window, const char *action);

// Returns the given draws in turn (cycling) and counts them.
class ScriptedRandom : public RandomSource {
 public:
  explicit ScriptedRandom(QList<float> values) : values_(std::move(values)) {}
  float next() override { return values_[draws++ % values_.size()]; }
  int draws = 0;

 private:
  QList<float> values_;
};

// A map text for a picture of xQuads x yQuads: `rows` Quad rows, every Sector element `element`
// and height `height`, and the end marker.
QByteArray uniformMapText(int xQuads, int yQuads, int rows, int element, int height);

// Runs SQL statements on a database file as another SQLite tool would, `bound` (when valid)
// bound to each. The first value of the last statement's result; nothing when one failed.
std::optional<QVariant> runSql(const QString &path, const QStringList &statements,
                               const QVariant &bound = {});

// The file's bytes; empty when it cannot be read.
QByteArray readFile(const QString &path);
// Replaces the file's bytes; false when they could not all be written.
bool writeFile(const QString &path, const QByteArray &bytes);

// A GDI colour value (red in the low byte) as a QColor, to compare with surface pixels.
QColor gdiColour(quint32 colour);

// A main window, resized and shown, with the picture imported; null when it was refused.
std::unique_ptr<MainWindow> openShownMap(UserDialogs &dialogs, const QString &picture);

// The map (every Sector of a 6 x 3 map, both planes, and TotalQuads) and both coloured views.
struct MapState {
  QList<qint16> values;
  QImage terrain;
  QImage elevation;
  bool operator==(const MapState &) const = default;
};
MapState mapState(MainWindow &main);
// True when the two differ, undo ("mnuUndo") brings back `before` exactly and redo
// ("mnuRedo") `after`: values, Quad count and the pixels of both coloured views.
bool undoRedoRestores(MainWindow &main, const MapState &before, const MapState &after);

}  // namespace vmm::test
