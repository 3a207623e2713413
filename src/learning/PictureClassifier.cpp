// SPDX-License-Identifier: GPL-3.0-or-later
#include "learning/PictureClassifier.h"

#include <opencv2/core.hpp>
#include <opencv2/ml.hpp>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>

namespace vmm {
namespace {

// The forest learns from at most about this many examples, each value's thinned evenly to its
// share: the preview after an Apply, when most of the map counts as examples, then comes as
// quickly as the first (3,600 take about half a second) and learns nearly as much.
constexpr int kTrainingExamples = 3600;
constexpr int kMinExamplesPerValue = 16;
constexpr int kTrees = 100;
constexpr int kMaxDepth = 20;
constexpr quint64 kSeed = 0x5eed'7ace'0001ULL;

// How far a cell's chromaticity may lie from the examples of its suggested value, in
// spreads of theirs, before its confidence drops; and the least spread counted, so that
// a value with one example or very alike ones is not too strict.
constexpr float kUnlikeLimit = 6.0f;
constexpr float kLeastSpread = 3.0f;

// The mean and spread of the chromaticity of one value's examples.
struct ExampleColour {
  std::array<float, 2> mean{};
  std::array<float, 2> spread{};

  // The farthest a cell's chromaticity lies from the mean, in spreads.
  float distance(std::span<const float> cell) const {
    float farthest = 0.0f;
    for (std::size_t f = 0; f < 2; ++f)
      farthest = std::max(farthest,
                          std::abs(cell[SectorFeatures::kChromaticity + f] - mean[f]) / spread[f]);
    return farthest;
  }
};

std::vector<ExampleColour> exampleColours(const SectorFeatures &features,
                                          const std::vector<int> &cells,
                                          const std::vector<int> &classes, int classCount) {
  std::vector<ExampleColour> looks(std::size_t(classCount), ExampleColour{});
  std::vector<int> counts(std::size_t(classCount), 0);
  for (std::size_t i = 0; i < cells.size(); ++i) {
    ExampleColour &look = looks[std::size_t(classes[i])];
    ++counts[std::size_t(classes[i])];
    for (std::size_t f = 0; f < 2; ++f)
      look.mean[f] += features.cell(cells[i])[SectorFeatures::kChromaticity + f];
  }
  for (std::size_t k = 0; k < looks.size(); ++k)
    for (float &mean : looks[k].mean) mean /= float(std::max(1, counts[k]));
  for (std::size_t i = 0; i < cells.size(); ++i) {
    ExampleColour &look = looks[std::size_t(classes[i])];
    for (std::size_t f = 0; f < 2; ++f) {
      const float off = features.cell(cells[i])[SectorFeatures::kChromaticity + f] - look.mean[f];
      look.spread[f] += off * off;
    }
  }
  for (std::size_t k = 0; k < looks.size(); ++k)
    for (float &spread : looks[k].spread)
      spread = std::max(kLeastSpread, std::sqrt(spread / float(std::max(1, counts[k]))));
  return looks;
}

cv::Mat rowsOf(const SectorFeatures &features, const std::vector<int> &cells) {
  cv::Mat rows(int(cells.size()), SectorFeatures::kCount, CV_32F);
  for (std::size_t i = 0; i < cells.size(); ++i) {
    const std::span<const float> cell = features.cell(cells[i]);
    std::copy(cell.begin(), cell.end(), rows.ptr<float>(int(i)));
  }
  return rows;
}

}  // namespace

QString traceRefusalText(TraceRefusal refusal, Plane plane) {
  switch (refusal) {
    case TraceRefusal::None:
      return {};
    case TraceRefusal::NoPicture:
      return QStringLiteral("The map has no picture to learn from");
    case TraceRefusal::FlatPicture:
      return QStringLiteral("The picture is one flat colour: there is nothing in it to learn from");
    case TraceRefusal::TooFewValues:
      return plane == Plane::Element
                 ? QStringLiteral("Paint a few Sectors of at least two different elements first")
                 : QStringLiteral("Paint a few Sectors of at least two different heights first");
    case TraceRefusal::NothingToDo:
      return QStringLiteral("Every Sector already holds a value: there is nothing to paint");
  }
  return {};
}

int TraceSuggestions::countSure(float minConfidence) const {
  int count = 0;
  for (const CellSuggestion &cell : cells)
    count += cell.value != kUnassigned && cell.confidence >= minConfidence;
  return count;
}

int TraceSuggestions::countUnsure(float minConfidence) const {
  int count = 0;
  for (const CellSuggestion &cell : cells)
    count += cell.value != kUnassigned && cell.confidence < minConfidence;
  return count;
}

TraceSuggestions suggestFromExamples(const SectorFeatures &features,
                                     std::span<const qint16> cellValues) {
  TraceSuggestions result;
  const int cellCount = features.cellCount();
  if (cellCount == 0 || cellValues.size() < std::size_t(cellCount)) {
    result.refusal = TraceRefusal::NoPicture;
    return result;
  }
  if (features.isFlat()) {
    result.refusal = TraceRefusal::FlatPicture;
    return result;
  }
  std::map<qint16, std::vector<int>> examples;
  std::vector<int> open;
  for (int cell = 0; cell < cellCount; ++cell) {
    const qint16 value = cellValues[std::size_t(cell)];
    if (value == kUnassigned)
      open.push_back(cell);
    else
      examples[value].push_back(cell);
  }
  if (open.empty()) {
    result.refusal = TraceRefusal::NothingToDo;
    return result;
  }
  if (examples.size() < 2) {
    result.refusal = TraceRefusal::TooFewValues;
    return result;
  }

  const int perValue = std::max(kMinExamplesPerValue, kTrainingExamples / int(examples.size()));
  std::vector<qint16> valueOfClass;
  std::vector<int> trainingCells;
  std::vector<int> trainingClasses;
  for (const auto &[value, cells] : examples) {
    const int label = int(valueOfClass.size());
    valueOfClass.push_back(value);
    const std::size_t step = cells.size() / std::size_t(perValue) + 1;
    for (std::size_t i = 0; i < cells.size(); i += step) {
      trainingCells.push_back(cells[i]);
      trainingClasses.push_back(label);
    }
  }
  const cv::Mat responses(int(trainingClasses.size()), 1, CV_32S, trainingClasses.data());
  cv::Ptr<cv::ml::RTrees> forest = cv::ml::RTrees::create();
  forest->setMaxDepth(kMaxDepth);
  forest->setMinSampleCount(2);
  forest->setRegressionAccuracy(0);
  forest->setUseSurrogates(false);
  forest->setCalculateVarImportance(false);
  forest->setActiveVarCount(0);
  forest->setTermCriteria(cv::TermCriteria(cv::TermCriteria::MAX_ITER, kTrees, 0));
  // The forest draws its bootstrap samples and split candidates from this generator.
  cv::theRNG().state = kSeed;
  forest->train(
      cv::ml::TrainData::create(rowsOf(features, trainingCells), cv::ml::ROW_SAMPLE, responses));

  cv::Mat votes;
  forest->getVotes(rowsOf(features, open), votes, 0);
  const std::vector<ExampleColour> looks =
      exampleColours(features, trainingCells, trainingClasses, int(valueOfClass.size()));
  result.cells.assign(std::size_t(cellCount), CellSuggestion{});
  for (std::size_t i = 0; i < open.size(); ++i) {
    const int *row = votes.ptr<int>(int(i) + 1);
    int best = 0;
    for (int column = 1; column < votes.cols; ++column)
      if (row[column] > row[best]) best = column;
    int second = 0;
    for (int column = 0; column < votes.cols; ++column)
      if (column != best) second = std::max(second, row[column]);
    const int label = votes.at<int>(0, best);
    if (row[best] == 0 || label < 0 || label >= int(valueOfClass.size())) continue;
    // A border cell splits its votes between the terrains on either side, and a third one
    // gets a few stray votes: the confidence weighs the two likeliest values alone.
    float confidence = float(row[best]) / float(row[best] + second);
    // A cell unlike every example of its value (a terrain nobody painted an example of) is
    // not trusted however the votes fell.
    const float unlike = looks[std::size_t(label)].distance(features.cell(open[i]));
    if (unlike > kUnlikeLimit) confidence *= (kUnlikeLimit / unlike) * (kUnlikeLimit / unlike);
    result.cells[std::size_t(open[i])] = {valueOfClass[std::size_t(label)], confidence};
  }
  return result;
}

}  // namespace vmm
