#include "app/widgets/MDIfrmMain.h"
#include "catalogue/ElementRecord.h"
#include "catalogue/widgets/frmElementType.h"
#include "catalogue/widgets/frmTreeView.h"
#include "support/CatalogueWindowsSupport.h"

#include <QLineEdit>
#include <QPointer>
#include <QTreeWidget>
#include <QtTest>

using namespace vmm;
using test::EditorFixture;

class TestElementData : public QObject {
  Q_OBJECT

 private slots:
  void doubleClickShowsTheElementsDataAndFocusLossClosesIt() {
    EditorFixture fixture;
    fixture.execOnCatalogue(
        "UPDATE tblElements SET InElemProtFlag = 4, explode = 6, RubbleTo = -1, CrushTo = 2, "
        "BurnTo = 3, Height = 5, TypeFlagsWall = 1, TypeFlagsRoad = 1, TypeFlagsCrushable = 0, "
        "VehicleMoveRateTracked = 17 WHERE ElementType = 'Wood Fence'");
    frmTreeView *tree = fixture.openTree();
    QVERIFY(tree);
    QTreeWidget *list = tree->treElementList();
    QTreeWidgetItem *fence = test::elementNode(list, "Barrier", "Wood Fence");
    test::doubleClickNode(list, fence);

    QPointer<frmElementType> data = tree->elementDataWindow();
    QVERIFY(data && data->isVisible());
    QCOMPARE(data->fieldText("ElementType"), QStringLiteral("Wood Fence"));
    QCOMPARE(data->fieldText("Height"), QStringLiteral("2.5"));
    QCOMPARE(data->fieldText("InElemProtFlag"), QStringLiteral("partial prot (better if behind)"));
    QCOMPARE(data->fieldText("explode"), QStringLiteral("Pavement"));
    QCOMPARE(data->fieldText("RubbleTo"), QStringLiteral("-----"));
    QCOMPARE(data->fieldText("CrushTo"), QStringLiteral("Stone Barrier"));
    QCOMPARE(data->fieldText("VehicleMoveRateTracked"), QStringLiteral("17"));
    QCOMPARE(data->selectedTypeFlag(), QStringLiteral("Road"));  // the later of two flags
    // Every value field of the record has its box; the colour and the flags have none.
    for (const QString &field : ElementRecord::fieldNames()) {
      const bool boxed = field != QLatin1String("elementcolour") && !field.startsWith("TypeFlags");
      QCOMPARE(data->findChild<QLineEdit *>(field) != nullptr, boxed);
    }

    QVERIFY(QTest::qWaitForWindowActive(data.data()));
    test::doubleClickNode(list, fence);  // refills the open window instead of opening another
    QCOMPARE(tree->elementDataWindow(), data.data());
    fixture.main().activateWindow();
    QTRY_VERIFY(data.isNull());
  }

  void codesAndFlagsAsShown_data() {
    QTest::addColumn<QString>("assignments");
    QTest::addColumn<QString>("protection");
    QTest::addColumn<QString>("explode");
    QTest::addColumn<QString>("flag");
    QTest::newRow("codes at the ends of their tables") << "InElemProtFlag = 0, explode = 0"
                                                       << "no prot in elem"
                                                       << "None"
                                                       << "Wall";
    QTest::newRow("codes outside their tables")
        << "InElemProtFlag = 7, explode = 7, TypeFlagsWall = 0"
        << ""
        << ""
        << "";
    QTest::newRow("last flag in order wins")
        << "TypeFlagsSunken = 1, TypeFlagsSnow = 1, TypeFlagsMinefield = 1, TypeFlagsBridge = 1"
        << "partial prot (better if behind)"
        << "Wood"
        << "Minefield";
  }

  void codesAndFlagsAsShown() {
    QFETCH(QString, assignments);
    QFETCH(QString, protection);
    QFETCH(QString, explode);
    QFETCH(QString, flag);
    EditorFixture fixture;
    // Wood Fence starts with flag 4, explode 4 and the Wall and Crushable flags.
    fixture.execOnCatalogue("UPDATE tblElements SET TypeFlagsCrushable = 0, " + assignments +
                            " WHERE elementid = 0");
    fixture.execOnCatalogue(
        "UPDATE tblElements SET InElemProtFlag = 1, explode = 5, TypeFlagsCovered = 1 "
        "WHERE ElementType = 'Stone Barrier'");
    MDIfrmMain &main = fixture.start();
    frmElementType data(main.catalogue(), main.elementTable());
    // A refill after another element must not keep that element's texts or flag.
    data.PopulateForm("Stone Barrier");
    QCOMPARE(data.selectedTypeFlag(), QStringLiteral("Covered"));
    data.PopulateForm("Wood Fence");
    QCOMPARE(data.fieldText("InElemProtFlag"), protection);
    QCOMPARE(data.fieldText("explode"), explode);
    QCOMPARE(data.selectedTypeFlag(), flag);
    // A name the catalogue does not hold empties the window.
    data.PopulateForm("No Such Element");
    for (const QLineEdit *box : data.findChildren<QLineEdit *>()) QVERIFY(box->text().isEmpty());
    QVERIFY(data.selectedTypeFlag().isEmpty());
  }
};

QTEST_MAIN(TestElementData)
#include "test_elementdata.moc"
