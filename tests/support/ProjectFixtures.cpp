// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/ProjectFixtures.h"

#include "catalogue/CatalogueDatabase.h"
#include "mapfiles/PictureLoader.h"
#include "session/EditorSession.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryFile>
#include <QtEndian>

namespace vmm::test {

bool startSampleMap(EditorSession &session, const QString &picture) {
  if (!session.useCatalogue(CatalogueDatabase()).ok) return false;
  const PictureLoadResult loaded = PictureLoader::load(picture);
  if (!loaded.accepted) return false;
  session.startMap(loaded);
  constexpr qint16 elements[] = {-1, 12, 10, 11, 8, 190, 174, 127, 146, 155, 3};
  MapDocument &doc = session.document();
  for (int quad = 0; quad < doc.TotalQuads; ++quad)
    for (int s = 0; s < kSectorsPerQuad; ++s) {
      doc.setValue(quad, s, Plane::Element, elements[(quad * 5 + s) % std::size(elements)]);
      doc.setValue(quad, s, Plane::Height, qint16((quad + s) % 7 ? (quad * 13 + s * 7) % 101 : -1));
    }
  session.repaintWholeMap();
  return true;
}

namespace {

// SQLite's variable-length integer: 7 bits a byte, most significant first.
QByteArray varint(quint64 value) {
  QByteArray bytes;
  bytes.prepend(char(value & 0x7F));
  for (value >>= 7; value != 0; value >>= 7) bytes.prepend(char(0x80 | (value & 0x7F)));
  return bytes;
}

int pictureRootPage(const QByteArray &project) {
  QTemporaryFile file;
  if (!file.open() || file.write(project) != project.size()) return 0;
  file.close();
  int root = 0;
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("root"));
    db.setDatabaseName(file.fileName());
    QSqlQuery query(db);
    if (db.open() &&
        query.exec(QStringLiteral("SELECT rootpage FROM sqlite_master WHERE name = 'picture'")) &&
        query.next())
      root = query.value(0).toInt();
  }
  QSqlDatabase::removeDatabase(QStringLiteral("root"));
  return root;
}

}  // namespace

QByteArray declareHugePicture(const QByteArray &project, qint64 declared) {
  const int root = pictureRootPage(project);
  if (root <= 0) qFatal("no picture table");
  const int pageSize = qFromBigEndian<quint16>(project.constData() + 16);
  const int usable = pageSize - quint8(project[20]);
  const qsizetype page = qsizetype(root - 1) * pageSize;
  const qsizetype header = page + (root == 1 ? 100 : 0);
  if (quint8(project[header]) != 0x0D) qFatal("the picture's root page is not a leaf");

  // The record: a short file name and a blob of `declared` bytes.
  const QByteArray name("huge.png");
  const QByteArray types =
      varint(quint64(name.size()) * 2 + 13) + varint(quint64(declared) * 2 + 12);
  const QByteArray recordHeader = varint(quint64(types.size() + 1)) + types;
  const quint64 payload = quint64(recordHeader.size() + name.size() + declared);
  // How much of the payload a table leaf keeps in the cell; the rest would be on overflow pages.
  const qint64 maxLocal = usable - 35;
  const qint64 minLocal = qint64(usable - 12) * 32 / 255 - 23;
  qint64 local = minLocal + qint64((payload - quint64(minLocal)) % quint64(usable - 4));
  if (local > maxLocal) local = minLocal;
  QByteArray cell = varint(payload) + varint(1) + recordHeader + name;
  cell += QByteArray(local - recordHeader.size() - name.size(), '\0');
  const int pages = int(project.size() / pageSize);
  char overflow[4];
  qToBigEndian<quint32>(quint32(pages + 7), overflow);  // a page the file does not have
  cell += QByteArray(overflow, 4);

  QByteArray patched = project;
  const int cellStart = usable - int(cell.size());
  patched.replace(page + cellStart, cell.size(), cell);
  char field[2];
  auto put16 = [&](qsizetype at, int value) {
    qToBigEndian<quint16>(quint16(value), field);
    patched[at] = field[0];
    patched[at + 1] = field[1];
  };
  put16(header + 1, 0);  // no free blocks
  put16(header + 3, 1);  // one cell
  put16(header + 5, cellStart);
  patched[header + 7] = 0;
  put16(header + 8, cellStart);
  return patched;
}

}  // namespace vmm::test
