#include "CAboutDlg.h"
#include "CKeymapDlg.h"

#include <QtTest>
#include <QtWidgets>

using namespace kavelto;

namespace {

// Red pixels in one cell of the keypad picture's 4 x 5 grid, the key's border area left out so
// that neighbours never count.
int RedInKey(const QImage& picture, int column, int row) {
    const int width = picture.width(), height = picture.height();
    int red = 0;
    for (int y = row * height / 5 + 6; y < (row + 1) * height / 5 - 6; ++y)
        for (int x = column * width / 4 + 8; x < (column + 1) * width / 4 - 8; ++x) {
            const QRgb pixel = picture.pixel(x, y);
            red += qRed(pixel) > 150 && qGreen(pixel) < 80 && qBlue(pixel) < 80 ? 1 : 0;
        }
    return red;
}

} // namespace

class SmallWindowsTest : public QObject {
    Q_OBJECT

private slots:
    // The keys row by row: "r" for a key with a red action label, "-" for one without any red
    // (Num Lock, 4, 5, 6 and both halves of 0), "." for the cells of the tall + and Enter.
    void keymapShowsActionsOnTheShortcutKeysOnly() {
        const QImage picture =
            QImage(QStringLiteral(":/kavelto/keymap.png")).convertToFormat(QImage::Format_RGB32);
        QString keys;
        for (int row = 0; row < 5; ++row) {
            for (int column = 0; column < 4; ++column) {
                const int red = RedInKey(picture, column, row);
                keys += column == 3 && row > 0 ? '.' : red > 10 ? 'r' : red == 0 ? '-' : '?';
            }
            keys += ' ';
        }
        QCOMPARE(keys, "-rrr rrr. ---. rrr. rrr. ");
    }

    void aboutBoxShowsItsTextsAndOkClosesIt() {
        CAboutDlg about;
        QCOMPARE(about.windowTitle(), "About Kavelto");
        QCOMPARE(about.findChild<QLabel*>(QStringLiteral("aboutText"))->text(),
                 "Kavelto Version 1.0");
        auto* ok = about.findChild<QPushButton*>(QStringLiteral("okButton"));
        QCOMPARE(ok->text(), "OK");
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        QTest::mouseClick(ok, Qt::LeftButton);
        QVERIFY(!about.isVisible());
    }

    // Other keys leave the window open.
    void keymapWindowShowsThePictureAndClosesOnEnterOrEscape() {
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
            CKeymapDlg keymap;
            QCOMPARE(keymap.windowTitle(), "Keymap");
            QCOMPARE(keymap.findChild<QLabel*>(QStringLiteral("keymapPicture"))->pixmap().size(),
                     QSize(273, 325));
            keymap.show();
            QVERIFY(QTest::qWaitForWindowExposed(&keymap));
            QTest::keyClick(&keymap, Qt::Key_Space);
            QVERIFY(keymap.isVisible());
            QTest::keyClick(&keymap, key);
            QVERIFY2(!keymap.isVisible(), qPrintable(QKeySequence(key).toString()));
        }
    }
};

QTEST_MAIN(SmallWindowsTest)
#include "SmallWindowsTest.moc"
