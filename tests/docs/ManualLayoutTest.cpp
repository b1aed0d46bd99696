#include "ManualContents.h"
#include "TableRows.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <QtTest>

#include <cmath>

using namespace kavelto;

namespace {

// Pages far smaller than the manual's, so that a short text fills several.
constexpr QSizeF kPage(300, 200);

// A document laid out on those pages for a PDF of 72 dots per inch, as the manual is.
void LayOut(QTextDocument& document, const QString& markdown) {
    static QBuffer pdf;
    static QPdfWriter writer(&pdf);
    writer.setResolution(72);
    document.setMarkdown(markdown, QTextDocument::MarkdownDialectGitHub);
    document.documentLayout()->setPaintDevice(&writer);
    document.setPageSize(kPage);
}

// A table of rows one, two or three lines high: the long texts wrap in its narrow column.
QString TableOf(int rows) {
    QString markdown = QStringLiteral("Text above\n\n| name | what |\n|---|---|\n");
    for (int row = 0; row < rows; ++row) {
        const QString what = QStringLiteral("word ").repeated(1 + (row % 3) * 12);
        markdown += QStringLiteral("| row %1 | %2 |\n").arg(row).arg(what);
    }
    return markdown;
}

QTextTable* FirstTable(const QTextDocument& document) {
    const QList<QTextFrame*> frames = document.rootFrame()->childFrames();
    return frames.isEmpty() ? nullptr : qobject_cast<QTextTable*>(frames.front());
}

int SplitRows(const QTextDocument& document) {
    int split = 0;
    for (const TableRowPages& row : RowPages(document, *FirstTable(document)))
        split += row.firstPage != row.lastPage;
    return split;
}

} // namespace

class ManualLayoutTest : public QObject {
    Q_OBJECT

private slots:
    // A table over several pages: laid out as it comes, rows are split at page ends; kept
    // whole, none is, and the rows still follow each other page by page.
    void noTableRowSplitsAcrossPages() {
        QTextDocument document;
        LayOut(document, TableOf(40));
        QVERIFY2(SplitRows(document) > 0, "the table splits no row to begin with");
        KeepTableRowsWhole(document);
        QCOMPARE(SplitRows(document), 0);
        const std::vector<TableRowPages> rows = RowPages(document, *FirstTable(document));
        QCOMPARE(int(rows.size()), 41); // the header row too
        QVERIFY(rows.back().lastPage >= 3);
        for (size_t row = 1; row < rows.size(); ++row)
            QVERIFY(rows[row].firstPage >= rows[row - 1].lastPage);
    }

    // A row no page holds is left split, and the rows after it are still kept whole.
    void aRowTallerThanAPageStaysAsItIs() {
        QTextDocument document;
        QString markdown = TableOf(12);
        markdown += QStringLiteral("| tall | %1 |\n").arg(QStringLiteral("word ").repeated(400));
        for (int row = 0; row < 12; ++row)
            markdown += QStringLiteral("| after %1 | %2 |\n")
                            .arg(row)
                            .arg(QStringLiteral("word ").repeated(20));
        LayOut(document, markdown);
        KeepTableRowsWhole(document);
        const std::vector<TableRowPages> rows = RowPages(document, *FirstTable(document));
        for (const TableRowPages& row : rows) {
            const bool tall = row.row == 13;
            QCOMPARE(row.firstPage != row.lastPage, tall);
        }
    }

    // The contents after the title, on a page of their own: each chapter and section with the
    // page it starts on, counted from 1. The chapters here start pages of their own, as the
    // manual's do.
    void contentsGiveEachHeadingItsPage() {
        QTextDocument document;
        LayOut(document, QStringLiteral("# Title\n\nIntro\n\n## Start\n\nText\n\n# One\n\n"
                                        "Text\n\n## One a\n\nText\n\n# Two\n\nText\n"));
        for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
            if (block.blockFormat().headingLevel() != 1 || block == document.begin())
                continue;
            QTextBlockFormat format = block.blockFormat();
            format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
            QTextCursor(block).setBlockFormat(format);
        }
        ManualContents contents(document);
        QCOMPARE(contents.entryCount(), 4);
        QVERIFY(!contents.numberPages()); // the numbers written at first were placeholders
        QVERIFY(contents.numberPages());
        QStringList lines;
        for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
            lines << block.text();
        const QStringList expected = {"Title",    "Contents", "Start\t2", "One\t3",
                                      "One a\t3", "Two\t4",   "Intro",    "Start"};
        QCOMPARE(lines.mid(0, expected.size()), expected);
        // Chapters in bold at the margin, sections indented under them; every page number
        // ends at the text's right edge.
        QTextBlock line = document.begin().next().next();
        const qreal right = kPage.width() - 2 * document.documentMargin();
        for (const bool chapter : {false, true, false, true}) {
            QCOMPARE(line.charFormat().fontWeight() == QFont::Bold, chapter);
            QCOMPARE(line.blockFormat().leftMargin() > 0, !chapter);
            const qreal end =
                line.blockFormat().leftMargin() + line.layout()->lineAt(0).naturalTextWidth();
            QVERIFY2(std::abs(end - right) < 1.0,
                     qPrintable(QStringLiteral("%1 ends at %2").arg(line.text()).arg(end)));
            line = line.next();
        }
    }
};

QTEST_MAIN(ManualLayoutTest)
#include "ManualLayoutTest.moc"
