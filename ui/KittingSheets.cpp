#include "KittingSheets.h"

#include "DisplayText.h"
#include "SheetTexts.h"

#include <QFileInfo>
#include <QLocale>

namespace kavelto {

namespace {

constexpr int kResolution = 300;
constexpr qreal kMarginMm = 15.0;
// A tick box and its designator take this width; a row holds as many as fit.
constexpr qreal kTickColumnMm = 32.0;
constexpr qreal kTickBoxMm = 3.5;
constexpr qreal kBlockGapMm = 6.0;
// The thumbnail's box at the block's right, and the resolution it is made at: enough to tell
// the parts apart on paper, made once whatever the number of blocks.
constexpr qreal kThumbnailWidthMm = 70.0;
constexpr qreal kThumbnailHeightMm = 50.0;
constexpr qreal kThumbnailGapMm = 5.0;
constexpr int kThumbnailResolution = 200;
constexpr qreal kRingRadiusMm = 1.6;
// The usual sheet of 24 labels, 70 x 37 mm, 3 across and 8 down on A4.
constexpr int kLabelColumns = 3;
constexpr int kLabelRows = 8;
constexpr qreal kLabelWidthMm = 70.0;
constexpr qreal kLabelHeightMm = 37.0;

QPageSize LocalePageSize() {
    return QLocale().measurementSystem() == QLocale::ImperialUSSystem ? QPageSize(QPageSize::Letter)
                                                                      : QPageSize(QPageSize::A4);
}

QFont SheetFont(qreal points, bool bold = false) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

QStringList Texts(const std::vector<std::string>& lines) {
    QStringList texts;
    for (const std::string& line : lines)
        texts << QString::fromStdString(line);
    return texts;
}

} // namespace

bool KittingSheets::Write(const SheetsRequest& request) {
    QPdfWriter writer(QFile::decodeName(request.path.c_str()));
    writer.setResolution(kResolution);
    writer.setPageLayout(QPageLayout(LocalePageSize(), QPageLayout::Portrait,
                                     QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm),
                                     QPageLayout::Millimeter));
    writer.setTitle(QStringLiteral("Kitting sheets"));
    writer.setCreator(QStringLiteral("Kavelto"));
    KittingSheets sheets(writer, request);
    return sheets.paint();
}

KittingSheets::KittingSheets(QPdfWriter& writer, const SheetsRequest& request)
    : writer_(writer), request_(request) {}

bool KittingSheets::paint() {
    if (!painter_.begin(&writer_))
        return false;
    page_ = writer_.pageLayout().paintRectPixels(kResolution).size();
    if (request_.picture)
        thumbnail_ = SheetThumbnail::Make(
            *request_.picture,
            QSize(static_cast<int>(kThumbnailWidthMm * kThumbnailResolution / 25.4),
                  static_cast<int>(kThumbnailHeightMm * kThumbnailResolution / 25.4)));
    cover();
    for (std::size_t i = 0; i < request_.items.size(); ++i)
        block(i);
    labels();
    return painter_.end();
}

qreal KittingSheets::millimetres(qreal mm) const {
    return mm * kResolution / 25.4;
}

qreal KittingSheets::lineHeight() const {
    return QFontMetricsF(painter_.font(), &writer_).height();
}

void KittingSheets::makeRoom(qreal height) {
    if (y_ > 0 && y_ + height > page_.height()) {
        writer_.newPage();
        y_ = 0;
    }
}

void KittingSheets::cover() {
    const SheetsRequest& r = request_;
    const QString placement = QFile::decodeName(r.placementPath.c_str());
    painter_.setFont(SheetFont(20, true));
    painter_.drawText(QPointF(0, lineHeight()), QFileInfo(placement).completeBaseName());
    y_ = lineHeight() * 2;
    painter_.setFont(SheetFont(11));
    const QStringList lines =
        Texts(SheetCoverLines(placement.toStdString(), r.date, r.face, r.pcbCount, r.items));
    for (const QString& line : lines) {
        y_ += lineHeight();
        painter_.drawText(QPointF(0, y_), line);
    }
    writer_.newPage();
    y_ = 0;
}

// The heading, the count and the designators in rows of tick boxes; the thumbnail beside them.
void KittingSheets::block(std::size_t index) {
    const PickListItem& item = request_.items[index];
    painter_.setFont(SheetFont(10));
    const qreal line = lineHeight();
    const QSizeF picture =
        thumbnail_ ? QSizeF(thumbnail_->image().size()) * kResolution / kThumbnailResolution
                   : QSizeF(0, 0);
    const qreal width =
        page_.width() - (thumbnail_ ? picture.width() + millimetres(kThumbnailGapMm) : 0);
    const int perRow = std::max(1, static_cast<int>(width / millimetres(kTickColumnMm)));
    const int rows = (static_cast<int>(item.designators.size()) + perRow - 1) / perRow;
    const QStringList lines = Texts(SheetBlockLines(item, request_.pcbCount));
    const qreal ticksTop = line * (lines.size() * 1.2 + 0.2);
    const qreal height = std::max(ticksTop + line * rows * 1.3, picture.height());
    makeRoom(height + millimetres(kBlockGapMm));
    headings(lines, width, line);
    ticks(item, perRow, ticksTop, line);
    if (thumbnail_)
        thumbnail(index, QRectF(QPointF(page_.width() - picture.width(), y_), picture));
    y_ += height + millimetres(kBlockGapMm);
    painter_.drawLine(QPointF(0, y_ - millimetres(kBlockGapMm) / 2),
                      QPointF(page_.width(), y_ - millimetres(kBlockGapMm) / 2));
}

// The first line bold; each cut short to the width.
void KittingSheets::headings(const QStringList& lines, qreal width, qreal line) {
    for (int i = 0; i < lines.size(); ++i) {
        painter_.setFont(SheetFont(i == 0 ? 11 : 10, i == 0));
        painter_.drawText(
            QPointF(0, y_ + line * (1 + i * 1.2)),
            painter_.fontMetrics().elidedText(lines[i], Qt::ElideRight, static_cast<int>(width)));
    }
}

// Beside a thumbnail each designator carries its ring's number.
void KittingSheets::ticks(const PickListItem& item, int perRow, qreal top, qreal line) {
    painter_.setFont(SheetFont(10));
    painter_.setPen(QPen(Qt::black, millimetres(0.2)));
    const qreal box = millimetres(kTickBoxMm);
    for (std::size_t i = 0; i < item.designators.size(); ++i) {
        const int row = static_cast<int>(i) / perRow;
        const qreal x = (static_cast<int>(i) % perRow) * millimetres(kTickColumnMm);
        const qreal rowTop = y_ + top + line * row * 1.3;
        QString text = DisplayText(item.designators[i]);
        if (thumbnail_)
            text += QStringLiteral(" (%1)").arg(i + 1);
        painter_.drawRect(QRectF(x, rowTop + (line - box) / 2, box, box));
        painter_.drawText(QPointF(x + box * 1.6, rowTop + line * 0.8), text);
    }
}

// Red rings on a white halo and numbers on white, to read on any picture.
void KittingSheets::thumbnail(std::size_t index, const QRectF& place) {
    painter_.save();
    painter_.drawImage(place, thumbnail_->image());
    painter_.setPen(QPen(Qt::gray, 1));
    painter_.drawRect(place);
    painter_.setClipRect(place);
    painter_.setFont(SheetFont(6, true));
    const qreal scale = qreal(kResolution) / kThumbnailResolution;
    const qreal radius = millimetres(kRingRadiusMm);
    const QColor ring(220, 0, 0);
    const std::vector<std::vector<SheetSpot>>& spots = request_.picture->spots;
    for (const SheetSpot& spot : index < spots.size() ? spots[index] : std::vector<SheetSpot>()) {
        const QPointF centre = place.topLeft() + thumbnail_->at(spot.pixel) * scale;
        painter_.setPen(QPen(Qt::white, millimetres(0.7)));
        painter_.drawEllipse(centre, radius, radius);
        painter_.setPen(QPen(ring, millimetres(0.35)));
        painter_.drawEllipse(centre, radius, radius);
        const QString number = QString::number(spot.number);
        QRectF label(painter_.fontMetrics().boundingRect(number));
        label.moveBottomLeft(centre + QPointF(radius * 0.8, -radius * 0.8));
        painter_.fillRect(label.adjusted(-2, 0, 2, 0), Qt::white);
        painter_.drawText(label, Qt::AlignCenter, number);
    }
    painter_.restore();
}

// Labels go on A4 sheets whatever the locale: the label sheets are sold so.
void KittingSheets::labels() {
    writer_.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                      QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
    writer_.newPage();
    const QRectF sheet = writer_.pageLayout().paintRectPixels(kResolution);
    const qreal width = millimetres(kLabelWidthMm), height = millimetres(kLabelHeightMm);
    const qreal left = (sheet.width() - kLabelColumns * width) / 2;
    const qreal top = (sheet.height() - kLabelRows * height) / 2;
    const int perSheet = kLabelColumns * kLabelRows;
    for (std::size_t i = 0; i < request_.items.size(); ++i) {
        const int at = static_cast<int>(i) % perSheet;
        if (i > 0 && at == 0)
            writer_.newPage();
        const int row = at / kLabelColumns;
        const int column = at % kLabelColumns;
        label(request_.items[i], QRectF(left + column * width, top + row * height, width, height));
    }
}

void KittingSheets::label(const PickListItem& item, const QRectF& box) {
    painter_.setPen(QPen(Qt::lightGray, 1));
    painter_.drawRect(box);
    painter_.setPen(Qt::black);
    const QRectF inside = box.adjusted(millimetres(3), millimetres(3), -millimetres(3), 0);
    painter_.setFont(SheetFont(12, true));
    const qreal line = lineHeight();
    painter_.drawText(QPointF(inside.left(), inside.top() + line),
                      QStringLiteral("Item %1").arg(item.itemNumber));
    painter_.setFont(SheetFont(9));
    const qreal small = lineHeight();
    const QStringList lines = Texts(SheetLabelLines(item));
    qreal y = inside.top() + line;
    for (const QString& text : lines) {
        y += small;
        painter_.drawText(QRectF(inside.left(), y - small, inside.width(), small),
                          Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                          painter_.fontMetrics().elidedText(text, Qt::ElideRight,
                                                            static_cast<int>(inside.width())));
    }
}

} // namespace kavelto
