#pragma once

#include "PdfNavigation.h"

#include <QPointF>
#include <QTextCursor>

#include <vector>

class QTextDocument;

namespace kavelto {

// The manual's table of contents: its chapters and sections (the headings of levels 1 and 2
// after the title, the document's first heading) listed after the title on a page of their own,
// each line with the page its heading is on; and the same headings as the PDF's outline, each
// line of the list a link to its heading.
class ManualContents {
public:
    // Puts the list into the document, laid out for its pages already: its text width sets
    // where the page numbers stand. The numbers wait for numberPages().
    explicit ManualContents(QTextDocument& document);

    // Writes each heading's page, as the document is laid out now, into its line; true when
    // every line already had it, so the layout stands. A page number that changes may move the
    // headings after it, hence the question.
    bool numberPages();

    // The outline and the links, on pages whose text starts at origin (the top left margin's
    // corner, in points) and that are pageHeight points high whole.
    PdfNavigation navigation(QPointF origin, double pageHeight) const;

    // The document's headings listed, in order.
    int entryCount() const { return static_cast<int>(entries_.size()); }

private:
    struct Entry {
        QTextCursor heading; // at the start of the heading
        QTextCursor line;    // at the start of its line in the list
        int level = 1;
    };

    // Where the block starts in the document's pages.
    PdfPlace placeOf(const QTextCursor& at, QPointF origin) const;

    QTextDocument& document_;
    std::vector<Entry> entries_;
};

} // namespace kavelto
