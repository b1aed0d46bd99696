#include "ManualContents.h"

#include <QAbstractTextDocumentLayout>
#include <QFont>
#include <QPaintDevice>
#include <QTextBlock>
#include <QTextDocument>

#include <cmath>

namespace kavelto {

namespace {

constexpr qreal kSectionIndent = 16.0; // points, the indent of a section under its chapter
constexpr qreal kTabDpi = 96.0;

QTextBlock FirstHeading(const QTextDocument& document) {
    QTextBlock block = document.begin();
    while (block.isValid() && block.blockFormat().headingLevel() == 0)
        block = block.next();
    return block;
}

QTextCharFormat LineFormat(int level) {
    QTextCharFormat format;
    format.setFontWeight(level == 1 ? QFont::Bold : QFont::Normal);
    return format;
}

} // namespace

ManualContents::ManualContents(QTextDocument& document) : document_(document) {
    const QTextBlock title = FirstHeading(document);
    if (!title.isValid())
        return;
    QTextCursor cursor(title);
    cursor.movePosition(QTextCursor::EndOfBlock);
    QTextBlockFormat heading;
    heading.setTopMargin(12.0);
    heading.setBottomMargin(6.0);
    QTextCharFormat headingText;
    headingText.setFontWeight(QFont::Bold);
    headingText.setFontPointSize(document.defaultFont().pointSizeF() * 1.4);
    cursor.insertBlock(heading, headingText);
    cursor.insertText(QStringLiteral("Contents"));

    for (QTextBlock block = cursor.block().next(); block.isValid(); block = block.next()) {
        const int level = block.blockFormat().headingLevel();
        if (level == 1 || level == 2)
            entries_.push_back({QTextCursor(block), QTextCursor(), level});
    }
    const QTextBlock afterList = cursor.block().next();
    const qreal width = document.textWidth() - 2 * document.documentMargin();
    // The layout scales tab positions, unlike margins, from 96 dots per inch to its device's.
    const QPaintDevice* device = document.documentLayout()->paintDevice();
    const qreal tabScale = device ? kTabDpi / device->logicalDpiX() : 1.0;
    QTextBlockFormat line;
    line.setTopMargin(2.0);
    for (Entry& entry : entries_) {
        const qreal indent = entry.level == 1 ? 0.0 : kSectionIndent;
        line.setLeftMargin(indent);
        // The page number stands at the right edge of the text.
        line.setTabPositions(
            {QTextOption::Tab((width - indent) * tabScale, QTextOption::RightTab)});
        cursor.insertBlock(line, LineFormat(entry.level));
        cursor.insertText(entry.heading.block().text() + QStringLiteral("\t0"));
        // Taken once the line holds text: a cursor at an empty block's start would move on
        // with the text inserted there.
        entry.line = QTextCursor(cursor.block());
    }
    // What followed the title starts the next page.
    QTextBlockFormat next = afterList.blockFormat();
    next.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    QTextCursor(afterList).setBlockFormat(next);
}

PdfPlace ManualContents::placeOf(const QTextCursor& at, QPointF origin) const {
    const qreal top = document_.documentLayout()->blockBoundingRect(at.block()).top();
    const int page = static_cast<int>(std::floor(top / document_.pageSize().height()));
    return {page, origin.y() + top - page * document_.pageSize().height()};
}

bool ManualContents::numberPages() {
    bool unchanged = true;
    for (const Entry& entry : entries_) {
        const QString page = QString::number(placeOf(entry.heading, {}).page + 1);
        const QTextBlock block = entry.line.block();
        QTextCursor number(block);
        number.setPosition(block.position() + block.text().lastIndexOf('\t') + 1);
        number.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        if (number.selectedText() == page)
            continue;
        number.insertText(page);
        unchanged = false;
    }
    return unchanged;
}

PdfNavigation ManualContents::navigation(QPointF origin, double pageHeight) const {
    PdfNavigation navigation(pageHeight);
    const QAbstractTextDocumentLayout* layout = document_.documentLayout();
    for (const Entry& entry : entries_) {
        const PdfPlace heading = placeOf(entry.heading, origin);
        navigation.addEntry({entry.heading.block().text().toStdU16String(), entry.level, heading});
        const PdfPlace line = placeOf(entry.line, origin);
        const QRectF area = layout->blockBoundingRect(entry.line.block());
        navigation.addLink({line.page, origin.x() + area.left(), line.top,
                            origin.x() + area.right(), line.top + area.height(), heading});
    }
    return navigation;
}

} // namespace kavelto
