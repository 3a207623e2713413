#include "mapview/JpegIntegrity.h"

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

QString beyondLimit(const QString &amount) {
  return QStringLiteral(
             "the file holds more than %1, far more than any camera or paint "
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
    if (isFrameHeader(marker) && !found.declaredSize.isValid() && length >= 7) {
      // Length (2), precision (1), then height and width, big-endian.
      const int height = (int(byteAt(file, at + 3)) << 8) | byteAt(file, at + 4);
      const int width = (int(byteAt(file, at + 5)) << 8) | byteAt(file, at + 6);
      found.declaredSize = QSize(width, height);
    }
    at += length;
    if (marker == kStartOfScan) {
      if (++found.scans > kJpegMaxScans) {
        found.problem = beyondLimit(QStringLiteral("%1 scans").arg(kJpegMaxScans));
        return found;
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
