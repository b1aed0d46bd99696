#pragma once

#include "app/Outcome.h"

#include <QPainter>
#include <QPdfWriter>

namespace kavelto {

// The sheets for gathering and placing one face's parts, as one PDF: a cover with the board,
// the date, the face, the PCB count and the totals; one block for each item in list order, with
// its numbers and a tick box for each designator, never split across pages; and a sheet of
// kitting labels on A4, one for each item. Pages are A4, or Letter where the locale measures in
// inches.
class KittingSheets {
public:
    // Writes the sheets to the request's path; false when the file can't be written.
    static bool Write(const SheetsRequest& request);

private:
    KittingSheets(QPdfWriter& writer, const SheetsRequest& request);

    bool paint();
    void cover();
    void block(const PickListItem& item);
    void labels();
    void label(const PickListItem& item, const QRectF& box);
    // Starts a new page when height no longer fits below y.
    void makeRoom(qreal height);
    qreal millimetres(qreal mm) const;
    qreal lineHeight() const;

    QPdfWriter& writer_;
    const SheetsRequest& request_;
    QPainter painter_;
    QRectF page_; // the area within the margins, in the painter's units
    qreal y_ = 0;
};

} // namespace kavelto
