#pragma once

// Driving the main window over a board whose parts' true picture pixels are known: the demo
// board's truth file, or a synthetic board whose pixels follow from its positions.

#include "CPlacementDlg.h"
#include "PartListView.h"
#include "geometry/ViewGeometry.h"

#include <QAction>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>

#include <algorithm>
#include <cmath>

struct TruthPart {
    double boardX, boardY;
    QPointF pixel; // the part's centre on the picture of its face
};

// From the picture's top left to its bottom right, so that a pair calibrated on the first and the
// last part has the rest between them, and locating interpolates. An unreadable file gives no
// parts, which the callers' counts catch.
inline std::vector<TruthPart> ReadTruth(const QString& path, bool bottom) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    std::vector<TruthPart> face;
    for (const QJsonValue& p : QJsonDocument::fromJson(file.readAll())["parts"].toArray())
        if ((p["side"].toString() == QLatin1String("bottom")) == bottom)
            face.push_back({p["pos_x"].toDouble(), p["pos_y"].toDouble(),
                            QPointF(p["pixel"][0].toDouble(), p["pixel"][1].toDouble())});
    std::sort(face.begin(), face.end(), [](auto& a, auto& b) {
        return a.pixel.manhattanLength() < b.pixel.manhattanLength();
    });
    return face;
}

// Rows and truth meet by board position: not every designator of the demo board fits the
// prefix-and-number form the list shows, and the record keeps the position as a float.
inline int RowOf(const kavelto::CPlacementDlg& dlg, const TruthPart& part) {
    const kavelto::AssemblySession& s = dlg.session();
    for (int row = 0; row < s.faceList().faceCount; ++row)
        if (std::hypot(part.boardX - s.partAtRow(row).x, part.boardY - s.partAtRow(row).y) < 1e-3)
            return row;
    return -1;
}

// A press reaches only the picture pixels that some pixel of the board view converts to; this
// is the window point whose pixel comes nearest, as a careful user presses.
inline QPoint WindowPointNearest(const kavelto::CPlacementDlg& dlg, const QPointF& pixel) {
    const QRect board = dlg.findChild<QWidget*>(QStringLiteral("pictureFrame"))->geometry();
    const std::optional<kavelto::ViewTransform> fit = kavelto::BoardTransform(dlg.session().view());
    if (!fit)
        return board.topLeft();
    const auto miss = [&](const QPoint& at) {
        const auto p = kavelto::WindowToPicture(*fit, at.x(), at.y());
        return std::hypot(std::trunc(p.x) - pixel.x(), std::trunc(p.y) - pixel.y());
    };
    const auto guess = kavelto::PictureToWindow(*fit, int(pixel.x()), int(pixel.y()));
    QPoint best(guess.x, guess.y);
    for (int i = 0; i < 81; ++i)
        if (const QPoint at(guess.x + i % 9 - 4, guess.y + i / 9 - 4); miss(at) < miss(best))
            best = at;
    return board.topLeft() + best;
}

// The right-click menu's entry of a command.
inline QAction* MenuEntry(const kavelto::CPlacementDlg& dlg, kavelto::CommandId id) {
    return dlg.findChild<QAction*>(QStringLiteral("command%1").arg(static_cast<int>(id)));
}

inline void ClickRow(kavelto::CPlacementDlg& dlg, int row) {
    auto* list = dlg.findChild<kavelto::PartListView*>(QStringLiteral("partList"));
    const QModelIndex index = list->model()->index(row, 0);
    list->scrollTo(index);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(index).center());
}

// Through the window system, as a real pointer arrives: the frames must let it through.
inline void PressOnPicture(kavelto::CPlacementDlg& dlg, const QPoint& at) {
    QTest::mouseClick(dlg.windowHandle(), Qt::LeftButton, {}, at);
}

// The user's way: for the first part of the pair, then the second, its row, a press on it, Cal 1
// or Cal 2.
inline void CalibrateOn(kavelto::CPlacementDlg& dlg, const std::vector<TruthPart>& pair) {
    for (std::size_t i = 0; i < pair.size(); ++i) {
        ClickRow(dlg, RowOf(dlg, pair[i]));
        PressOnPicture(dlg, WindowPointNearest(dlg, pair[i].pixel));
        QTest::mouseClick(dlg.findChild<QWidget*>(i == 0 ? "cal1" : "cal2"), Qt::LeftButton);
    }
}
