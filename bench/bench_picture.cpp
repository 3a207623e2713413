// SPDX-License-Identifier: GPL-3.0-or-later
// Picture import of a maximum JPEG against one plain decode of the same file.
#include "MaximumMap.h"

#include "mapfiles/JpegIntegrity.h"
#include "mapfiles/PictureLoader.h"
#include "support/HostileJpeg.h"

#include "Yardsticks.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>

#include <algorithm>

#include <sys/mman.h>
#include <unistd.h>

namespace vmm::bench {
namespace {

const QString &maximumJpeg() {
  static QTemporaryDir folder;
  static const QString path = writeMaximumJpeg(folder.path());
  return path;
}

void BM_PictureImport(benchmark::State &state) {
  const QString &path = maximumJpeg();
  for (auto _ : state) {
    const PictureLoadResult result = PictureLoader::load(path);
    if (!result.accepted) {
      state.SkipWithError("the maximum picture was refused");
      break;
    }
    benchmark::DoNotOptimize(result.picture.constBits());
  }
}
BENCHMARK(BM_PictureImport)->Unit(benchmark::kMillisecond)->MinTime(vmm::bench::minTime(1.0));

// The costliest picture of the maximum size the loader accepts: full-resolution colour,
// scans of the kinds that cost a decoder most for their data (DC scans over all three
// components, then refinements of the first) up to the limit of their passes over the
// picture, and comments up to the segment and metadata limits.
struct WorstJpeg {
  QString path;
  JpegStructure structure;
};

const WorstJpeg &worstAcceptedJpeg() {
  static QTemporaryDir folder;
  static const WorstJpeg worst = [] {
    const int dcScans = kJpegMaxScanPasses / 3;  // three planes each
    const QByteArray coded =
        test::encodeJpeg(maximumPicture(), {dcScans + kJpegMaxScanPasses % 3, true, 90, dcScans});
    const JpegStructure own = inspectJpeg(coded);
    const int comments = kJpegMaxSegments - own.segments;
    const qint64 room = kJpegMaxMetadataBytes - own.metadataBytes;
    const int each = int(std::min<qint64>(65535, room / comments));
    const QByteArray bytes = test::withComments(coded, comments, each);
    WorstJpeg made{folder.filePath(QStringLiteral("worst.jpg")), inspectJpeg(bytes)};
    QFile out(made.path);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size()) made.path.clear();
    return made;
  }();
  return worst;
}

void BM_WorstPictureImport(benchmark::State &state) {
  const WorstJpeg &worst = worstAcceptedJpeg();
  for (auto _ : state) {
    const PictureLoadResult result = PictureLoader::load(worst.path);
    if (!result.accepted) {
      state.SkipWithError("the worst accepted picture was refused");
      break;
    }
    benchmark::DoNotOptimize(result.picture.constBits());
  }
  state.counters["scans"] = worst.structure.scans;
  state.counters["passes"] = worst.structure.scanPasses;
  state.counters["segments"] = worst.structure.segments;
  state.counters["metadata_mib"] = double(worst.structure.metadataBytes) / (1 << 20);
}
BENCHMARK(BM_WorstPictureImport)->Unit(benchmark::kMillisecond)->MinTime(vmm::bench::minTime(1.0));

// The yardstick: the decode alone, of a plain baseline JPEG (Qt's writer) of the maximum size.
void BM_QImageReaderRead(benchmark::State &state) {
  const QString &path = maximumJpeg();
  for (auto _ : state) {
    QImageReader reader(path);
    const QImage picture = reader.read();
    if (picture.isNull()) {
      state.SkipWithError("the maximum picture cannot be read");
      break;
    }
    benchmark::DoNotOptimize(picture.constBits());
  }
}
BENCHMARK(BM_QImageReaderRead)->Unit(benchmark::kMillisecond)->MinTime(vmm::bench::minTime(1.0));

// What the machine charges for memory the process has not touched before: 64 MiB mapped,
// one byte written per page, unmapped. Large pictures and undo steps of a whole map take
// such memory; where a page's first touch is dear, their figures carry it.
void BM_FreshPageTouch(benchmark::State &state) {
  constexpr std::size_t kBytes = std::size_t(64) << 20;
  const std::size_t page = std::size_t(sysconf(_SC_PAGESIZE));
  for (auto _ : state) {
    void *area = mmap(nullptr, kBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (area == MAP_FAILED) {
      state.SkipWithError("no memory");
      break;
    }
    auto *bytes = static_cast<volatile char *>(area);
    for (std::size_t at = 0; at < kBytes; at += page) bytes[at] = 1;
    munmap(area, kBytes);
  }
  state.counters["pages"] = double(kBytes / page);
}
BENCHMARK(BM_FreshPageTouch)->Unit(benchmark::kMillisecond)->MinTime(vmm::bench::minTime(0.5));

}  // namespace
}  // namespace vmm::bench
