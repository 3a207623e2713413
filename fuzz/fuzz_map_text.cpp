// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer entry point for the map text reader: every input is read whole and in
// pieces, applied to a fresh document, and checked against the reading rules.
#include "support/MapTextInvariants.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  const QByteArrayView bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
  const QString problem = vmm::test::checkMapTextInvariants(bytes);
  if (!problem.isEmpty()) {
    std::fprintf(stderr, "map text invariant broken: %s\n", qPrintable(problem));
    std::abort();
  }
  return 0;
}
