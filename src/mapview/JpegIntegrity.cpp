#include "mapview/JpegIntegrity.h"

namespace vmm {

namespace {

constexpr unsigned char kMarker = 0xFF;
constexpr unsigned char kStartOfImage = 0xD8;
constexpr unsigned char kEndOfImage = 0xD9;
constexpr unsigned char kStartOfScan = 0xDA;

unsigned char byteAt(QByteArrayView bytes, qsizetype at) {
  return static_cast<unsigned char>(bytes[at]);
}

bool hasLengthField(unsigned char marker) {
  // SOI, EOI, TEM and the restart markers stand alone; every other marker has a length.
  return !(marker == kStartOfImage || marker == kEndOfImage || marker == 0x01 ||
           (marker >= 0xD0 && marker <= 0xD7));
}

// Inside scan data a 0xFF byte is always followed by 0x00 or a restart marker, so the
// first 0xFF 0xD9 after the scan header is the real end of the image.
bool endsWithEndOfImage(QByteArrayView scan) {
  for (qsizetype at = scan.indexOf(char(kMarker)); at >= 0 && at + 1 < scan.size();
       at = scan.indexOf(char(kMarker), at + 1))
    if (byteAt(scan, at + 1) == kEndOfImage) return true;
  return false;
}

}  // namespace

bool jpegIsCutShort(QByteArrayView file) {
  if (file.size() < 2 || byteAt(file, 0) != kMarker || byteAt(file, 1) != kStartOfImage)
    return false;
  qsizetype at = 2;
  for (;;) {
    while (at < file.size() && byteAt(file, at) == kMarker && at + 1 < file.size() &&
           byteAt(file, at + 1) == kMarker)
      ++at;  // fill bytes before a marker
    if (at + 2 > file.size()) return true;
    if (byteAt(file, at) != kMarker) return false;  // not a marker: the decoder decides
    const unsigned char marker = byteAt(file, at + 1);
    if (marker == kEndOfImage) return true;  // an end before any scan
    if (!hasLengthField(marker)) {
      at += 2;
      continue;
    }
    if (at + 4 > file.size()) return true;
    const qsizetype length = (qsizetype(byteAt(file, at + 2)) << 8) | byteAt(file, at + 3);
    const qsizetype next = at + 2 + length;
    if (length < 2 || next > file.size()) return true;
    if (marker == kStartOfScan) return !endsWithEndOfImage(file.sliced(next));
    at = next;
  }
}

}  // namespace vmm
