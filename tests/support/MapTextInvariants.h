// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QString>

namespace vmm::test {

// Reads `bytes` as a map text file whole and in pieces and checks what must hold whatever
// the input: both readings agree, the content stays within the map array, and applying it
// writes only the file's own values to the Sectors its rows name, never -1, with
// TotalQuads left in bounds. Returns an empty string when every check holds, otherwise
// the first failed one. Shared by the fuzz target and the replay of its findings.
QString checkMapTextInvariants(QByteArrayView bytes);

}  // namespace vmm::test
