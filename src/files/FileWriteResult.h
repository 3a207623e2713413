// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QFileDevice>
#include <QString>

namespace vmm {

// Outcome of writing one output file. On failure the earlier file of that name is untouched.
struct FileWriteResult {
  bool ok = true;
  int errorCode = 0;  // QFileDevice::FileError of the failing step
  QString errorText;  // the system's description of the failure

  // The map text writers report a failure under this title with messageText().
  static QString messageTitle() { return QStringLiteral("AppendToTextFile"); }
  // "Error: <number>. <description>", one line.
  QString messageText() const;

  // The failure a file device reports (a generic write error when it recorded none).
  static FileWriteResult failureOf(const QFileDevice &file);
};

// Refuses (PermissionsError) when `path` is an existing file whose permission bits allow
// nobody to write it: a file the user marked read-only is never replaced, even by a user
// whom the system would let replace it. Otherwise returns success.
FileWriteResult checkNotReadOnly(const QString &path);

// Refuses (OpenError) when `path` names something that is not a regular file (a device, a
// pipe, a folder): replacing it with a file would take it from whoever uses it. Then the
// read-only check above.
FileWriteResult checkReplaceable(const QString &path);

// The permissions a new file gets under the user's umask (rw for everyone, less the mask),
// as an editor's other new files have them.
QFileDevice::Permissions newFilePermissions();

// The file a write of `path` replaces: the end of its chain of links (at most 40, as the
// system follows), made absolute; `path` itself when it is no link.
QString finalLinkTarget(const QString &path);

// Removes what killed writes of `path` left beside it: files named "NAME.XXXXXX" (six
// letters) that are regular files of this user, carry no permission bit (the mark of
// unfinished content) and have not changed for a minute. Nothing else is touched.
void removeLeftoversOf(const QString &path);

// Replaces `path` with `bytes` atomically: the new content appears whole or not at all.
// Refuses what checkReplaceable refuses. While it is written the new content has no
// permission bits; after a successful write, such copies that killed runs left beside the
// target under QSaveFile's temporary names ("NAME.XXXXXX", untouched for a minute, of this
// user) are removed.
FileWriteResult writeFileAtomically(const QString &path, QByteArrayView bytes);

}  // namespace vmm
