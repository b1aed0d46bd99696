#include "../support/ChildRuns.h"
#include "PictureFile.h"

#include <QBuffer>
#include <QFile>
#include <QImageWriter>
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
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(30);
    return writer.write(image) ? bytes : QByteArray();
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

QString Describe(const QImage& image) {
    return image.isNull() ? QStringLiteral("null")
                          : QStringLiteral("%1x%2").arg(image.width()).arg(image.height());
}

} // namespace

class PictureDecodeTest : public QObject {
    Q_OBJECT

private slots:
    void init() { QVERIFY(dir_.isValid()); }

    void decodesCameraPhotos_data() {
        QTest::addColumn<QSize>("size");
        QTest::newRow("36 megapixels") << QSize(7360, 4912);
        QTest::newRow("5800 x 5800") << QSize(5800, 5800);
    }
    void decodesCameraPhotos() {
        QFETCH(QSize, size);
        QVERIFY(write(PlainJpeg(size)));
        const QImage image = DecodePicture(path());
        QCOMPARE(image.size(), size);
        const QColor middle = image.pixelColor(size.width() / 2, size.height() / 2);
        QVERIFY2(qAbs(middle.blue() - 160) < 8, qPrintable(middle.name()));
    }

    // Beyond 100 megapixels by the header, or beyond 512 MiB of file, a picture is not decoded.
    void refusesOversizedPictures() {
        QVERIFY(write(WithClaimedSize(PlainJpeg(QSize(64, 64)), QSize(10010, 10000))));
        QCOMPARE(Describe(DecodePicture(path())), QStringLiteral("null"));

        QVERIFY(write(PlainJpeg(QSize(64, 64))));
        QCOMPARE(DecodePicture(path()).size(), QSize(64, 64));
        QVERIFY(QFile::resize(path(), 512 * 1024 * 1024 + 1));
        QCOMPARE(Describe(DecodePicture(path())), QStringLiteral("null"));
    }

    // A pipe with no writer and an endless device are refused at once, not waited on or read.
    void refusesFilesThatNeverEnd_data() {
        QTest::addColumn<QString>("file");
        QTest::newRow("fifo") << QString::fromStdString(fifo_.path());
        QTest::newRow("/dev/zero") << QStringLiteral("/dev/zero");
    }
    void refusesFilesThatNeverEnd() {
        QFETCH(QString, file);
        const std::optional<std::string> outcome =
            RunInChild([&] { return Describe(DecodePicture(file)).toStdString(); });
        QCOMPARE(QString::fromStdString(outcome.value_or("no answer in time")),
                 QStringLiteral("null"));
    }

private:
    QString path() const { return dir_.filePath(QStringLiteral("board.jpg")); }
    bool write(const QByteArray& bytes) const {
        QFile file(path());
        return !bytes.isEmpty() && file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
               file.write(bytes) == bytes.size();
    }

    QTemporaryDir dir_;
    TempFifo fifo_;
};

QTEST_GUILESS_MAIN(PictureDecodeTest)
#include "PictureDecodeTest.moc"
