// Picture import of a maximum JPEG against one plain decode of the same file.
#include "MaximumMap.h"

#include "mapview/PictureLoader.h"

#include <benchmark/benchmark.h>

#include <QImageReader>
#include <QTemporaryDir>

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
BENCHMARK(BM_PictureImport)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// The yardstick: the decode alone.
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
BENCHMARK(BM_QImageReaderRead)->Unit(benchmark::kMillisecond)->MinTime(1.0);

}  // namespace
}  // namespace vmm::bench
