// Turns the user manual, written in Markdown with its pictures beside it, into a PDF file:
//   kavelto_manual MANUAL.md OUTPUT.pdf
// The build runs it, so the manual is kept as text that can be reviewed and changed. Every
// picture the text names must exist; a missing one fails the build rather than leaving a hole.

#include <QAbstractTextDocumentLayout>
#include <QColor>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextTable>
#include <QUrl>

#include <cstdio>

namespace {

// The page, in points: A4 with margins of two centimetres, a line at the bottom for the footer.
constexpr int kResolution = 72;
constexpr double kMarginMillimetres = 20.0;
constexpr double kFooterHeight = 24.0;

QFont BodyFont() {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(10.0);
    return font;
}

// Pictures are drawn at their own size in points, or narrowed to the text's width.
bool FitPictures(QTextDocument& document, qreal width) {
    bool complete = true;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.charFormat().isImageFormat())
                continue;
            QTextImageFormat format = fragment.charFormat().toImageFormat();
            const QImage picture =
                document.resource(QTextDocument::ImageResource, QUrl(format.name()))
                    .value<QImage>();
            if (picture.isNull()) {
                std::fprintf(stderr, "kavelto_manual: no picture %s\n", qPrintable(format.name()));
                complete = false;
                continue;
            }
            const qreal scale = qMin<qreal>(1.0, width / picture.width());
            format.setWidth(picture.width() * scale);
            format.setHeight(picture.height() * scale);
            QTextCursor cursor(&document);
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            cursor.setCharFormat(format);
        }
    }
    return complete;
}

// Tables without rules, with room around the text and their header row shaded.
void StyleTables(QTextDocument& document) {
    for (QTextFrame* frame : document.rootFrame()->childFrames()) {
        auto* table = qobject_cast<QTextTable*>(frame);
        if (!table)
            continue;
        QTextTableFormat format = table->format();
        format.setBorder(0);
        format.setCellSpacing(0);
        format.setCellPadding(3);
        table->setFormat(format);
        for (int column = 0; column < table->columns(); ++column) {
            QTextTableCell cell = table->cellAt(0, column);
            QTextTableCellFormat shaded = cell.format().toTableCellFormat();
            shaded.setBackground(QColor(232, 232, 232));
            cell.setFormat(shaded);
        }
    }
}

// Each chapter, a first-level heading, starts a page.
void BreakBeforeChapters(QTextDocument& document) {
    bool first = true;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() != 1)
            continue;
        if (!first) {
            QTextBlockFormat format = block.blockFormat();
            format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
            QTextCursor(block).setBlockFormat(format);
        }
        first = false;
    }
}

void DrawPages(QTextDocument& document, QPdfWriter& writer, const QString& title) {
    const QSizeF page = document.pageSize();
    const int pages = document.pageCount();
    QPainter painter(&writer);
    QFont footerFont = BodyFont();
    footerFont.setPointSizeF(8.0);
    for (int index = 0; index < pages; ++index) {
        if (index > 0)
            writer.newPage();
        const QRectF shown(0, index * page.height(), page.width(), page.height());
        painter.save();
        painter.translate(0, -shown.top());
        document.drawContents(&painter, shown);
        painter.restore();
        painter.setFont(footerFont);
        painter.drawText(QRectF(0, page.height(), page.width(), kFooterHeight),
                         Qt::AlignRight | Qt::AlignBottom,
                         QStringLiteral("%1 - page %2 of %3").arg(title).arg(index + 1).arg(pages));
    }
}

} // namespace

int main(int argc, char* argv[]) {
    QGuiApplication application(argc, argv);
    if (argc != 3) {
        std::fputs("usage: kavelto_manual MANUAL.md OUTPUT.pdf\n", stderr);
        return 2;
    }
    const QString source = QString::fromLocal8Bit(argv[1]);
    const QString output = QString::fromLocal8Bit(argv[2]);
    QFile file(source);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "kavelto_manual: can't read %s\n", argv[1]);
        return 1;
    }

    QPdfWriter writer(output);
    writer.setResolution(kResolution);
    writer.setPageLayout(QPageLayout(
        QPageSize(QPageSize::A4), QPageLayout::Portrait,
        QMarginsF(kMarginMillimetres, kMarginMillimetres, kMarginMillimetres, kMarginMillimetres),
        QPageLayout::Millimeter));
    const QString title = QStringLiteral("Kavelto user manual");
    writer.setTitle(title);
    writer.setCreator(QStringLiteral("Kavelto"));

    QTextDocument document;
    document.setDefaultFont(BodyFont());
    document.setBaseUrl(QUrl::fromLocalFile(QFileInfo(source).absolutePath() + '/'));
    document.setMarkdown(QString::fromUtf8(file.readAll()), QTextDocument::MarkdownDialectGitHub);
    const QRect body = writer.pageLayout().paintRectPixels(kResolution);
    if (!FitPictures(document, body.width()))
        return 1;
    StyleTables(document);
    BreakBeforeChapters(document);
    // Laid out once, whole, for the PDF's resolution: a layout that followed the changes above
    // block by block left some blocks undrawn.
    document.documentLayout()->setPaintDevice(&writer);
    document.setPageSize(QSizeF(body.width(), body.height() - kFooterHeight));
    DrawPages(document, writer, title);
    std::printf("%s: %d pages\n", argv[2], document.pageCount());
    return 0;
}
