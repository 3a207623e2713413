// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/MapInputs.h"

#include "catalogue/CatalogueDatabase.h"
#include "files/InputFile.h"
#include "mapfiles/MapTextImport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>

#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#endif

namespace vmm::cli {
namespace {

// Header lines 3 and 4 sit near the start of any file the editor or the game wrote.
constexpr qint64 kHeaderBytes = 64 * 1024;

}  // namespace

QString plainText(const QString &text) {
  QString plain;
  plain.reserve(text.size());
  for (const QChar c : text) {
    if (c.category() != QChar::Other_Control) {
      plain += c;
    } else if (c == u'\n') {
      plain += QStringLiteral("\\n");
    } else if (c == u'\t') {
      plain += QStringLiteral("\\t");
    } else if (c == u'\r') {
      plain += QStringLiteral("\\r");
    } else {
      plain += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
    }
  }
  return plain;
}

QString shown(const QString &path) {
  return plainText(QDir::toNativeSeparators(path));
}

std::optional<PictureLoadResult> loadPicture(const QString &path, Console &console) {
  PictureLoadResult picture = PictureLoader::load(path);
  if (!picture.accepted) {
    console.error(picture.message);
    return std::nullopt;
  }
  return picture;
}

namespace {

// Opens the catalogue the tool is to use; nothing (after the message) when it cannot.
std::optional<CatalogueDatabase> openCatalogue(const QString &catalogueFile, Console &console) {
  if (catalogueFile.isEmpty()) {
    CatalogueDatabase catalogue = CatalogueDatabase::open(resolveDatabaseLocation());
    // Unlike the editor, a batch run does not go on without the user's catalogue: its
    // output would silently use other colours and elements.
    if (catalogue.refusedFile()) {
      console.error(QStringLiteral("the catalogue \"%1\" cannot be used: %2")
                        .arg(shown(catalogue.filePath()), catalogue.problem()));
      return std::nullopt;
    }
    if (catalogue.origin() == CatalogueOrigin::BuiltInDefault)
      console.warning(catalogue.openMessage());
    else if (!catalogue.openMessage().isEmpty())
      console.note(catalogue.openMessage());
    return catalogue;
  }
  // A catalogue named on the command line is used as it is or not at all: it is never
  // created, and a refused one does not fall back to the built-in default.
  const QFileInfo info(catalogueFile);
  if (const QString kind = nonFileKind(catalogueFile); !kind.isEmpty()) {
    console.error(
        QStringLiteral("the catalogue \"%1\" is %2, not a file").arg(shown(catalogueFile), kind));
    return std::nullopt;
  }
  if (!info.isFile()) {
    console.error(QStringLiteral("the catalogue \"%1\" does not exist or is not a file")
                      .arg(shown(catalogueFile)));
    return std::nullopt;
  }
  CatalogueDatabase catalogue = CatalogueDatabase::openFile(info.absoluteFilePath());
  if (catalogue.origin() != CatalogueOrigin::UserFile) {
    console.error(QStringLiteral("the catalogue \"%1\" cannot be used: %2")
                      .arg(shown(catalogueFile), catalogue.problem()));
    return std::nullopt;
  }
  return catalogue;
}

}  // namespace

bool loadCatalogue(const QString &catalogueFile, qint16 heightColourMode, EditorSession &session,
                   Console &console) {
  std::optional<CatalogueDatabase> catalogue = openCatalogue(catalogueFile, console);
  if (!catalogue) return false;
  const CatalogueResult loaded = session.useCatalogue(std::move(*catalogue), heightColourMode);
  if (!loaded.ok) console.error(loaded.error);
  return loaded.ok;
}

std::optional<MapTextContent> readMapFile(const QString &path, Console &console) {
  QString reason;
  std::optional<MapTextContent> content = readMapTextFile(path, &reason);
  if (!content)
    console.error(
        QStringLiteral("the map file \"%1\" could not be read: %2").arg(shown(path), reason));
  return content;
}

MapImportResult applyMapTextWithoutHistory(const MapTextContent &content, EditorSession &session,
                                           const QString &path) {
  MapImportResult imported;
  session.history().restart([&] { imported = applyMapText(content, session.document(), path); });
  return imported;
}

std::optional<MapTextContent> importMapFile(const QString &path, EditorSession &session,
                                            Console &console) {
  std::optional<MapTextContent> content = readMapFile(path, console);
  if (!content) return std::nullopt;
  const MapImportResult imported = applyMapTextWithoutHistory(*content, session, path);
  if (!imported.ok()) {
    console.error(imported.messageText);
    return std::nullopt;
  }
  return content;
}

std::optional<MapDimensions> mapDimensions(const QString &picturePath, const QString &mapPath,
                                           Console &console) {
  if (!picturePath.isEmpty()) {
    const std::optional<PictureLoadResult> picture = loadPicture(picturePath, console);
    if (!picture) return std::nullopt;
    return MapDimensions{static_cast<qint16>(picture->xQuads),
                         static_cast<qint16>(picture->yQuads)};
  }
  InputFile input;
  if (!input.open(mapPath)) {
    console.error(QStringLiteral("the map file \"%1\" could not be read: %2")
                      .arg(shown(mapPath), input.errorString()));
    return std::nullopt;
  }
  const HeaderQuadCounts counts = readHeaderQuadCounts(input.file().read(kHeaderBytes));
  if (counts.notText) {
    console.error(QStringLiteral("the map file \"%1\" could not be read: %2")
                      .arg(shown(mapPath), counts.problem));
    return std::nullopt;
  }
  if (!counts.ok) {
    console.error(QStringLiteral("the map file \"%1\" does not give the map's size: %2; "
                                 "give the map's picture with --picture")
                      .arg(shown(mapPath), counts.problem));
    return std::nullopt;
  }
  return MapDimensions{counts.XQuads, counts.YQuads};
}

std::unique_ptr<EditorSession> importMapWithDimensions(const QString &mapPath,
                                                       const QString &picturePath,
                                                       Console &console) {
  const std::optional<MapDimensions> dimensions = mapDimensions(picturePath, mapPath, console);
  if (!dimensions) return nullptr;
  auto session = std::make_unique<EditorSession>();
  MapDocument &doc = session->document();
  doc.XQuads = dimensions->XQuads;
  doc.YQuads = dimensions->YQuads;
  doc.TotalQuads = static_cast<qint16>(dimensions->XQuads * dimensions->YQuads);
  doc.mapReady = true;
  const std::optional<MapTextContent> content = importMapFile(mapPath, *session, console);
  if (!content) return nullptr;
  // The values of a last, unfinished row are read but belong to no Quad the file counts,
  // so no map file written from it holds them.
  if (const std::size_t partial = content->values.size() % kValuesPerRow; partial != 0)
    console.warning(QStringLiteral("the map file \"%1\" ends inside the row for Quad %2: its %3 "
                                   "values are dropped")
                        .arg(shown(mapPath), QString::number(content->completeRows()),
                             QString::number(partial)));
  return session;
}

bool writeOutput(const QString &path, QByteArrayView bytes, Console &console) {
  if (path == kStandardOutput) {
#ifdef Q_OS_WIN
    _setmode(_fileno(stdout), _O_BINARY);  // a picture's bytes as they are
#endif
    std::fflush(stdout);
    if (std::fwrite(bytes.data(), 1, std::size_t(bytes.size()), stdout) ==
            std::size_t(bytes.size()) &&
        std::fflush(stdout) == 0)
      return true;
    console.error(
        QStringLiteral("the standard output could not be written: %1").arg(qt_error_string(errno)));
    return false;
  }
  const FileWriteResult written = writeFileAtomically(path, bytes);
  if (written.ok) return true;
  console.error(
      QStringLiteral("\"%1\" could not be written: %2").arg(shown(path), written.errorText));
  return false;
}

bool writeMapFile(const MapDocument &doc, MapEdition edition, const QString &path,
                  Console &console) {
  return writeOutput(path, mapText(doc, edition), console);
}

}  // namespace vmm::cli
