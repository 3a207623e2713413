#pragma once

#include <QByteArrayView>

namespace vmm {

// Whether a JPEG file visibly ends too early: a marker segment runs past the end of the
// file, or the end-of-image marker never follows the image's scan data. The decoder
// fills a cut-off picture with grey and calls it a success, so the loader asks this
// first. Bytes that do not look like a JPEG at all are left to the decoder (false).
bool jpegIsCutShort(QByteArrayView file);

}  // namespace vmm
