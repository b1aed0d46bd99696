#pragma once

// Qt tells a painter used wrongly (a restore without its save, a font of no size, a paint
// device that would not open) only as a warning, and goes on drawing something else. The
// window's tests fail on those warnings as on a wrong pixel.

#include <QRegularExpression>
#include <QTest>

inline void FailOnPaintWarnings() {
    QTest::failOnWarning(
        QRegularExpression(QStringLiteral("^Q(Painter|Font|PdfWriter|Pixmap|Image)")));
}
