// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QString>

namespace vmm::test {

// Opens `bytes` as a map project file and checks what must hold whatever the input: a
// refusal has a reason and leaves the file as it was; an accepted project has planes of
// whole Quads within the map array, a picture that passes the picture rules and makes the
// map's XQuads and YQuads, a plain picture file name, and it opens in a session exactly as
// read and saves and reads back unchanged. Returns an empty string when every check holds,
// otherwise the first failed one. Shared by the fuzz target and the replay of its findings.
QString checkProjectInvariants(QByteArrayView bytes);

}  // namespace vmm::test
