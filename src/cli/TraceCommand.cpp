// SPDX-License-Identifier: GPL-3.0-or-later
// varga-map trace: a map project's unassigned Sectors painted from its picture, learnt
// from the Sectors already painted.
#include "cli/CommandParser.h"
#include "cli/Commands.h"
#include "cli/MapInputs.h"
#include "cli/ProjectInputs.h"
#include "session/PictureTracing.h"

#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>

#include <cmath>

namespace vmm::cli {
namespace {

const QString kCommand = QStringLiteral("trace");
const QString kOutput = QStringLiteral("output");
const QString kPlane = QStringLiteral("plane");
const QString kMinConfidence = QStringLiteral("min-confidence");
const QString kFormat = QStringLiteral("format");
constexpr double kDefaultMinConfidence = 0.6;

// The minimum confidence: a number from 0 to 1; nothing (after the message) otherwise.
std::optional<float> minConfidence(const CommandParser &parser, Console &console) {
  const std::optional<QString> text = parser.single(kMinConfidence, console);
  if (!text) return std::nullopt;
  if (!parser.isSet(kMinConfidence)) return float(kDefaultMinConfidence);
  bool number = false;
  const double value = text->trimmed().toDouble(&number);
  if (!number || !std::isfinite(value) || value < 0.0 || value > 1.0) {
    console.error(QStringLiteral("--min-confidence takes a number from 0 to 1, not \"%1\"\n%2")
                      .arg(shown(*text), helpHint(kCommand)));
    return std::nullopt;
  }
  return float(value);
}

// The project to write: given, not the standard output, and not the project read.
std::optional<QString> outputProject(const CommandParser &parser, const QString &input,
                                     Console &console) {
  std::optional<QString> output =
      requiredOutput(parser, kCommand, QStringLiteral("project"), console);
  if (!output) return std::nullopt;
  const QFileInfo written(*output), read(input);
  if (written.exists() && read.exists() &&
      written.canonicalFilePath() == read.canonicalFilePath()) {
    console.error(QStringLiteral("-o names the project being read: give another file, so that "
                                 "the original stays as it is\n") +
                  helpHint(kCommand));
    return std::nullopt;
  }
  return output;
}

}  // namespace

int runTrace(const QStringList &arguments) {
  Console console(kCommand);
  CommandParser parser(
      kCommand,
      QStringLiteral("Paints the unassigned Sectors of PROJECT from its picture: the Sectors "
                     "already painted are the examples, a classifier learns their look and "
                     "suggests a value with a confidence for every other Sector, and those at or "
                     "above the minimum confidence are painted. The examples never change. "
                     "OUTPUT is a new project, written atomically; PROJECT is not changed."));
  parser.addPositional(QStringLiteral("PROJECT"), QStringLiteral("A map project (.vmap)."));
  parser.addOption({{QStringLiteral("o"), kOutput},
                    QStringLiteral("The project to write (.vmap), never PROJECT itself."),
                    QStringLiteral("OUTPUT")});
  parser.addOption({kPlane, QStringLiteral("What to paint: elements (default) or heights."),
                    QStringLiteral("elements|heights")});
  parser.addOption({kMinConfidence,
                    QStringLiteral("Sectors suggested with less confidence stay unassigned; "
                                   "0 to 1, default 0.6."),
                    QStringLiteral("P")});
  parser.addOption({kFormat,
                    QStringLiteral("text (the default) or json: the counts as one JSON object."),
                    QStringLiteral("text|json")});
  if (const std::optional<int> stop = parser.parse(arguments, console)) return *stop;
  const QString input = parser.positional(0);
  const std::optional<QString> output = outputProject(parser, input, console);
  if (!output) return kFailure;
  const auto planeName =
      parser.choice(kPlane, {QStringLiteral("elements"), QStringLiteral("heights")},
                    QStringLiteral("elements"), console);
  if (!planeName) return kFailure;
  const std::optional<float> minimum = minConfidence(parser, console);
  if (!minimum) return kFailure;
  const auto format = parser.choice(kFormat, {QStringLiteral("text"), QStringLiteral("json")},
                                    QStringLiteral("text"), console);
  if (!format) return kFailure;

  EditorSession session;
  if (!openProjectMap(input, session, console)) return kFailure;
  const Plane plane = *planeName == QLatin1String("heights") ? Plane::Height : Plane::Element;
  PictureTracer tracer(session);
  const TraceSuggestions suggestions = tracer.suggest(plane);
  if (!suggestions.ok()) {
    console.error(traceRefusalText(suggestions.refusal, plane) +
                  QStringLiteral("; nothing was written"));
    return kNothingTraced;
  }
  const TraceOutcome outcome = tracer.apply(plane, suggestions, *minimum);
  const FileWriteResult written = session.saveProject(*output, session.editorState());
  if (!written.ok) {
    console.error(
        QStringLiteral("\"%1\" could not be written: %2").arg(shown(*output), written.errorText));
    return kFailure;
  }
  Console out;
  if (*format == QLatin1String("json")) {
    const QJsonObject counts{
        {QStringLiteral("plane"), *planeName},
        {QStringLiteral("minConfidence"), std::round(double(*minimum) * 1000.0) / 1000.0},
        {QStringLiteral("painted"), outcome.painted},
        {QStringLiteral("left"), outcome.unsure}};
    out.print(QString::fromUtf8(QJsonDocument(counts).toJson(QJsonDocument::Compact)));
  } else {
    const QLocale english(QLocale::English);
    out.print(QStringLiteral("%1 Sectors painted, %2 left unsure")
                  .arg(english.toString(outcome.painted), english.toString(outcome.unsure)));
  }
  return kSuccess;
}

}  // namespace vmm::cli
