// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QString>

namespace vmm {

// The UTF-8 byte order mark some editors put before a text; readers skip it.
inline constexpr QByteArrayView kUtf8ByteOrderMark("\xEF\xBB\xBF");

// Whether a text starts with a UTF-16 byte order mark (either byte order).
bool startsWithUtf16Mark(QByteArrayView start);

// Line `number` (1-based) of a text without its line end, with the reader's rule: CR LF,
// LF and CR each end a line. Empty when the text is shorter.
QByteArrayView textLine(QByteArrayView text, int number);

// The map's size as header lines 3 and 4 give it: the number before " X Max " and " Y Max ".
struct HeaderQuadCounts {
  bool ok = false;
  qint16 XQuads = 0;
  qint16 YQuads = 0;
  int problemLine = 0;  // when !ok: the line that does not give a size
  QString problem;
  bool notText = false;  // when !ok: the bytes are no map text at all (UTF-16 text)
};
HeaderQuadCounts readHeaderQuadCounts(QByteArrayView bytes);

}  // namespace vmm
