// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/HostileJpeg.h"

#include <algorithm>
#include <cstdio>  // jpeglib.h needs FILE and size_t declared first
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

namespace vmm::test {
namespace {

// The encoder refuses successive approximation beyond this many bits for 8-bit samples.
constexpr int kMaxPointTransform = 10;

std::vector<jpeg_scan_info> costlyScans(int scans, int components, int dcScans, int acComponent) {
  std::vector<jpeg_scan_info> script;
  const auto add = [&](int count, int ss, int se, int ah, int al) {
    jpeg_scan_info scan{};
    scan.comps_in_scan = count;
    for (int i = 0; i < count; ++i) scan.component_index[i] = count == 1 ? acComponent : i;
    scan.Ss = ss;
    scan.Se = se;
    scan.Ah = ah;
    scan.Al = al;
    script.push_back(scan);
  };
  add(components, 0, 0, 0, kMaxPointTransform);
  for (int bit = kMaxPointTransform; bit >= 1 && int(script.size()) < std::min(scans, dcScans);
       --bit)
    add(components, 0, 0, bit, bit - 1);
  for (int k = 1; k < 64 && int(script.size()) < scans; ++k) {
    add(1, k, k, 0, kMaxPointTransform);
    for (int bit = kMaxPointTransform; bit >= 1 && int(script.size()) < scans; --bit)
      add(1, k, k, bit, bit - 1);
  }
  return script;
}

}  // namespace

QByteArray encodeJpeg(const QImage &picture, const JpegShape &shape) {
  const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);  // a test's own input: the default exit on error is fine
  jpeg_create_compress(&info);
  unsigned char *out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &out, &size);
  info.image_width = JDIMENSION(rgb.width());
  info.image_height = JDIMENSION(rgb.height());
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, shape.quality, TRUE);
  if (shape.fullChroma)
    for (int c = 0; c < info.num_components; ++c)
      info.comp_info[c].h_samp_factor = info.comp_info[c].v_samp_factor = 1;
  std::vector<jpeg_scan_info> script;
  if (shape.scans > 1) {
    script = costlyScans(shape.scans, info.num_components, shape.dcScans, shape.acComponent);
    info.scan_info = script.data();
    info.num_scans = int(script.size());
  }
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<uchar *>(rgb.constScanLine(int(info.next_scanline)));
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  QByteArray bytes(reinterpret_cast<const char *>(out), qsizetype(size));
  jpeg_destroy_compress(&info);
  std::free(out);
  return bytes;
}

QByteArray withComments(const QByteArray &jpeg, int count, int bytesEach) {
  QByteArray segment("\xFF\xFE", 2);
  segment += char((bytesEach >> 8) & 0xFF);
  segment += char(bytesEach & 0xFF);
  segment += QByteArray(bytesEach - 2, 'c');
  QByteArray comments;
  comments.reserve(segment.size() * count);
  for (int i = 0; i < count; ++i) comments += segment;
  return jpeg.first(2) + comments + jpeg.sliced(2);
}

QByteArray cutWithEnd(const QByteArray &jpeg, qsizetype keep) {
  return jpeg.first(keep) + QByteArray("\xFF\xD9", 2);
}

QByteArray declaringHeight(const QByteArray &jpeg, int height) {
  QByteArray bytes = jpeg;
  for (const char *frame : {"\xFF\xC0", "\xFF\xC2"}) {
    const qsizetype at = bytes.indexOf(frame);
    if (at < 0) continue;
    // Marker (2), length (2), precision (1), then the height, big-endian.
    bytes[at + 5] = char(height >> 8);
    bytes[at + 6] = char(height & 0xFF);
    break;
  }
  return bytes;
}

QImage detailedPicture(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  quint32 noise = 12345;
  for (int y = 0; y < height; ++y) {
    auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
    for (int x = 0; x < width; ++x) {
      noise = noise * 1664525u + 1013904223u;
      const int grain = int(noise >> 28);
      line[x] = qRgb((x / 3 + grain * 4) & 0xFF, (y / 2 + (x ^ y) % 37) & 0xFF,
                     ((x * y) / 97 + grain) & 0xFF);
    }
  }
  return image;
}

}  // namespace vmm::test
