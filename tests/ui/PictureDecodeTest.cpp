#include "../support/ChildRuns.h"
#include "CameraJpeg.h"
#include "PictureFile.h"
#include "PlainJpeg.h"
#include "TestFiles.h"

#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

using namespace kavelto;

namespace {

QImage Plain(const QSize& size, QImage::Format format) {
    QImage image(size, format);
    image.fill(QColor(40, 90, 160));
    return image;
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
        const QString path = WriteFile(dir_.filePath(QStringLiteral("board.jpg")), jpeg);
        QVERIFY(!jpeg.isEmpty() && !path.isEmpty() &&
                (fileSize == 0 || QFile::resize(path, fileSize)));
        const QImage image = DecodePicture(path);
        QCOMPARE(image.size(), decoded);
        if (!image.isNull()) {
            const QColor middle = image.pixelColor(decoded.width() / 2, decoded.height() / 2);
            QVERIFY2(qAbs(middle.blue() - 160) < 8, qPrintable(middle.name()));
        }
    }

    // A camera's JPEG decodes band by band into the picture that one decode gives, but for the
    // colour of the rows beside the cut between the bands, whole or reduced. Its thumbnail stands
    // for it only when of its shape to a row, as rounding leaves it: not two rows off, nor a 4:3
    // thumbnail of a 3:2 picture padded with black bands.
    void decodesCameraJpegs() {
        QImage picture(640, 480, QImage::Format_RGB32);
        picture.fill(QColor(20, 110, 40));
        QPainter painter(&picture);
        for (int i = 0; i < 40; ++i)
            painter.fillRect(i * 17 % 640, i * 29 % 480, 24, 9, QColor(190, 150, 70));
        painter.end();
        const QString camera = dir_.filePath(QStringLiteral("camera.jpg"));
        QVERIFY(WriteCameraJpeg(picture, camera));
        const Result<PictureFile, PictureRefusal> file = ReadPictureFile(camera);
        QVERIFY(file);
        for (const int reduction : {1, 8}) {
            QImageReader reader(camera);
            reader.setScaledSize(QSize(640, 480) / reduction);
            const QImage one = reader.read(), bands = DecodePicture(file.value(), reduction);
            QCOMPARE(bands.size(), one.size());
            const int cut = 240 / reduction;
            for (int y = 0; y < one.height(); ++y) {
                const bool same =
                    std::equal(one.constScanLine(y), one.constScanLine(y) + one.bytesPerLine(),
                               bands.constScanLine(y));
                QVERIFY2(same || qAbs(y + 0.5 - cut) < 2, qPrintable(QString::number(y)));
            }
        }
        QCOMPARE(DecodeThumbnail(file.value()).size(), QSize(160, 120));
        const QString other = dir_.filePath(QStringLiteral("other.jpg"));
        for (const auto& [size, taken] :
             {std::pair(QSize(640, 484), true), std::pair(QSize(640, 488), false),
              std::pair(QSize(600, 400), false)}) {
            QVERIFY(WriteCameraJpeg(picture.scaled(size), other, QSize(160, 120)));
            QVERIFY2(DecodeThumbnail(ReadPictureFile(other).value()).isNull() != taken,
                     qPrintable(QStringLiteral("%1 x %2").arg(size.width()).arg(size.height())));
        }
    }

    // A file that can't be shown is refused with the reason: a BMP, JPEG or PNG whose end is
    // missing is cut short (decoders draw the rest black or grey), a picture over 100 megapixels
    // is too large, one of 100 is not, bytes of no picture kind are not one. Whole files are read.
    void refusesWhatCantBeShown_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("fault"); // -1 for a file read
        const QByteArray bmp = Encoded(Plain(QSize(64, 48), QImage::Format_RGB32), "BMP");
        const QByteArray png = Encoded(Plain(QSize(64, 48), QImage::Format_RGB32), "PNG");
        const QByteArray jpeg = PlainJpeg(QSize(64, 48));
        const int cutShort = int(PictureFault::CutShort);
        QTest::newRow("whole BMP") << bmp << -1;
        QTest::newRow("BMP without its last row") << bmp.chopped(192) << cutShort; // 64 x 3 bytes
        QTest::newRow("BMP without its last byte") << bmp.chopped(1) << cutShort;
        QTest::newRow("BMP of its headers alone") << bmp.left(54) << cutShort;
        QTest::newRow("whole PNG") << png << -1;
        QTest::newRow("PNG cut in half") << png.left(png.size() / 2) << cutShort;
        QTest::newRow("PNG without its end chunk") << png.chopped(12) << cutShort;
        QTest::newRow("whole JPEG") << jpeg << -1;
        QTest::newRow("JPEG cut in half") << jpeg.left(jpeg.size() / 2) << cutShort;
        QTest::newRow("over 100 megapixels")
            << WithClaimedSize(PlainJpeg(QSize(64, 64)), QSize(10010, 10000))
            << int(PictureFault::TooLarge);
        QTest::newRow("100 megapixels")
            << WithClaimedSize(PlainJpeg(QSize(64, 64)), QSize(10000, 10000)) << -1;
        QTest::newRow("text") << QByteArray("a picture's bytes") << int(PictureFault::NotAPicture);
        QTest::newRow("empty") << QByteArray() << int(PictureFault::NotAPicture);
    }
    void refusesWhatCantBeShown() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, fault);
        const QString path = WriteFile(dir_.filePath(QStringLiteral("board.pic")), bytes);
        QVERIFY(!path.isEmpty());
        const Result<PictureFile, PictureRefusal> read = ReadPictureFile(path);
        QCOMPARE(read ? -1 : int(read.failure().fault), fault);
    }

    // A file that can't be read at all gives the system's reason.
    void refusesAMissingFileWithTheSystemsReason() {
        const Result<PictureFile, PictureRefusal> read =
            ReadPictureFile(dir_.filePath(QStringLiteral("missing.png")));
        QVERIFY(!read);
        QCOMPARE(int(read.failure().fault), int(PictureFault::Unreadable));
        QCOMPARE(read.failure().reason, std::string("No such file or directory"));
    }

    // A PNG of 16 bits a channel decodes at 8 up to 100 megapixels, though at 64 bits a pixel
    // it takes more memory than a picture of 8 bits a channel may.
    void decodesSixteenBitsAChannel() {
        const QSize size(7300, 7200); // 52.6 megapixels
        const QString path = dir_.filePath(QStringLiteral("deep.png"));
        {
            QImageWriter writer(path, "PNG");
            writer.setCompression(1);
            QVERIFY(writer.write(Plain(size, QImage::Format_RGBX64)));
        }
        const QImage image = DecodePicture(path);
        QCOMPARE(image.size(), size);
        QCOMPARE(image.depth(), 32);
        QCOMPARE(image.pixelColor(size.width() / 2, size.height() / 2), QColor(40, 90, 160));
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
