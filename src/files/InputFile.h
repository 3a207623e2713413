// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <memory>
#include <optional>

namespace vmm {

// What a path names when it is there but is not a regular file, worded for a message:
// "a folder", "a pipe", "a device", "a socket"; empty for a regular file or a path that
// names nothing. Links are followed.
QString nonFileKind(const QString &path);

// A file from outside opened for reading, and only if it is a regular file: a pipe, a
// device or a folder is refused with a message saying what it is, and the open never
// waits for a pipe's other end. Every reader of user input opens its file through this.
class InputFile {
 public:
  // Opens `path`; false, with errorString(), when it is missing, unreadable or no file.
  bool open(const QString &path);

  // Valid after a successful open(): the file, positioned at its start.
  QFile &file() { return *file_; }
  qint64 size() const { return file_ ? file_->size() : 0; }
  // The system's reason, or "it is a pipe, not a file" and the like.
  QString errorString() const { return error_; }

  // The whole file, or nothing (and errorString()) when it holds more than `maxBytes`
  // or cannot be read. Reads at most maxBytes + 1 bytes whatever the file claims.
  std::optional<QByteArray> readAll(qint64 maxBytes);

 private:
  std::unique_ptr<QFile> file_;
  QString error_;
};

}  // namespace vmm
