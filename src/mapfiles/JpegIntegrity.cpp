// SPDX-License-Identifier: GPL-3.0-or-later
#include "mapfiles/JpegIntegrity.h"

#include <algorithm>
#include <array>

namespace vmm {

namespace {

constexpr unsigned char kMarker = 0xFF;
constexpr unsigned char kStartOfImage = 0xD8;
constexpr unsigned char kEndOfImage = 0xD9;
constexpr unsigned char kStartOfScan = 0xDA;
constexpr unsigned char kComment = 0xFE;

unsigned char byteAt(QByteArrayView bytes, qsizetype at) {
  return static_cast<unsigned char>(bytes[at]);
}

bool isRestart(unsigned char marker) {
  return marker >= 0xD0 && marker <= 0xD7;
}

bool hasLengthField(unsigned char marker) {
  // SOI, EOI, TEM and the restart markers stand alone; every other marker has a length.
  return !(marker == kStartOfImage || marker == kEndOfImage || marker == 0x01 || isRestart(marker));
}

bool isFrameHeader(unsigned char marker) {
  // SOF0 to SOF15, except DHT (C4), JPG (C8) and DAC (CC), which share the range.
  return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

bool isMetadata(unsigned char marker) {
  return (marker >= 0xE0 && marker <= 0xEF) || marker == kComment;  // APP0..APP15, COM
}

// The position of the marker that ends the entropy-coded data starting at `at`, or -1
// when the file ends first. Inside the data a 0xFF byte is followed by 0x00 (a stuffed
// byte), a restart marker or another 0xFF (fill), never by anything else.
qsizetype endOfScanData(QByteArrayView file, qsizetype at) {
  for (;;) {
    at = file.indexOf(char(kMarker), at);
    if (at < 0 || at + 1 >= file.size()) return -1;
    const unsigned char next = byteAt(file, at + 1);
    if (next != 0x00 && next != kMarker && !isRestart(next)) return at;
    at += next == kMarker ? 1 : 2;
  }
}

// The blocks of each component of the frame, by component id, to weigh the scans with.
struct FrameBlocks {
  std::array<qint64, 256> byId{};
  qint64 plane = 0;  // the blocks of one full-resolution plane

  // From a frame header's content: precision, height, width, then id, sampling factors
  // and table for each component.
  static FrameBlocks of(QByteArrayView header) {
    FrameBlocks frame;
    if (header.size() < 6) return frame;
    const qint64 height = (qint64(byteAt(header, 1)) << 8) | byteAt(header, 2);
    const qint64 width = (qint64(byteAt(header, 3)) << 8) | byteAt(header, 4);
    const int count = std::min<int>(byteAt(header, 5), int((header.size() - 6) / 3));
    int hMax = 1, vMax = 1;
    for (int c = 0; c < count; ++c) {
      hMax = std::max(hMax, byteAt(header, 7 + 3 * c) >> 4);
      vMax = std::max(vMax, byteAt(header, 7 + 3 * c) & 15);
    }
    const auto blocks = [](qint64 samples) { return (samples + 7) / 8; };
    for (int c = 0; c < count; ++c) {
      const int h = byteAt(header, 7 + 3 * c) >> 4, v = byteAt(header, 7 + 3 * c) & 15;
      frame.byId[byteAt(header, 6 + 3 * c)] =
          blocks((width * h + hMax - 1) / hMax) * blocks((height * v + vMax - 1) / vMax);
    }
    frame.plane = blocks(width) * blocks(height);
    return frame;
  }

  // The blocks a scan header's components cover: a count, then an id and tables each.
  qint64 scanned(QByteArrayView header) const {
    if (header.isEmpty()) return 0;
    const int count = std::min<int>(byteAt(header, 0), int((header.size() - 1) / 2));
    qint64 sum = 0;
    for (int c = 0; c < count; ++c) sum += byId[byteAt(header, 1 + 2 * c)];
    return sum;
  }
};

QString beyondLimit(const QString &amount) {
  return QStringLiteral(
             "the file holds more than %1, more than any camera or paint "
             "program writes")
      .arg(amount);
}

}  // namespace

bool looksLikeJpeg(QByteArrayView head) {
  return head.size() >= 2 && byteAt(head, 0) == kMarker && byteAt(head, 1) == kStartOfImage;
}

JpegStructure inspectJpeg(QByteArrayView file) {
  JpegStructure found;
  const QString cutShort = QStringLiteral("the file ends before the picture does");
  if (!looksLikeJpeg(file)) {
    found.problem = QStringLiteral("it is not a JPEG file");
    return found;
  }
  FrameBlocks frame;
  qint64 scannedBlocks = 0;
  qsizetype at = 2;
  for (;;) {
    if (at >= file.size()) {
      found.problem = cutShort;
      return found;
    }
    if (byteAt(file, at) != kMarker) {
      found.problem = QStringLiteral("Corrupt JPEG data: stray bytes where a marker belongs");
      return found;
    }
    while (at + 1 < file.size() && byteAt(file, at + 1) == kMarker) ++at;  // fill bytes
    if (at + 2 > file.size()) {
      found.problem = cutShort;
      return found;
    }
    const unsigned char marker = byteAt(file, at + 1);
    at += 2;
    if (marker == kEndOfImage) return found;
    if (++found.segments > kJpegMaxSegments) {
      found.problem = beyondLimit(QStringLiteral("%1 marker segments").arg(kJpegMaxSegments));
      return found;
    }
    if (!hasLengthField(marker)) continue;
    if (at + 2 > file.size()) {
      found.problem = cutShort;
      return found;
    }
    const qsizetype length = (qsizetype(byteAt(file, at)) << 8) | byteAt(file, at + 1);
    if (length < 2) {
      found.problem = QStringLiteral(
          "Corrupt JPEG data: a marker segment shorter than its "
          "length field");
      return found;
    }
    if (at + length > file.size()) {
      found.problem = cutShort;
      return found;
    }
    if (isMetadata(marker) && (found.metadataBytes += length) > kJpegMaxMetadataBytes) {
      found.problem = beyondLimit(QStringLiteral("%1 MiB of comments and application data")
                                      .arg(kJpegMaxMetadataBytes >> 20));
      return found;
    }
    const QByteArrayView content = file.sliced(at + 2, length - 2);
    if (isFrameHeader(marker) && !found.declaredSize.isValid() && length >= 7) {
      // Precision (1), then height and width, big-endian.
      const int height = (int(byteAt(content, 1)) << 8) | byteAt(content, 2);
      const int width = (int(byteAt(content, 3)) << 8) | byteAt(content, 4);
      found.declaredSize = QSize(width, height);
      frame = FrameBlocks::of(content);
    }
    at += length;
    if (marker == kStartOfScan) {
      if (++found.scans > kJpegMaxScans) {
        found.problem = beyondLimit(QStringLiteral("%1 scans").arg(kJpegMaxScans));
        return found;
      }
      scannedBlocks += frame.scanned(content);
      if (frame.plane > 0) {
        found.scanPasses = double(scannedBlocks) / double(frame.plane);
        if (scannedBlocks > kJpegMaxScanPasses * frame.plane) {
          found.problem = beyondLimit(
              QStringLiteral("%1 passes of its scans over the picture").arg(kJpegMaxScanPasses));
          return found;
        }
      }
      at = endOfScanData(file, at);
      if (at < 0) {
        found.problem = cutShort;
        return found;
      }
    }
  }
}

}  // namespace vmm
