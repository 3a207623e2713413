// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QImage>

namespace vmm::test {

// JPEG files made on the spot for the hostile-picture tests and the benchmark: nothing of
// megabytes is stored, every file is written from a picture and a few numbers.

// How the picture is coded.
struct JpegShape {
  int scans = 1;            // 1: baseline; more: progressive with this many scans
  bool fullChroma = false;  // 4:4:4 instead of 4:2:0
  int quality = 85;
  int dcScans = 11;     // at most this many of them DC scans over every component (1 to 11)
  int acComponent = 0;  // the component the other scans refine
};

// `picture` as a JPEG. A progressive one's scans are those that cost a decoder the most
// for their number: DC scans over every component first, then single-coefficient scans of
// one component, each a whole pass over it with little data.
QByteArray encodeJpeg(const QImage &picture, const JpegShape &shape = {});

// `jpeg` with `count` comment segments of `bytesEach` bytes (2 to 65533) put after its
// start-of-image marker.
QByteArray withComments(const QByteArray &jpeg, int count, int bytesEach);

// `jpeg` cut after its first `keep` bytes, with an end-of-image marker appended.
QByteArray cutWithEnd(const QByteArray &jpeg, qsizetype keep);

// `jpeg` with the first frame header's height set to `height`.
QByteArray declaringHeight(const QByteArray &jpeg, int height);

// A picture with detail everywhere, so that JPEG codes it like a photograph.
QImage detailedPicture(int width, int height);

}  // namespace vmm::test
