#pragma once

#include <QFont>
#include <QRect>

class QScreen;
class QWidget;

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

// The fonts of a window whose template is laid out for 8 points: its dialog units come from the
// desktop's family at 8 points, or smaller where the window would not fit the screen's free
// area; its texts keep the desktop's font when that is no larger, else take the layout's.
struct TemplateFonts {
    QFont layout;
    QFont text;
};

TemplateFonts FitTemplateFonts(const QFont& desktop, int widthUnits, int heightUnits,
                               const QScreen& screen);

// The units a template of that size is placed in on the screen the window opens on; the
// window's texts take the font that fits them.
DialogUnits FitToScreen(QWidget& window, int widthUnits, int heightUnits);

} // namespace kavelto
