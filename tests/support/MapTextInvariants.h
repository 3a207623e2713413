#pragma once

#include <QByteArrayView>
#include <QString>

namespace vmm::test {

// Reads `bytes` as a map text file every way the editor can and checks what must hold
// whatever the input: the whole-buffer and the piecewise reader agree, the content stays
// within the map array, reading stops exactly where the rules say, and applying it to a
// document writes only the Sectors the rows name, never -1 and never outside the array,
// with TotalQuads left in bounds. Returns an empty string when every check holds,
// otherwise a description of the first one that failed.
// Shared by the fuzz target and the regression test that replays its findings.
QString checkMapTextInvariants(QByteArrayView bytes);

}  // namespace vmm::test
