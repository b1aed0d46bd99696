// Turns the user manual, written in Markdown with its pictures beside it, into a PDF file:
//   kavelto_manual MANUAL.md OUTPUT.pdf
// The build runs it, so the manual is kept as text that can be reviewed and changed. Every
// picture the text names must exist; a missing one fails the build rather than leaving a hole.
// Two runs over the same text give the same bytes: the PDF's creation date is taken from
// SOURCE_DATE_EPOCH when it is set, and hashing is made deterministic so that the fonts are
// written in the same order every time.

#include "ManualContents.h"
#include "TableRows.h"

#include <QAbstractTextDocumentLayout>
#include <QColor>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QGuiApplication>
#include <QHashFunctions>
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
#include <optional>

using kavelto::ManualContents;
using kavelto::PdfNavigation;

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

// Lays the document out on its pages: the contents listed after the title, no table row split
// across two pages, then the contents' page numbers written until they hold.
void Paginate(QTextDocument& document, ManualContents& contents) {
    const auto layOutAgain = [&document] {
        document.markContentsDirty(0, document.characterCount());
    };
    layOutAgain();
    kavelto::KeepTableRowsWhole(document);
    for (int pass = 0; pass < 3 && !contents.numberPages(); ++pass)
        layOutAgain();
}

// Writes the manual and returns its number of pages, or -1 when it could not be written whole;
// navigation receives its outline and links, which the PDF writer can't write itself. The PDF
// is complete once the writer is gone, at the end of this function.
int WriteManual(const QString& source, const QString& output,
                std::optional<PdfNavigation>& navigation) {
    QFile file(source);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "kavelto_manual: can't read %s\n", qPrintable(source));
        return -1;
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
        return -1;
    StyleTables(document);
    BreakBeforeChapters(document);
    // Laid out once, whole, for the PDF's resolution: a layout that followed the changes above
    // block by block left some blocks undrawn.
    document.documentLayout()->setPaintDevice(&writer);
    document.setPageSize(QSizeF(body.width(), body.height() - kFooterHeight));
    ManualContents contents(document);
    Paginate(document, contents);
    DrawPages(document, writer, title);
    const QPageLayout page = writer.pageLayout();
    navigation =
        contents.navigation(page.paintRectPoints().topLeft(), page.fullRectPoints().height());
    return document.pageCount();
}

// SOURCE_DATE_EPOCH in seconds, nothing when it is unset; a value that is not a whole number
// of seconds is refused, since a build that silently ignored it would not be reproducible.
bool ReadSourceDateEpoch(std::optional<QDateTime>& date) {
    const QByteArray text = qgetenv("SOURCE_DATE_EPOCH");
    if (text.isEmpty())
        return true;
    bool ok = false;
    const qlonglong seconds = text.toLongLong(&ok);
    if (!ok || seconds < 0) {
        std::fprintf(stderr, "kavelto_manual: SOURCE_DATE_EPOCH is not a time: %s\n",
                     text.constData());
        return false;
    }
    date = QDateTime::fromSecsSinceEpoch(seconds, Qt::UTC);
    return true;
}

// The PDF writer stamps the time it ran and offers no way to set it, so the date it wrote is
// overwritten in place. The writer ran in UTC, so its date ends in "Z" and has the same length
// as the new one, which keeps every offset of the file's cross-reference table valid.
bool StampCreationDate(const QString& path, const QDateTime& date) {
    QFile pdf(path);
    if (!pdf.open(QIODevice::ReadWrite))
        return false;
    QByteArray bytes = pdf.readAll();
    const QByteArray key = "/CreationDate (D:";
    const QByteArray stamp = date.toString(QStringLiteral("yyyyMMddHHmmss")).toLatin1();
    const qsizetype at = bytes.indexOf(key);
    const qsizetype digits = at + key.size();
    if (at < 0 || bytes.mid(digits + stamp.size(), 2) != "Z)")
        return false;
    bytes.replace(digits, stamp.size(), stamp);
    return pdf.seek(0) && pdf.write(bytes) == bytes.size();
}

// Adds the outline and the links to the PDF as written.
bool AddNavigation(const QString& path, const PdfNavigation& navigation) {
    QFile pdf(path);
    if (!pdf.open(QIODevice::ReadWrite))
        return false;
    std::string bytes = pdf.readAll().toStdString();
    return navigation.appendTo(bytes) && pdf.seek(0) &&
           pdf.write(bytes.data(), static_cast<qint64>(bytes.size())) ==
               static_cast<qint64>(bytes.size());
}

} // namespace

int main(int argc, char* argv[]) {
    // Before any hash exists: the PDF writer keeps its fonts in one and writes them in its order.
    QHashSeed::setDeterministicGlobalSeed();
    // The date the PDF writer stamps is local time; in UTC it reads the same on every machine.
    qputenv("TZ", "UTC");
    QGuiApplication application(argc, argv);
    if (argc != 3) {
        std::fputs("usage: kavelto_manual MANUAL.md OUTPUT.pdf\n", stderr);
        return 2;
    }
    std::optional<QDateTime> sourceDate;
    if (!ReadSourceDateEpoch(sourceDate))
        return 2;
    const QString output = QString::fromLocal8Bit(argv[2]);
    std::optional<PdfNavigation> navigation;
    const int pages = WriteManual(QString::fromLocal8Bit(argv[1]), output, navigation);
    if (pages < 0)
        return 1;
    if (!AddNavigation(output, *navigation)) {
        std::fprintf(stderr, "kavelto_manual: can't add the outline to %s\n", argv[2]);
        return 1;
    }
    if (sourceDate && !StampCreationDate(output, *sourceDate)) {
        std::fprintf(stderr, "kavelto_manual: can't date %s\n", argv[2]);
        return 1;
    }
    std::printf("%s: %d pages\n", argv[2], pages);
    return 0;
}
