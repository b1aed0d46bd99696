#include "DialogUnits.h"

#include "WindowFit.h"

#include <QFontMetrics>
#include <QScreen>
#include <QWidget>

namespace kavelto {

namespace {

// Tenths of a point: the template's 8 points, and the smallest that stays legible.
constexpr int kTemplateFontSize = 80;
constexpr int kSmallestFontSize = 60;

// Room for the title bar and the border that the window manager adds around the window.
constexpr PixelSize kWindowFrame{8, 40};

// Rounded units * base / divisor.
int Scale(int units, int base, int divisor) {
    const long long product = static_cast<long long>(units) * base;
    return static_cast<int>((product + (product >= 0 ? divisor / 2 : -divisor / 2)) / divisor);
}

QFont AtSize(QFont font, int tenthsOfPoint) {
    font.setPointSizeF(tenthsOfPoint / 10.0);
    return font;
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

TemplateFonts FitTemplateFonts(const QFont& desktop, int widthUnits, int heightUnits,
                               const QScreen& screen) {
    const QRect free = screen.availableGeometry();
    const PixelSize area{free.width() - kWindowFrame.width, free.height() - kWindowFrame.height};
    const auto layoutAt = [&](int size) {
        const DialogUnits units(AtSize(desktop, size));
        return PixelSize{units.toPixelsX(widthUnits), units.toPixelsY(heightUnits)};
    };
    const QFont layout =
        AtSize(desktop, FittingFontSize(kTemplateFontSize, kSmallestFontSize, layoutAt, area));
    // A text font whose units are no larger than the layout's fits every control.
    const DialogUnits layoutUnits(layout);
    const DialogUnits desktopUnits(desktop);
    const bool desktopFits = desktopUnits.toPixelsX(4) <= layoutUnits.toPixelsX(4) &&
                             desktopUnits.toPixelsY(8) <= layoutUnits.toPixelsY(8);
    return {layout, desktopFits ? desktop : layout};
}

DialogUnits FitToScreen(QWidget& window, int widthUnits, int heightUnits) {
    const TemplateFonts fonts =
        FitTemplateFonts(window.font(), widthUnits, heightUnits, *window.screen());
    if (fonts.text != window.font())
        window.setFont(fonts.text);
    return DialogUnits(fonts.layout);
}

} // namespace kavelto
