#include "KittingSheets.h"
#include "PaintWarnings.h"
#include "PdfPages.h"
#include "Quadrants.h"
#include "SheetTexts.h"

#include <QTemporaryDir>
#include <QTest>

using namespace kavelto;

namespace {

// The sheets are drawn at 300 dots to the inch.
qreal Mm(qreal mm) {
    return mm * 300 / 25.4;
}
// A font's size in those dots as the writer gives it, rounded.
qreal Pt(qreal points) {
    return qRound(points * 300 / 72);
}
// The height of a line of the sheets' font at that many dots.
qreal LineHeight(qreal dots) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(qRound(dots));
    return QFontMetricsF(font).height();
}
// A4's area within margins of 15 mm, in dots.
const QSizeF kA4Area(Mm(180), Mm(267));

PickListItem Item(int number, const char* value, int designators, const char* mpn = "") {
    PickListItem item{number, "0603", value, designators, designators * 2, {},
                      {},     "",     mpn,   "",          std::nullopt};
    for (int d = 1; d <= designators; ++d)
        item.designators.push_back("R" + std::to_string(number * 100 + d));
    return item;
}

QStringList Words(const QList<PdfText>& texts) {
    QStringList words;
    for (const PdfText& text : texts)
        words << text.text;
    return words;
}

QStringList Strings(const std::vector<std::string>& lines) {
    QStringList strings;
    for (const std::string& line : lines)
        strings << QString::fromStdString(line);
    return strings;
}

// The shapes of the page stroked as straight boxes (a tick box, a label, a frame) or as lines.
enum class Stroke { Box, Line };
QList<PdfShape> Stroked(const PdfPage& page, Stroke stroke) {
    QList<PdfShape> shapes;
    for (const PdfShape& shape : page.shapes) {
        const bool line = shape.bounds.height() == 0;
        if (!shape.filled && (stroke == Stroke::Line ? line : !line && !shape.curved))
            shapes << shape;
    }
    return shapes;
}

bool Near(qreal a, qreal b, qreal within = 1.0) {
    return qAbs(a - b) <= within;
}

} // namespace

class KittingSheetsTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    const QString pdf_ = dir_.filePath(QStringLiteral("sheets.pdf"));
    const QString picture_ = dir_.filePath(QStringLiteral("board.png"));

    SheetsRequest request(std::vector<PickListItem> items) const {
        SheetsRequest r;
        r.path = pdf_.toStdString();
        r.placementPath = "/bench/board-top.csv";
        r.date = "2026-12-08";
        r.pcbCount = 2;
        r.items = std::move(items);
        return r;
    }
    QList<PdfPage> write(const SheetsRequest& r) const {
        return KittingSheets::Write(r) ? ReadPdfPages(pdf_) : QList<PdfPage>();
    }

private slots:
    void init() { FailOnPaintWarnings(); }
    void initTestCase() { QVERIFY(Quadrants(QSize(400, 300)).save(picture_, "PNG")); }
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    // The cover names the board in 20 points bold at the top left, then gives its lines in 11
    // points, a line apart, the first a line of each size below the name.
    void coverNamesTheBoardAboveItsLines() {
        const SheetsRequest r = request({Item(1, "1k", 2), Item(2, "10k", 1)});
        const QList<PdfPage> pages = write(r);
        QVERIFY(!pages.isEmpty());
        const QList<PdfText> texts = pages[0].texts;
        QCOMPARE(Words(texts),
                 QStringList("board-top") + Strings(SheetCoverLines(r.placementPath, r.date, r.face,
                                                                    r.pcbCount, r.items)));
        QVERIFY(pages[0].shapes.isEmpty());
        const PdfText& name = texts[0];
        QCOMPARE(std::make_tuple(name.size, name.bold, name.at.x()),
                 std::make_tuple(Pt(20), true, 0.0));
        QVERIFY2(name.at.y() > name.size && name.at.y() < 1.5 * name.size,
                 qPrintable(QString::number(name.at.y())));
        const qreal step = texts[2].at.y() - texts[1].at.y();
        QVERIFY2(Near(step, LineHeight(Pt(11)), 1.5), qPrintable(QString::number(step)));
        for (qsizetype i = 1; i < texts.size(); ++i) {
            QCOMPARE(std::make_tuple(texts[i].size, texts[i].bold, texts[i].at.x()),
                     std::make_tuple(Pt(11), false, 0.0));
            QVERIFY(Near(texts[i].at.y() - texts[i - 1].at.y(),
                         i == 1 ? step + step * Pt(20) / Pt(11) : step));
        }
    }

    // Each item's block on the pages after the cover: its lines, the first in 11 points bold and
    // the rest in 10, 1.2 lines apart; then a tick box 3.5 mm square drawn 0.2 mm wide for each
    // designator, five to a row of A4, 32 mm apart and 1.3 lines down a row, each designator
    // right of its box; a line 0.2 mm wide across the page between the blocks.
    void blocksGiveTheLinesAndATickBoxForEachDesignator() {
        const SheetsRequest r = request({Item(1, "1k", 7, "RC0603"), Item(2, "10k", 2)});
        const QList<PdfPage> pages = write(r);
        QCOMPARE(pages.size(), 3);
        const PdfPage& page = pages[1];
        QStringList expected;
        for (const PickListItem& item : r.items) {
            expected += Strings(SheetBlockLines(item, r.pcbCount));
            for (const std::string& designator : item.designators)
                expected << QString::fromStdString(designator);
        }
        QCOMPARE(Words(page.texts), expected);
        const QList<PdfText>& t = page.texts;
        QCOMPARE(std::make_tuple(t[0].size, t[0].bold), std::make_tuple(Pt(11), true));
        const qreal line = (t[2].at.y() - t[1].at.y()) / 1.2;
        QVERIFY2(Near(line, LineHeight(Pt(10)), 1.5), qPrintable(QString::number(line)));
        for (int i : {1, 2})
            QCOMPARE(std::make_tuple(t[i].size, t[i].bold, t[i].at.x()),
                     std::make_tuple(Pt(10), false, 0.0));
        QVERIFY(Near(t[1].at.y() - t[0].at.y(), 1.2 * line));

        const QList<PdfShape> boxes = Stroked(page, Stroke::Box);
        QCOMPARE(boxes.size(), 7 + 2);
        const qreal box = Mm(3.5);
        for (int i = 0; i < 7; ++i) {
            const PdfShape& tick = boxes[i];
            const PdfText& designator = t[3 + i];
            QVERIFY(Near(tick.bounds.width(), box, 0.01) && Near(tick.bounds.height(), box, 0.01));
            QVERIFY(Near(tick.width, Mm(0.2), 0.01));
            QVERIFY(Near(tick.bounds.x(), (i % 5) * Mm(32), 0.01));
            QVERIFY(Near(tick.bounds.y() - boxes[i % 5].bounds.y(), (i / 5) * 1.3 * line));
            QVERIFY(Near(designator.at.x(), tick.bounds.x() + 1.6 * box, 0.05));
            // The box centred on its designator's line, whose baseline lies 0.8 down it.
            QVERIFY(Near(designator.at.y() - tick.bounds.center().y(), 0.3 * line));
            QCOMPARE(designator.size, Pt(10));
        }
        // The boxes start below the last of the lines.
        QVERIFY(boxes[0].bounds.top() > t[2].at.y());

        const QList<PdfShape> lines = Stroked(page, Stroke::Line);
        QCOMPARE(lines.size(), 2);
        const PdfText& secondHeading = t[10];
        QVERIFY(lines[0].bounds.top() > boxes[6].bounds.bottom() &&
                lines[0].bounds.top() < secondHeading.at.y() - secondHeading.size);
        for (const PdfShape& separator : lines)
            QVERIFY(Near(separator.bounds.left(), 0) &&
                    Near(separator.bounds.width(), kA4Area.width(), 5) &&
                    Near(separator.width, Mm(0.2), 0.01) && separator.colour.name() == "#000000");
        // The next block starts 6 mm below the boxes' last row, the line midway.
        const qreal nextTop = secondHeading.at.y() - line;
        QVERIFY(Near(lines[0].bounds.top(), nextTop - Mm(3)));
        QVERIFY(nextTop - Mm(6) > boxes[6].bounds.bottom() &&
                nextTop - Mm(6) < boxes[6].bounds.bottom() + line);
    }

    // A block never splits: one that would run past the page's foot starts the next page at its
    // top, so that every page of blocks draws within its area.
    void blocksNeverSplitAcrossPages() {
        std::vector<PickListItem> items;
        for (int n = 1; n <= 20; ++n)
            items.push_back(Item(n, "1k", 14));
        const QList<PdfPage> pages = write(request(items));
        QVERIFY(pages.size() > 4);
        for (const PdfPage& page : pages.mid(1, pages.size() - 2)) {
            QCOMPARE(page.points, QSizeF(595, 842));
            QVERIFY(Words(page.texts).value(0).startsWith("Item "));
            QVERIFY(page.texts[0].at.y() < 2 * page.texts[0].size);
            for (const PdfShape& shape : page.shapes)
                QVERIFY(shape.bounds.top() >= 0 && shape.bounds.bottom() <= kA4Area.height());
            for (const PdfText& text : page.texts)
                QVERIFY(text.at.y() <= kA4Area.height());
            // 14 designators to a block: whole blocks only.
            QCOMPARE(Stroked(page, Stroke::Box).size() % 14, 0);
        }
    }

    // Pages are Letter where the locale measures in inches, the labels A4 whatever the locale.
    void pagesFollowTheLocaleButTheLabels() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        const QList<PdfPage> pages = write(request({Item(1, "1k", 2)}));
        QCOMPARE(pages.size(), 3);
        QCOMPARE(pages[0].points, QSizeF(612, 792));
        QCOMPARE(pages[1].points, QSizeF(612, 792));
        QCOMPARE(pages[2].points, QSizeF(595, 842));
    }

    // With a picture, each block's thumbnail stands at the page's right in a grey frame 1 dot
    // wide, the picture fitted into 70 x 50 mm; each spot is ringed 1.6 mm round, a white ring
    // 0.7 mm wide under a red one 0.35 mm wide, with its number in 6 points bold up and right of
    // it on white, all cut off at the frame; the designators carry the same numbers.
    void thumbnailsRingAndNumberTheSpots() {
        SheetsRequest r = request({Item(1, "1k", 3)});
        const PixelPoint spots[] = {{100, 75}, {300, 225}, {0, 300}};
        r.picture = SheetsPicture{picture_.toStdString(),
                                  {400, 300},
                                  0,
                                  false,
                                  {{{1, spots[0]}, {2, spots[1]}, {3, spots[2]}}}};
        const QList<PdfPage> pages = write(r);
        QCOMPARE(pages.size(), 3);
        const PdfPage& page = pages[1];
        QStringList words = Words(page.texts);
        QCOMPARE(words.mid(2), QStringList({"R101 (1)", "R102 (2)", "R103 (3)", "1", "2", "3"}));
        const QList<PdfShape> boxes = Stroked(page, Stroke::Box);
        const PdfShape frame = boxes.back();
        QCOMPARE(frame.colour.name(), QColor(Qt::gray).name());
        QCOMPARE(frame.width, 1.0);
        QVERIFY(Near(frame.bounds.right(), kA4Area.width(), 5) && frame.bounds.top() == 0);
        // 400 x 300 into 70 x 50 mm: as high as it goes.
        QVERIFY(Near(frame.bounds.height(), Mm(50), 2) &&
                Near(frame.bounds.width(), frame.bounds.height() * 4 / 3, 2));
        QList<PdfShape> rings;
        for (const PdfShape& shape : page.shapes)
            if (shape.curved)
                rings << shape;
        QCOMPARE(rings.size(), 6);
        const qreal scale = frame.bounds.width() / 400;
        for (int s = 0; s < 3; ++s) {
            const QPointF centre = frame.bounds.topLeft() + QPointF(spots[s].x, spots[s].y) * scale;
            const PdfShape& halo = rings[2 * s];
            const PdfShape& ring = rings[2 * s + 1];
            for (const PdfShape& circle : {halo, ring}) {
                QVERIFY(Near(circle.bounds.center().x(), centre.x(), 2) &&
                        Near(circle.bounds.center().y(), centre.y(), 2));
                QVERIFY(Near(circle.bounds.width(), 2 * Mm(1.6), 0.1));
                // Cut off at the frame, as the one at the picture's corner is.
                QVERIFY(Near(circle.clip.left(), frame.bounds.left(), 0.01) &&
                        Near(circle.clip.bottom(), frame.bounds.bottom(), 0.01) &&
                        Near(circle.clip.width(), frame.bounds.width(), 0.01));
            }
            QCOMPARE(halo.colour.name(), "#ffffff");
            QCOMPARE(ring.colour.name(), QColor(220, 0, 0).name());
            QVERIFY(Near(halo.width, Mm(0.7), 0.01) && Near(ring.width, Mm(0.35), 0.01));
            const PdfText& number = page.texts[5 + s];
            QCOMPARE(std::make_tuple(number.size, number.bold, number.colour.name()),
                     std::make_tuple(Pt(6), true, QColor(220, 0, 0).name()));
            QVERIFY(number.at.x() > centre.x() && number.at.x() < centre.x() + 2 * Mm(1.6));
            QVERIFY(number.at.y() < centre.y() - 0.8 * Mm(1.6) &&
                    number.at.y() > centre.y() - 3 * Mm(1.6));
        }
    }

    // A label for each item, 70 x 37 mm in a light grey line 1 dot wide: "Item 1" in 12 points
    // bold 3 mm in from its left and top, then its four lines in 9 points a line apart, each
    // cut short with an ellipsis to the label's width inside.
    void labelsGiveTheItemAndItsLines() {
        PickListItem long_ = Item(2,
                                  "a value far too long for any label, said twice: a value far "
                                  "too long for any label",
                                  1, "RC0402");
        const SheetsRequest r = request({Item(1, "1k", 2, "RC0603"), long_});
        const QList<PdfPage> pages = write(r);
        QCOMPARE(pages.size(), 3);
        const PdfPage& page = pages[2];
        const QList<PdfShape> labels = Stroked(page, Stroke::Box);
        QCOMPARE(labels.size(), 2);
        const QList<PdfText>& t = page.texts;
        QCOMPARE(Words(t).mid(0, 5), QStringList("Item 1") + Strings(SheetLabelLines(r.items[0])));
        QVERIFY(Words(t)[6].endsWith(QChar(0x2026)) && Words(t)[6].startsWith("a value far"));
        for (int l = 0; l < 2; ++l) {
            const QRectF box = labels[l].bounds;
            QCOMPARE(labels[l].colour.name(), QColor(Qt::lightGray).name());
            QCOMPARE(labels[l].width, 1.0);
            const QList<PdfText> texts = t.mid(5 * l, 5);
            QCOMPARE(std::make_tuple(texts[0].size, texts[0].bold), std::make_tuple(Pt(12), true));
            for (const PdfText& text : texts) {
                QVERIFY(Near(text.at.x(), box.left() + Mm(3)));
                QVERIFY(text.at.y() > box.top() + Mm(3) && text.at.y() < box.bottom());
            }
            QVERIFY(Near(texts[0].at.y() - box.top(), Mm(3) + texts[0].size * 1.16, 3));
            for (qsizetype i = 1; i < texts.size(); ++i)
                QCOMPARE(std::make_tuple(texts[i].size, texts[i].bold),
                         std::make_tuple(Pt(9), false));
        }
    }
};

QTEST_MAIN(KittingSheetsTest)
#include "KittingSheetsTest.moc"
