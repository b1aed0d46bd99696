#pragma once

#include <QRect>

class QFont;

namespace kavelto {

// Converts dialog units to pixels the way dialog templates are laid out: a horizontal unit is
// a quarter of the font's average character width, a vertical unit an eighth of its height.
class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);

    int toPixelsX(int units) const;
    int toPixelsY(int units) const;
    QRect toPixels(int x, int y, int width, int height) const;

private:
    int baseX_;
    int baseY_;
};

} // namespace kavelto
