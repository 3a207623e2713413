#include "mapview/widgets/EditCursors.h"

#include "mapfiles/InputFile.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QPixmap>

namespace vmm {

namespace {

constexpr int kHotSpot = 15;  // the crosshair's centre in every cursor file

QString builtInPath(int mode) {
  return QStringLiteral(":/cursors/") +
         QString::fromLatin1(EditCursors::kFileNames[static_cast<std::size_t>(mode)]);
}

std::optional<QCursor> readCursor(const QString &path) {
  QImageReader reader(path);
  // A file in the data folder is outside input: only a regular file is opened.
  InputFile input;
  if (!path.startsWith(u':')) {
    if (!input.open(path)) return std::nullopt;
    reader.setDevice(&input.file());
  }
  const QImage image = reader.read();
  if (image.isNull()) return std::nullopt;
  return QCursor(QPixmap::fromImage(image), kHotSpot, kHotSpot);
}

}  // namespace

EditCursors::EditCursors(const QString &dataFolder) {
  // Distinct shapes for the unlikely case that even the built-in files fail.
  const std::array<Qt::CursorShape, 4> lastResort = {Qt::CrossCursor, Qt::SizeAllCursor,
                                                     Qt::PointingHandCursor, Qt::ForbiddenCursor};
  for (int mode = 0; mode < 4; ++mode) {
    const auto i = static_cast<std::size_t>(mode);
    const QString path = QDir(dataFolder).filePath(QString::fromLatin1(kFileNames[i]));
    if (auto fromFile = readCursor(path)) {
      cursors_[i] = *fromFile;
      fromFolder_[i] = true;
    } else if (auto builtIn = readCursor(builtInPath(mode))) {
      cursors_[i] = *builtIn;
    } else {
      cursors_[i] = QCursor(lastResort[i]);
    }
  }
}

const QCursor &EditCursors::cursor(int mode) const {
  return cursors_.at(static_cast<std::size_t>(std::clamp(mode, 0, 3)));
}

bool EditCursors::fromDataFolder(int mode) const {
  return fromFolder_.at(static_cast<std::size_t>(mode));
}

void EditCursors::installDefaults(const QString &dataFolder) {
  QDir folder(dataFolder);
  if (!folder.exists() && !QDir().mkpath(dataFolder)) return;
  for (int mode = 0; mode < 4; ++mode) {
    const QString target =
        folder.filePath(QString::fromLatin1(kFileNames[static_cast<std::size_t>(mode)]));
    if (QFile::exists(target)) continue;
    if (QFile::copy(builtInPath(mode), target))
      QFile::setPermissions(
          target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
  }
}

}  // namespace vmm
