#pragma once

#include <string>
#include <vector>

namespace kavelto {

// A place in the document: a page, counted from 0, and a height on it in points from the page's
// top edge.
struct PdfPlace {
    int page = 0;
    double top = 0.0;
};

// An entry of the document's outline, the bookmarks a reader shows beside the pages. An entry
// belongs under the last entry before it of a lower level.
struct PdfOutlineEntry {
    std::u16string title;
    int level = 1;
    PdfPlace target;
};

// An area of a page, in points from its top left corner, that takes the reader to the target.
struct PdfLinkArea {
    int page = 0;
    double left = 0.0, top = 0.0, right = 0.0, bottom = 0.0;
    PdfPlace target;
};

// The outline and the links inside a PDF file that a writer wrote without them, added as an
// update at the file's end: the catalog names the outline, each page's list of annotations
// takes its links, and a cross-reference section of its own gives where the new and changed
// objects are, so that the bytes written before stay as they were. The same entries and links
// give the same bytes.
class PdfNavigation {
public:
    // pageHeight: the height of the pages, in points, to turn heights from the top into the
    // file's heights from the bottom.
    explicit PdfNavigation(double pageHeight) : pageHeight_(pageHeight) {}

    void addEntry(PdfOutlineEntry entry) { entries_.push_back(std::move(entry)); }
    void addLink(const PdfLinkArea& link) { links_.push_back(link); }

    // Appends the update to the file's bytes; false, with the bytes unchanged, when the file's
    // structure is not one this reads (a cross-reference stream, a page without a dictionary).
    bool appendTo(std::string& pdf) const;

private:
    double pageHeight_;
    std::vector<PdfOutlineEntry> entries_;
    std::vector<PdfLinkArea> links_;
};

} // namespace kavelto
