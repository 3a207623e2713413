// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "catalogue/CatalogueTables.h"
#include "catalogue/ElementRecord.h"

#include <QString>
#include <QtGlobal>

#include <memory>
#include <optional>

namespace vmm {

struct DatabaseTarget;

inline constexpr const char *kCatalogueFileName = "Ostrel.db";

// The editor's data folder: VARGA_MAP_MAKER_HOME when set, else the per-user application
// data folder. No trailing separator; the folder is created when missing.
QString resolveDatabaseLocation();
// The catalogue file in a data folder: DatabaseLocation + "/Ostrel.db".
QString catalogueFilePath(const QString &databaseLocation);

// Outcome of a catalogue operation; error names the catalogue and the reason.
struct CatalogueResult {
  bool ok = true;
  QString error;

  static CatalogueResult success() { return {}; }
  static CatalogueResult failure(const QString &text) { return {false, text}; }
};

// Outcome of saving an element's colour: the id of the record written, or the error.
struct ColourWriteResult {
  bool ok = false;
  qint16 elementid = -1;
  QString error;
};

// Which catalogue the editor runs on after open().
enum class CatalogueOrigin {
  UserFile,            // the file in the data folder, found usable
  CreatedFromDefault,  // the file was missing and has just been written from the default
  BuiltInDefault       // the built-in default in memory (file refused or not creatable)
};

// The effective element catalogue: the user's Ostrel.db, or the built-in default kept
// in memory when that file cannot be used. Every operation opens its own connection
// and closes it before returning; the user's file is never replaced or repaired.
class CatalogueDatabase {
 public:
  // The built-in default catalogue, in memory.
  CatalogueDatabase();
  ~CatalogueDatabase();
  CatalogueDatabase(CatalogueDatabase &&) noexcept;
  CatalogueDatabase &operator=(CatalogueDatabase &&) noexcept;

  // Opens DatabaseLocation/Ostrel.db. A missing file is created from the default
  // (never over an existing one); an unusable file is refused and the built-in default
  // is used instead. openMessage() says what happened when it was not plain UserFile.
  static CatalogueDatabase open(const QString &databaseLocation);
  // The same for a catalogue file named by its full path.
  static CatalogueDatabase openFile(const QString &path);

  CatalogueOrigin origin() const { return origin_; }
  // Status text after creation, or the refusal message naming the file and the problem.
  QString openMessage() const { return openMessage_; }
  // Why the file is not in use (refused, or not creatable); empty when it is.
  QString problem() const { return problem_; }
  // The user's catalogue file (empty for a catalogue constructed as the built-in default).
  QString filePath() const { return filePath_; }
  bool usesBuiltInDefault() const { return builtIn_ != nullptr; }
  // The file is there but was refused (a missing file that could not be created is not).
  bool refusedFile() const { return refusedFile_; }

  // Copies the catalogue into the in-memory tables: record i of "SELECT * FROM tblElements"
  // into row i, record i of "SELECT * FROM tblheights" into entry i, from field Heightcolour
  // when HeightColourMode is non-zero and Heightcolour2 when it is 0. Rows and entries
  // beyond the record counts keep what they held. A catalogue that cannot be used changes
  // nothing and gives the reason.
  CatalogueResult LoadElements(ElementTable &table, HeightColours &heights,
                               qint16 HeightColourMode) const;

  // The record of "SELECT * FROM tblElements where ElementType = ?" with the name bound;
  // nothing for an empty name, an unknown name or an unreadable catalogue.
  std::optional<ElementRecord> elementByName(const QString &name) const;

  // Stores the colour in the elementcolour field of the element's record.
  // Fails with a message naming the file and the reason (read-only, locked, gone ...).
  ColourWriteResult writeElementColour(const QString &name, quint32 colour) const;

  // Writes the built-in default catalogue to path; refuses when the path exists.
  static CatalogueResult createDefaultFile(const QString &path);

 private:
  class BuiltIn;
  DatabaseTarget target() const;
  QString displayName() const;

  QString filePath_;
  CatalogueOrigin origin_ = CatalogueOrigin::BuiltInDefault;
  QString openMessage_;
  QString problem_;
  bool refusedFile_ = false;
  std::unique_ptr<BuiltIn> builtIn_;
};

// ElementTable editing and reading as the windows use it.
// Stores the colour of one element in memory only (ids outside 0..351 are ignored).
void ChangeElementColour(ElementTable &table, qint16 elementid, quint32 elementcolour);
// The element's name; "-----" for -1 and an empty text for an id without a loaded row.
QString ReturnElementName(const ElementTable &table, qint16 elementid);

}  // namespace vmm
