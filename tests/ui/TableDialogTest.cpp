#include "TableDialog.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

using namespace kavelto;

class TableDialogTest : public QObject {
    Q_OBJECT

    static QPushButton* Button(const TableDialog& dialog, const QString& text) {
        for (QPushButton* button : dialog.findChildren<QPushButton*>())
            if (button->text() == text)
                return button;
        return nullptr;
    }

private slots:
    // The cells come back as offered and as typed; a row is added below the current one, empty,
    // and the current row removed.
    void givesBackTheCellsAsLeft() {
        const TableEdit edit{"Spares per item",
                             {"Up to", "Percent", "Minimum"},
                             {{"0402", "10", "2"}, {"", "5", "1"}},
                             CommandId::Ok};
        TableDialog dialog(edit);
        QCOMPARE(dialog.windowTitle(), "Spares per item");
        QCOMPARE(dialog.cells(), edit.rows);
        auto* table = dialog.findChild<QTableWidget*>(QStringLiteral("table"));
        QCOMPARE(table->horizontalHeaderItem(1)->text(), "Percent");
        table->item(1, 1)->setText(QStringLiteral("7"));
        table->setCurrentCell(0, 0);
        QTest::mouseClick(Button(dialog, QStringLiteral("Add row")), Qt::LeftButton);
        QCOMPARE(dialog.cells(), (TableCells{{"0402", "10", "2"}, {"", "", ""}, {"", "7", "1"}}));
        table->setCurrentCell(0, 1);
        QTest::mouseClick(Button(dialog, QStringLiteral("Remove row")), Qt::LeftButton);
        QCOMPARE(dialog.cells(), (TableCells{{"", "", ""}, {"", "7", "1"}}));
    }

    // OK takes the table, Cancel leaves it; either closes the dialog.
    void okTakesAndCancelLeaves() {
        for (const auto& [button, result] :
             {std::pair{QDialogButtonBox::Ok, QDialog::Accepted},
              std::pair{QDialogButtonBox::Cancel, QDialog::Rejected}}) {
            TableDialog dialog({"Spares per item", {"Up to"}, {{"0402"}}, CommandId::Ok});
            dialog.setResult(-1);
            dialog.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dialog));
            QTest::mouseClick(dialog.findChild<QDialogButtonBox*>()->button(button),
                              Qt::LeftButton);
            QCOMPARE(dialog.result(), int(result));
            QVERIFY(!dialog.isVisible());
        }
    }

    // Shown, the table stands above the buttons, across the dialog.
    void tableAboveTheButtons() {
        TableDialog dialog(
            {"Spares per item", {"Up to", "Percent"}, {{"0402", "10"}}, CommandId::Ok});
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        const QRect table = dialog.findChild<QTableWidget*>(QStringLiteral("table"))->geometry();
        const QRect buttons = dialog.findChild<QDialogButtonBox*>()->geometry();
        QVERIFY(table.width() > dialog.width() / 2 && table.bottom() < buttons.top());
    }
};

QTEST_MAIN(TableDialogTest)
#include "TableDialogTest.moc"
