// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

namespace vmm {
class EditorSession;
}

namespace vmm::test {

// Gives `session` the built-in catalogue and a map on `picture` (240 x 120: 6 x 3 Quads)
// with mixed elements and heights, some unassigned, both views repainted. False when the
// catalogue or the picture was refused.
bool startSampleMap(EditorSession &session, const QString &picture);

// The project's bytes with its picture row rewritten to declare a picture of `declared`
// bytes that the file does not hold: the row's size fields say so, its content is cut
// off after the first page. SQLite only finds out when it reads the bytes.
QByteArray declareHugePicture(const QByteArray &project, qint64 declared);

}  // namespace vmm::test
