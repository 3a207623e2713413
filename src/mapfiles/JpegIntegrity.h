// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QSize>
#include <QString>

namespace vmm {

// Limits on a JPEG's structure, beyond what any camera or paint program writes. The
// decoder's work grows with each of them (a header of many small segments costs far more
// to read than its bytes, and every scan is a pass over the blocks of its components,
// however little data it holds), so a file past one is refused before it is decoded.
inline constexpr int kJpegMaxSegments = 1000;  // marker segments, scans included
inline constexpr int kJpegMaxScans = 40;       // start-of-scan markers
// The scans' passes over the picture: each scan counts the blocks of the components it
// carries, in full-resolution planes. A baseline 4:2:0 file makes 1.5, a progressive one
// 8 (4:2:0) to 16 (CMYK without subsampling).
inline constexpr int kJpegMaxScanPasses = 20;
inline constexpr qint64 kJpegMaxMetadataBytes = 16 * 1024 * 1024;  // comments and application data

// What a walk over a JPEG's markers found, in time linear in the file's size.
struct JpegStructure {
  // Why the file is refused before decoding, worded to follow "could not be read: ";
  // empty when the decoder may have it.
  QString problem;
  QSize declaredSize;  // the first frame header's width and height; invalid when none came
  int segments = 0;
  int scans = 0;
  double scanPasses = 0;  // see kJpegMaxScanPasses
  qint64 metadataBytes = 0;
};

// Whether the bytes start as every JPEG file does (the start-of-image marker).
bool looksLikeJpeg(QByteArrayView head);

// Walks the markers from the start of image to the end of image; the bytes after it are not
// looked at. Refuses a file that ends before its end-of-image marker (the decoder would fill
// the missing part with grey and call it a success), one with stray bytes where a marker
// belongs, and one beyond the limits above.
JpegStructure inspectJpeg(QByteArrayView file);

}  // namespace vmm
