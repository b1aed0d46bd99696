#pragma once

#include "SheetThumbnail.h"
#include "app/Outcome.h"

#include <QPainter>
#include <QPdfWriter>

namespace kavelto {

// The sheets for gathering and placing one face's parts, as one PDF: a cover with the board,
// the date, the face, the PCB count and the totals; one block for each item in list order, with
// its numbers, a tick box for each designator and, while a calibration is in force, a thumbnail
// of the face's picture with the item's spots ringed and numbered as its tick boxes, never split
// across pages; and a sheet of kitting labels on A4, one for each item. Pages are A4, or Letter
// where the locale measures in inches.
class KittingSheets {
public:
    // Writes the sheets to the request's path; false when the file can't be written.
    static bool Write(const SheetsRequest& request);

private:
    KittingSheets(QPdfWriter& writer, const SheetsRequest& request);

    bool paint();
    void cover();
    void block(std::size_t index);
    void headings(const QStringList& lines, qreal width, qreal line);
    // The tick boxes in rows from top below the block's top, perRow to a row.
    void ticks(const PickListItem& item, int perRow, qreal top, qreal line);
    // The thumbnail at its place with the spots of the item at index ringed.
    void thumbnail(std::size_t index, const QRectF& place);
    void labels();
    void label(const PickListItem& item, const QRectF& box);
    // Starts a new page when height no longer fits below y.
    void makeRoom(qreal height);
    qreal millimetres(qreal mm) const;
    qreal lineHeight() const;

    QPdfWriter& writer_;
    const SheetsRequest& request_;
    QPainter painter_;
    QSizeF page_; // the size of the area within the margins, in the painter's units
    qreal y_ = 0;
    std::optional<SheetThumbnail> thumbnail_; // made once, for every block
};

} // namespace kavelto
