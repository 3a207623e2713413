// SPDX-License-Identifier: GPL-3.0-or-later
#include "learning/PictureClassifier.h"

#include <opencv2/core.hpp>
#include <opencv2/ml.hpp>

#include <map>

namespace vmm {
namespace {

// Examples of one value beyond this are thinned evenly: a map painted half by hand
// would otherwise make the forest slow to grow without teaching it much more.
constexpr int kMaxExamplesPerValue = 3000;
constexpr int kTrees = 100;
constexpr int kMaxDepth = 20;
constexpr quint64 kSeed = 0x5eed'7ace'0001ULL;

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

  std::vector<qint16> valueOfClass;
  std::vector<int> trainingCells;
  std::vector<int> trainingClasses;
  for (const auto &[value, cells] : examples) {
    const int label = int(valueOfClass.size());
    valueOfClass.push_back(value);
    const std::size_t step = cells.size() / kMaxExamplesPerValue + 1;
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
  result.cells.assign(std::size_t(cellCount), CellSuggestion{});
  for (std::size_t i = 0; i < open.size(); ++i) {
    const int *row = votes.ptr<int>(int(i) + 1);
    int best = 0;
    int total = 0;
    for (int column = 0; column < votes.cols; ++column) {
      total += row[column];
      if (row[column] > row[best]) best = column;
    }
    const int label = votes.at<int>(0, best);
    if (total == 0 || label < 0 || label >= int(valueOfClass.size())) continue;
    result.cells[std::size_t(open[i])] = {valueOfClass[std::size_t(label)],
                                          float(row[best]) / float(total)};
  }
  return result;
}

}  // namespace vmm
