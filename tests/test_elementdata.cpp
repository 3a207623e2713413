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
    QCOMPARE(data->fieldText("Height"), QStringLiteral("2.5"));
    QCOMPARE(data->fieldText("InElemProtFlag"), QStringLiteral("partial prot (better if behind)"));
    QCOMPARE(data->fieldText("explode"), QStringLiteral("Pavement"));
    QCOMPARE(data->fieldText("CrushTo"), QStringLiteral("Stone Barrier"));
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

  void refillShowsOnlyTheNewElement() {
    EditorFixture fixture;
    // Codes outside their tables and no flag: nothing of Stone Barrier may stay shown.
    fixture.execOnCatalogue(
        "UPDATE tblElements SET InElemProtFlag = 7, explode = 7, TypeFlagsWall = 0, "
        "TypeFlagsCrushable = 0 WHERE ElementType = 'Wood Fence'");
    fixture.execOnCatalogue(
        "UPDATE tblElements SET InElemProtFlag = 5, explode = 1, TypeFlagsCovered = 1 "
        "WHERE ElementType = 'Stone Barrier'");
    MDIfrmMain &main = fixture.start();
    frmElementType data(main.catalogue(), main.elementTable());
    data.PopulateForm("Stone Barrier");
    QCOMPARE(data.selectedTypeFlag(), QStringLiteral("Covered"));
    data.PopulateForm("Wood Fence");
    QVERIFY(data.fieldText("InElemProtFlag").isEmpty() && data.fieldText("explode").isEmpty());
    QVERIFY(data.selectedTypeFlag().isEmpty());
    // A name the catalogue does not hold empties the window.
    data.PopulateForm("No Such Element");
    for (const QLineEdit *box : data.findChildren<QLineEdit *>()) QVERIFY(box->text().isEmpty());
  }
};

QTEST_MAIN(TestElementData)
#include "test_elementdata.moc"
