// SPDX-License-Identifier: GPL-3.0-or-later
#include "mapfiles/JpegDecoder.h"

#include <csetjmp>
#include <cstdio>  // jpeglib.h needs FILE and size_t declared first

#include <jerror.h>
#include <jpeglib.h>

namespace vmm {
namespace {

// libjpeg reports a fatal error through error_exit and a warning through emit_message with
// level -1; both come back here with the message by a long jump out of the library.
struct StrictErrors {
  jpeg_error_mgr manager;  // first, so that libjpeg's pointer to it is a pointer to this
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void refuse(j_common_ptr info) {
  auto *errors = reinterpret_cast<StrictErrors *>(info->err);
  (*info->err->format_message)(info, errors->message);
  std::longjmp(errors->jump, 1);
}

void onMessage(j_common_ptr info, int level) {
  if (level >= 0) return;  // trace output
  switch (info->err->msg_code) {
    case JWRN_JFIF_MAJOR:
    case JWRN_ADOBE_XFORM:
    case JWRN_BOGUS_ICC:
      return;  // no pixel depends on these
    default:
      refuse(info);
  }
}

// Everything the decode changes lives here, outside the frame that calls setjmp, so
// nothing is left indeterminate by the long jump.
struct Decode {
  jpeg_decompress_struct info{};
  StrictErrors errors{};
  QImage picture;
  QByteArray cmykRow;
};

void cmykToRgb32(const uchar *cmyk, QRgb *out, int width) {
  // Adobe writes CMYK inverted: 255 is no ink, so each channel times K gives the colour.
  for (int x = 0; x < width; ++x, cmyk += 4) {
    const int k = cmyk[3];
    out[x] = qRgb(cmyk[0] * k / 255, cmyk[1] * k / 255, cmyk[2] * k / 255);
  }
}

bool run(Decode &d, QByteArrayView bytes) {
  if (setjmp(d.errors.jump)) return false;
  jpeg_create_decompress(&d.info);
  jpeg_mem_src(&d.info, reinterpret_cast<const unsigned char *>(bytes.data()),
               static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&d.info, TRUE);
  const bool cmyk = d.info.num_components == 4;
  // Four bytes a pixel in QImage's RGB32 order; libjpeg sets the padding byte to 0xFF.
  d.info.out_color_space = cmyk                              ? JCS_CMYK
                           : Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? JCS_EXT_BGRX
                                                             : JCS_EXT_XRGB;
  jpeg_start_decompress(&d.info);
  const int width = static_cast<int>(d.info.output_width);
  const int height = static_cast<int>(d.info.output_height);
  d.picture = QImage(width, height, QImage::Format_RGB32);
  if (d.picture.isNull()) {
    std::snprintf(d.errors.message, sizeof d.errors.message, "not enough memory for %d x %d pixels",
                  width, height);
    return false;
  }
  if (cmyk) d.cmykRow.resize(qsizetype(width) * 4);
  while (d.info.output_scanline < d.info.output_height) {
    const int y = static_cast<int>(d.info.output_scanline);
    JSAMPROW row = cmyk ? reinterpret_cast<JSAMPROW>(d.cmykRow.data()) : d.picture.scanLine(y);
    if (jpeg_read_scanlines(&d.info, &row, 1) != 1) return false;
    if (cmyk)
      cmykToRgb32(reinterpret_cast<const uchar *>(d.cmykRow.constData()),
                  reinterpret_cast<QRgb *>(d.picture.scanLine(y)), width);
  }
  // Reads on to the end-of-image marker: a warning on the way still refuses the picture.
  jpeg_finish_decompress(&d.info);
  return true;
}

}  // namespace

JpegDecodeResult decodeJpeg(QByteArrayView bytes) {
  Decode d;
  d.info.err = jpeg_std_error(&d.errors.manager);
  d.errors.manager.error_exit = refuse;
  d.errors.manager.emit_message = onMessage;
  const bool decoded = run(d, bytes);
  jpeg_destroy_decompress(&d.info);
  JpegDecodeResult result;
  if (decoded) {
    result.picture = std::move(d.picture);
  } else {
    result.error = QString::fromLocal8Bit(d.errors.message);
    if (result.error.isEmpty()) result.error = QStringLiteral("the picture could not be decoded");
  }
  return result;
}

}  // namespace vmm
