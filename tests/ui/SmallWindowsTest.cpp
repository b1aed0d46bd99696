#include "CAboutDlg.h"
#include "CKeymapDlg.h"

#include <QtTest>
#include <QtWidgets>

using namespace kavelto;

class SmallWindowsTest : public QObject {
    Q_OBJECT

private slots:
    // The keys row by row: "r" for a key with a red action label, "-" for one without any red
    // (Num Lock, 4, 5, 6 and both halves of 0), "." for the cells of the tall + and Enter. Each
    // key is a cell of the picture's 4 x 5 grid, its border area left out so that neighbours
    // never count.
    void keymapShowsActionsOnTheShortcutKeysOnly() {
        const QImage picture =
            QImage(QStringLiteral(":/kavelto/keymap.png")).convertToFormat(QImage::Format_RGB32);
        const int width = picture.width(), height = picture.height();
        QString keys;
        for (int key = 0; key < 20; ++key) {
            const int column = key % 4, row = key / 4;
            int red = 0;
            for (int y = row * height / 5 + 6; y < (row + 1) * height / 5 - 6; ++y)
                for (int x = column * width / 4 + 8; x < (column + 1) * width / 4 - 8; ++x) {
                    const QRgb pixel = picture.pixel(x, y);
                    red += qRed(pixel) > 150 && qGreen(pixel) < 80 && qBlue(pixel) < 80 ? 1 : 0;
                }
            keys += column == 3 && row > 0 ? '.' : red > 10 ? 'r' : red == 0 ? '-' : '?';
            keys += column == 3 ? " " : "";
        }
        QCOMPARE(keys, "-rrr rrr. ---. rrr. rrr. ");
    }

    // OK closes the About box; Enter and Esc close the Keymap window, other keys leave it open.
    void smallWindowsShowTheirContentsAndClose() {
        CAboutDlg about;
        QCOMPARE(about.findChild<QLabel*>(QStringLiteral("aboutText"))->text(),
                 "Kavelto Version 1.0");
        about.show();
        QTest::mouseClick(about.findChild<QPushButton*>(QStringLiteral("okButton")),
                          Qt::LeftButton);
        QVERIFY(!about.isVisible());
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
            CKeymapDlg keymap;
            QVERIFY(!keymap.findChild<QLabel*>(QStringLiteral("keymapPicture"))->pixmap().isNull());
            keymap.show();
            QTest::keyClick(&keymap, Qt::Key_Space);
            QVERIFY(keymap.isVisible());
            QTest::keyClick(&keymap, key);
            QVERIFY2(!keymap.isVisible(), qPrintable(QKeySequence(key).toString()));
        }
    }
};

QTEST_MAIN(SmallWindowsTest)
#include "SmallWindowsTest.moc"
