#include "../support/ChildRuns.h"
#include "CameraJpeg.h"
#include "PictureFile.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

using namespace kavelto;

namespace {

// A JPEG of one plain colour: small on disk whatever its size in pixels.
QByteArray PlainJpeg(const QSize& size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(40, 90, 160));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    return buffer.open(QIODevice::WriteOnly) && image.save(&buffer, "JPEG", 30) ? bytes
                                                                                : QByteArray();
}

// The JPEG with the size in its frame header replaced: a header that claims a huge picture
// without the pixels to go with it.
QByteArray WithClaimedSize(QByteArray jpeg, const QSize& size) {
    const auto byte = [&](qsizetype i) { return static_cast<unsigned char>(jpeg[i]); };
    for (qsizetype at = 2; at + 9 <= jpeg.size(); at += 2 + (byte(at + 2) << 8 | byte(at + 3))) {
        if (byte(at + 1) == 0xC0) {
            const int fields[] = {size.height(), size.width()};
            for (int i = 0; i < 2; ++i) {
                jpeg[at + 5 + 2 * i] = static_cast<char>(fields[i] >> 8);
                jpeg[at + 6 + 2 * i] = static_cast<char>(fields[i] & 0xFF);
            }
            return jpeg;
        }
    }
    return {};
}

} // namespace

class PictureDecodeTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    TempFifo fifo_;

private slots:
    // Camera photos up to 36 megapixels decode; beyond 100 megapixels by the header, or beyond
    // 512 MiB of file, a picture is not decoded.
    void decodesUpTo100Megapixels_data() {
        QTest::addColumn<QByteArray>("jpeg");
        QTest::addColumn<qint64>("fileSize"); // 0: as written
        QTest::addColumn<QSize>("decoded");
        QTest::newRow("36 megapixels") << PlainJpeg(QSize(7360, 4912)) << 0ll << QSize(7360, 4912);
        QTest::newRow("5800 x 5800") << PlainJpeg(QSize(5800, 5800)) << 0ll << QSize(5800, 5800);
        QTest::newRow("over 100 megapixels")
            << WithClaimedSize(PlainJpeg(QSize(64, 64)), QSize(10010, 10000)) << 0ll << QSize(0, 0);
        QTest::newRow("over 512 MiB")
            << PlainJpeg(QSize(64, 64)) << 512ll * 1024 * 1024 + 1 << QSize(0, 0);
    }
    void decodesUpTo100Megapixels() {
        QFETCH(QByteArray, jpeg);
        QFETCH(qint64, fileSize);
        QFETCH(QSize, decoded);
        QFile file(dir_.filePath(QStringLiteral("board.jpg")));
        QVERIFY(!jpeg.isEmpty() && file.open(QIODevice::WriteOnly) && file.write(jpeg) > 0 &&
                (fileSize == 0 || file.resize(fileSize)));
        file.close();
        const QImage image = DecodePicture(file.fileName());
        QCOMPARE(image.size(), decoded);
        if (!image.isNull()) {
            const QColor middle = image.pixelColor(decoded.width() / 2, decoded.height() / 2);
            QVERIFY2(qAbs(middle.blue() - 160) < 8, qPrintable(middle.name()));
        }
    }

    // A camera's JPEG decodes band by band into the picture that one decode gives, but for the
    // colour of the rows beside the cut between the bands, whole or reduced; its thumbnail stands
    // for it only when of its shape.
    void decodesCameraJpegs() {
        QImage picture(640, 480, QImage::Format_RGB32);
        picture.fill(QColor(20, 110, 40));
        QPainter painter(&picture);
        for (int i = 0; i < 40; ++i)
            painter.fillRect(i * 17 % 640, i * 29 % 480, 24, 9, QColor(190, 150, 70));
        painter.end();
        const QString camera = dir_.filePath(QStringLiteral("camera.jpg"));
        const QString padded = dir_.filePath(QStringLiteral("padded.jpg"));
        QVERIFY(WriteCameraJpeg(picture, camera) &&
                WriteCameraJpeg(picture.scaled(600, 400), padded, QSize(160, 120)));
        const std::optional<PictureFile> file = ReadPictureFile(camera);
        QVERIFY(file);
        for (const int reduction : {1, 8}) {
            QImageReader reader(camera);
            reader.setScaledSize(QSize(640, 480) / reduction);
            const QImage one = reader.read(), bands = DecodePicture(*file, reduction);
            QCOMPARE(bands.size(), one.size());
            const int cut = 240 / reduction;
            for (int y = 0; y < one.height(); ++y) {
                const bool same =
                    std::equal(one.constScanLine(y), one.constScanLine(y) + one.bytesPerLine(),
                               bands.constScanLine(y));
                QVERIFY2(same || qAbs(y + 0.5 - cut) < 2, qPrintable(QString::number(y)));
            }
        }
        QCOMPARE(DecodeThumbnail(*file).size(), QSize(160, 120));
        QVERIFY(DecodeThumbnail(*ReadPictureFile(padded)).isNull());
    }

    // A pipe with no writer and an endless device are refused at once, not waited on or read.
    void refusesFilesThatNeverEnd() {
        for (const std::string& file : {fifo_.path(), std::string("/dev/zero")}) {
            const std::optional<std::string> outcome = RunInChild([&] {
                return DecodePicture(QString::fromStdString(file)).isNull() ? "refused" : "decoded";
            });
            QCOMPARE(QString::fromStdString(outcome.value_or("no answer in time") + " " + file),
                     QString::fromStdString("refused " + file));
        }
    }
};

QTEST_GUILESS_MAIN(PictureDecodeTest)
#include "PictureDecodeTest.moc"
