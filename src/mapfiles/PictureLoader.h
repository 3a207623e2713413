// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

namespace vmm {

// The outcome of checking a map picture. When accepted, `picture` holds the
// decoded picture (Format_RGB32) and the map's size in Quads; when refused,
// `message` and `title` say why, worded for the user.
struct PictureLoadResult {
  bool accepted = false;
  QString message;
  QString title;
  QImage picture;
  int xQuads = 0;
  int yQuads = 0;
  int totalQuads = 0;
  // The picture file's bytes exactly as read, and its name without the folder: a map
  // project keeps both, so that it opens where the picture file is not.
  QByteArray fileBytes;
  QString fileName;
};

// Reads and validates a map picture: the width and then the height must be
// multiples of 120 pixels, and the map may hold at most 5001 Quads. Only a regular
// file is opened. The size declared in the file's header is checked before anything
// is decoded, so an oversized or wrong-sized picture is refused without decoding it;
// an accepted file is decoded once. A JPEG's structure is walked before it is decoded
// (see JpegIntegrity.h), and any word of missing or corrupt data from its decoder
// refuses it.
class PictureLoader {
 public:
  static PictureLoadResult load(const QString &path);
  // The same checks on a picture file's bytes held in memory (the copy a project
  // keeps); `shownName` names the picture in the messages, `fileName` is its file
  // name, whose extension helps to recognise formats without a signature.
  static PictureLoadResult loadData(const QByteArray &bytes, const QString &fileName,
                                    const QString &shownName);

  // The refusal message for a picture of `size`, or an empty string when the
  // size makes a valid map.
  static QString sizeProblem(const QString &path, QSize size);

  static constexpr int kSizeMultiple = 120;
  // No picture of at most 5001 Quads needs a larger file, whatever its format; a larger
  // file is refused before it is read.
  static constexpr qint64 kMaxFileBytes = qint64(128) * 1024 * 1024;
  static inline const QString kTitle = QStringLiteral("Invalid Image");
};

}  // namespace vmm
