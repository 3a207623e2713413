// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QImage>
#include <QString>

namespace vmm {

// A JPEG decoded into Format_RGB32, or why it was not.
struct JpegDecodeResult {
  QImage picture;  // null when refused
  QString error;   // the decoder's words, e.g. "Corrupt JPEG data: premature end of data segment"
};

// Decodes a JPEG held in memory. Unlike a lenient reader, which fills what is missing or
// damaged with grey and warns, any warning of missing or corrupt data refuses the picture:
// only notes that change no pixel (an unknown JFIF revision, an unknown Adobe transform code,
// a damaged colour profile, which is not used) are let through. The pixels are those of
// Qt's reader: the accurate inverse DCT and smooth chroma upsampling; CMYK pictures are
// taken as Adobe writes them (inverted).
JpegDecodeResult decodeJpeg(QByteArrayView bytes);

}  // namespace vmm
