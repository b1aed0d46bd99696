#include "DialogUnits.h"

#include <QFontMetrics>

namespace kavelto {

namespace {

// Rounded units * base / divisor.
int Scale(int units, int base, int divisor) {
    const long long product = static_cast<long long>(units) * base;
    return static_cast<int>((product + (product >= 0 ? divisor / 2 : -divisor / 2)) / divisor);
}

} // namespace

DialogUnits::DialogUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    const int alphabet = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    baseX_ = (alphabet / 26 + 1) / 2;
    baseY_ = metrics.height();
}

int DialogUnits::toPixelsX(int units) const {
    return Scale(units, baseX_, 4);
}

int DialogUnits::toPixelsY(int units) const {
    return Scale(units, baseY_, 8);
}

QRect DialogUnits::toPixels(int x, int y, int width, int height) const {
    return QRect(toPixelsX(x), toPixelsY(y), toPixelsX(width), toPixelsY(height));
}

} // namespace kavelto
