// SPDX-License-Identifier: GPL-3.0-or-later
// varga-map render: a map file drawn over its picture, written as a picture file.
#include "cli/CommandParser.h"
#include "cli/Commands.h"
#include "cli/MapInputs.h"
#include "cli/ProjectInputs.h"
#include "mapfiles/PictureExport.h"

namespace vmm::cli {
namespace {

const QString kOutput = QStringLiteral("output");
const QString kView = QStringLiteral("view");
const QString kStyle = QStringLiteral("style");
const QString kHeights = QStringLiteral("heights");
const QString kCatalogue = QStringLiteral("catalogue");
const QString kFormat = QStringLiteral("format");
const QString kThumbnail = QStringLiteral("thumbnail");
constexpr int kLargestThumbnail = 4096;

// The --thumbnail size: 0 when the option is absent, nothing (after the message) when
// it is no whole number from 1 to kLargestThumbnail.
std::optional<int> thumbnailOption(const CommandParser &parser, Console &console) {
  const std::optional<QString> text = parser.single(kThumbnail, console);
  if (!text) return std::nullopt;
  if (!parser.isSet(kThumbnail)) return 0;
  bool ok = false;
  const int size = text->toInt(&ok);
  if (ok && size >= 1 && size <= kLargestThumbnail) return size;
  console.error(QStringLiteral("--thumbnail must be a whole number from 1 to %1, not \"%2\"\n")
                    .arg(kLargestThumbnail)
                    .arg(plainText(*text)) +
                helpHint(QStringLiteral("render")));
  return std::nullopt;
}

DrawStyle styleNamed(const QString &name) {
  if (name == QLatin1String("transparent")) return DrawStyle::Transparent;
  if (name == QLatin1String("hollow")) return DrawStyle::Hollow;
  return DrawStyle::Solid;
}

}  // namespace

int runRender(const QStringList &arguments) {
  Console console(QStringLiteral("render"));
  CommandParser parser(
      QStringLiteral("render"),
      QStringLiteral("Draws MAP over PICTURE, or the map of a project, as the editor's Terrain "
                     "or Elevation map shows it after Refresh Screen: the picture, the grid and "
                     "every assigned Sector. OUT is a 24-bit bitmap, or a PNG picture when its "
                     "name ends in \".png\"; \"-o -\" writes it to the standard output."));
  parser.addPositional(QStringLiteral("PICTURE"),
                       QStringLiteral("The map picture, or a map project (.vmap) alone."));
  parser.addPositional(QStringLiteral("MAP"), QStringLiteral("A Varga map text file."), true);
  parser.addOption({{QStringLiteral("o"), kOutput},
                    QStringLiteral("The picture to write."),
                    QStringLiteral("OUT")});
  parser.addOption({kView, QStringLiteral("The map to draw: terrain (default) or elevation."),
                    QStringLiteral("terrain|elevation")});
  parser.addOption({kStyle,
                    QStringLiteral("How Sectors are drawn: solid (default), transparent or "
                                   "hollow."),
                    QStringLiteral("solid|transparent|hollow")});
  parser.addOption(
      {kHeights,
       QStringLiteral("The height colours: gradient (default, Heightcolour2) or colour "
                      "(Heightcolour)."),
       QStringLiteral("colour|gradient")});
  parser.addOption({kCatalogue, QStringLiteral("The catalogue to use instead of the editor's."),
                    QStringLiteral("FILE")});
  parser.addOption({kFormat,
                    QStringLiteral("The picture's format: bmp or png; by default png for an OUT "
                                   "ending in \".png\", otherwise bmp."),
                    QStringLiteral("bmp|png")});
  parser.addOption({kThumbnail,
                    QStringLiteral("Writes a PNG picture of the map scaled down to fit SIZE x "
                                   "SIZE pixels, as file managers show a project."),
                    QStringLiteral("SIZE")});
  if (const std::optional<int> stop = parser.parse(arguments, console)) return *stop;

  const std::optional<QString> output = parser.single(kOutput, console);
  if (!output) return kFailure;
  if (output->isEmpty()) {
    console.error(QStringLiteral("give the picture to write with -o OUT\n") +
                  helpHint(QStringLiteral("render")));
    return kFailure;
  }
  const auto view = parser.choice(kView, {QStringLiteral("terrain"), QStringLiteral("elevation")},
                                  QStringLiteral("terrain"), console);
  if (!view) return kFailure;
  const auto style = parser.choice(
      kStyle, {QStringLiteral("solid"), QStringLiteral("transparent"), QStringLiteral("hollow")},
      QStringLiteral("solid"), console);
  if (!style) return kFailure;
  const auto heights =
      parser.choice(kHeights, {QStringLiteral("colour"), QStringLiteral("gradient")},
                    QStringLiteral("gradient"), console);
  if (!heights) return kFailure;
  const std::optional<QString> catalogueFile = parser.single(kCatalogue, console);
  if (!catalogueFile) return kFailure;
  const std::optional<int> thumbnail = thumbnailOption(parser, console);
  if (!thumbnail) return kFailure;
  const bool pngName = output->endsWith(QLatin1String(".png"), Qt::CaseInsensitive);
  const auto formatName =
      parser.choice(kFormat, {QStringLiteral("bmp"), QStringLiteral("png")},
                    pngName || *thumbnail ? QStringLiteral("png") : QStringLiteral("bmp"), console);
  if (!formatName) return kFailure;
  if (*thumbnail && *formatName != QLatin1String("png")) {
    console.error(QStringLiteral("a thumbnail is a PNG picture: give no --format bmp with it\n") +
                  helpHint(QStringLiteral("render")));
    return kFailure;
  }

  const Plane plane = *view == QLatin1String("elevation") ? Plane::Height : Plane::Element;
  const qint16 heightColourMode = *heights == QLatin1String("colour") ? 1 : 0;
  const QString mapPath = parser.positional(1);
  if (!checkInputCount(parser.positional(0), mapPath, QStringLiteral("render"), console))
    return kFailure;

  EditorSession session;
  if (!loadCatalogue(*catalogueFile, heightColourMode, session, console)) return kFailure;
  // Only the view asked for is drawn, once, below.
  if (!startMapFromInputs(parser.positional(0), mapPath, session, console, false)) return kFailure;
  MapDocument &doc = session.document();
  // The options decide the look, whatever a project was saved with.
  if (const CatalogueResult loaded = session.setHeightColourMode(heightColourMode); !loaded.ok) {
    console.error(loaded.error);
    return kFailure;
  }
  session.setDrawStyle(styleNamed(*style));
  // Refresh Screen: the array is not written while the view is redrawn. A thumbnail is
  // drawn straight at its size: a whole surface would cost more than reading the project.
  QImage drawn;
  if (*thumbnail) {
    const QSize size = session.surfaces().size();
    const QSize fitted = thumbnailSize(size, *thumbnail);
    if (fitted != size) drawn = session.reducedView(plane, fitted);
  }
  if (drawn.isNull()) {
    doc.mapReady = false;
    session.repaintWholePlane(plane);
    doc.mapReady = true;
    drawn = session.surfaces().surface(plane);
  }

  const PictureFormat format =
      *formatName == QLatin1String("png") ? PictureFormat::Png : PictureFormat::Bitmap;
  QString error;
  const std::optional<QByteArray> bytes = encodeSurfacePicture(drawn, format, &error);
  if (!bytes) {
    console.error(QStringLiteral("\"%1\" could not be written: %2").arg(shown(*output), error));
    return kFailure;
  }
  return writeOutput(*output, *bytes, console) ? kSuccess : kFailure;
}

}  // namespace vmm::cli
