#include "CAboutDlg.h"
#include "CKeymapDlg.h"
#include "DialogUnits.h"
#include "ProgramIcon.h"

#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

namespace {

bool IsActionRed(QRgb pixel) {
    return qRed(pixel) > 150 && qGreen(pixel) < 80 && qBlue(pixel) < 80;
}

bool IsLegendBlack(QRgb pixel) {
    return qRed(pixel) < 60 && qGreen(pixel) < 60 && qBlue(pixel) < 60;
}

// Counts the pixels of one key of the keypad picture, a 4 x 5 grid of 273 x 325 pixels, that
// pass the test; the key's border area is left out so that neighbours never count.
template <typename Test> int CountInKey(const QImage& picture, int column, int row, Test test) {
    const int left = column * picture.width() / 4 + 8;
    const int right = (column + 1) * picture.width() / 4 - 8;
    const int top = row * picture.height() / 5 + 6;
    const int bottom = (row + 1) * picture.height() / 5 - 6;
    int count = 0;
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            count += test(picture.pixel(x, y)) ? 1 : 0;
        }
    }
    return count;
}

QImage KeymapPicture() {
    return QImage(QStringLiteral(":/kavelto/keymap.png")).convertToFormat(QImage::Format_RGB32);
}

} // namespace

class SmallWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void picturesHaveTheirSizes_data();
    void picturesHaveTheirSizes();
    void programIconOffersBothSizes();
    void keymapKeysCarryTheirLabels_data();
    void keymapKeysCarryTheirLabels();

    void aboutBoxShowsCaptionVersionAndIcon();
    void aboutBoxFollowsItsTemplate_data();
    void aboutBoxFollowsItsTemplate();
    void aboutTextsFitTheirPlaces_data();
    void aboutTextsFitTheirPlaces();
    void aboutOkButtonClosesTheBox();

    void keymapWindowShowsThePictureWhole();
    void keymapWindowClosesOnEnterAndEscape_data();
    void keymapWindowClosesOnEnterAndEscape();
    void keymapWindowIgnoresOtherKeys();
};

void SmallWindowsTest::picturesHaveTheirSizes_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QSize>("size");
    QTest::newRow("large icon") << ":/kavelto/icon32.png" << QSize(32, 32);
    QTest::newRow("small icon") << ":/kavelto/icon16.png" << QSize(16, 16);
    QTest::newRow("logo") << ":/kavelto/logo.png" << QSize(85, 28);
    QTest::newRow("keymap") << ":/kavelto/keymap.png" << QSize(273, 325);
}

void SmallWindowsTest::picturesHaveTheirSizes() {
    QFETCH(QString, path);
    QFETCH(QSize, size);
    const QImage image(path);
    QVERIFY2(!image.isNull(), qPrintable(path));
    QCOMPARE(image.size(), size);
}

void SmallWindowsTest::programIconOffersBothSizes() {
    const QList<QSize> sizes = ProgramIcon().availableSizes();
    QVERIFY(sizes.contains(QSize(32, 32)));
    QVERIFY(sizes.contains(QSize(16, 16)));
}

// Cells of the keypad grid; the tall + and Enter span two cells and are left out. Every key
// has a black legend; only the keys with a shortcut have red.
void SmallWindowsTest::keymapKeysCarryTheirLabels_data() {
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("hasLegend");
    QTest::addColumn<bool>("hasAction");
    QTest::newRow("Num Lock") << 0 << 0 << true << false;
    QTest::newRow("/") << 1 << 0 << true << true;
    QTest::newRow("*") << 2 << 0 << true << true;
    QTest::newRow("-") << 3 << 0 << true << true;
    QTest::newRow("7") << 0 << 1 << true << true;
    QTest::newRow("8") << 1 << 1 << true << true;
    QTest::newRow("9") << 2 << 1 << true << true;
    QTest::newRow("4") << 0 << 2 << true << false;
    QTest::newRow("5") << 1 << 2 << true << false;
    QTest::newRow("6") << 2 << 2 << true << false;
    QTest::newRow("1") << 0 << 3 << true << true;
    QTest::newRow("2") << 1 << 3 << true << true;
    QTest::newRow("3") << 2 << 3 << true << true;
    QTest::newRow("0") << 0 << 4 << true << false;
    QTest::newRow("0, right half") << 1 << 4 << false << false;
    QTest::newRow(".") << 2 << 4 << true << true;
}

void SmallWindowsTest::keymapKeysCarryTheirLabels() {
    QFETCH(int, column);
    QFETCH(int, row);
    QFETCH(bool, hasLegend);
    QFETCH(bool, hasAction);
    const QImage picture = KeymapPicture();
    const int black = CountInKey(picture, column, row, IsLegendBlack);
    QCOMPARE(black > 5, hasLegend);
    const int red = CountInKey(picture, column, row, IsActionRed);
    QCOMPARE(red > 10, hasAction);
    if (!hasAction) {
        QCOMPARE(red, 0);
    }
}

void SmallWindowsTest::aboutBoxShowsCaptionVersionAndIcon() {
    const CAboutDlg about;
    QCOMPARE(about.windowTitle(), QStringLiteral("About Kavelto"));
    QVERIFY(!about.windowIcon().isNull());
    const auto* text = about.findChild<QLabel*>(QStringLiteral("aboutText"));
    QVERIFY(text);
    QCOMPARE(text->text(), QStringLiteral("Kavelto Version 1.0"));
    QCOMPARE(text->textFormat(), Qt::PlainText);
    const auto* notice = about.findChild<QLabel*>(QStringLiteral("aboutNotice"));
    QVERIFY(notice);
    QVERIFY(notice->text().contains(QStringLiteral("QUANDEL")));
    const auto* icon = about.findChild<QLabel*>(QStringLiteral("aboutIcon"));
    QVERIFY(icon);
    QCOMPARE(icon->pixmap().size(), QSize(32, 32));
}

void SmallWindowsTest::aboutBoxFollowsItsTemplate_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("units");
    QTest::newRow("icon") << "aboutIcon" << QRect(11, 17, 20, 20);
    QTest::newRow("version") << "aboutText" << QRect(40, 10, 119, 8);
    QTest::newRow("notice") << "aboutNotice" << QRect(40, 25, 119, 8);
    QTest::newRow("OK") << "okButton" << QRect(178, 7, 50, 14);
}

void SmallWindowsTest::aboutBoxFollowsItsTemplate() {
    QFETCH(QString, name);
    QFETCH(QRect, units);
    const CAboutDlg about;
    const DialogUnits scale(about.font());
    QCOMPARE(about.size(), scale.toPixels(0, 0, 235, 55).size());
    const auto* control = about.findChild<QWidget*>(name);
    QVERIFY(control);
    QCOMPARE(control->geometry(),
             scale.toPixels(units.x(), units.y(), units.width(), units.height()));
    QVERIFY(about.rect().contains(control->geometry()));
}

void SmallWindowsTest::aboutTextsFitTheirPlaces_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("version") << "aboutText";
    QTest::newRow("notice") << "aboutNotice";
}

void SmallWindowsTest::aboutTextsFitTheirPlaces() {
    QFETCH(QString, name);
    const CAboutDlg about;
    const auto* label = about.findChild<QLabel*>(name);
    QVERIFY(label);
    const QFontMetrics metrics(label->font());
    QVERIFY2(metrics.horizontalAdvance(label->text()) <= label->width(), qPrintable(label->text()));
}

void SmallWindowsTest::aboutOkButtonClosesTheBox() {
    CAboutDlg about;
    auto* ok = about.findChild<QPushButton*>(QStringLiteral("okButton"));
    QVERIFY(ok);
    QCOMPARE(ok->text(), QStringLiteral("OK"));
    QVERIFY(ok->isDefault());
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    QTest::mouseClick(ok, Qt::LeftButton);
    QVERIFY(!about.isVisible());
    QCOMPARE(about.result(), int(QDialog::Accepted));
}

void SmallWindowsTest::keymapWindowShowsThePictureWhole() {
    const CKeymapDlg keymap;
    QCOMPARE(keymap.windowTitle(), QStringLiteral("Keymap"));
    QVERIFY(!keymap.windowIcon().isNull());
    const auto* picture = keymap.findChild<QLabel*>(QStringLiteral("keymapPicture"));
    QVERIFY(picture);
    QCOMPARE(picture->pixmap().size(), QSize(273, 325));
    QVERIFY(keymap.rect().contains(picture->geometry()));
    const DialogUnits scale(keymap.font());
    const QRect place = scale.toPixels(7, 7, 182, 200);
    QCOMPARE(picture->pos(), place.topLeft());
    QCOMPARE(picture->size(), place.size().expandedTo(QSize(273, 325)));
    QVERIFY(keymap.width() >= scale.toPixelsX(197));
    QVERIFY(keymap.height() >= scale.toPixelsY(214));
    QVERIFY(keymap.findChildren<QPushButton*>().isEmpty());
}

void SmallWindowsTest::keymapWindowClosesOnEnterAndEscape_data() {
    QTest::addColumn<int>("key");
    QTest::newRow("Return") << int(Qt::Key_Return);
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter);
    QTest::newRow("Escape") << int(Qt::Key_Escape);
}

void SmallWindowsTest::keymapWindowClosesOnEnterAndEscape() {
    QFETCH(int, key);
    CKeymapDlg keymap;
    keymap.show();
    QVERIFY(QTest::qWaitForWindowExposed(&keymap));
    QTest::keyClick(&keymap, Qt::Key(key));
    QVERIFY(!keymap.isVisible());
}

void SmallWindowsTest::keymapWindowIgnoresOtherKeys() {
    CKeymapDlg keymap;
    keymap.show();
    QVERIFY(QTest::qWaitForWindowExposed(&keymap));
    for (const Qt::Key key : {Qt::Key_Space, Qt::Key_A, Qt::Key_Down, Qt::Key_Plus}) {
        QTest::keyClick(&keymap, key);
    }
    QVERIFY(keymap.isVisible());
}

QTEST_MAIN(SmallWindowsTest)
#include "SmallWindowsTest.moc"
