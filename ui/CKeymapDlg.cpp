#include "CKeymapDlg.h"

#include "DialogUnits.h"
#include "ProgramIcon.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>

namespace kavelto {

CKeymapDlg::CKeymapDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Keymap"));
    setWindowIcon(ProgramIcon());
    const DialogUnits units(font());

    // The picture keeps its natural size, centred in its place; with a font whose units come out
    // smaller than the picture the place and the window grow around it instead of cutting it off.
    const QPixmap picture(QStringLiteral(":/kavelto/keymap.png"));
    QRect place = units.toPixels(7, 7, 182, 200);
    place.setSize(place.size().expandedTo(picture.size()));
    auto* label = new QLabel(this);
    label->setObjectName(QStringLiteral("keymapPicture"));
    label->setAlignment(Qt::AlignCenter);
    label->setPixmap(picture);
    label->setGeometry(place);

    const QSize margin = units.toPixels(0, 0, 7, 7).size();
    const QSize needed(place.right() + 1 + margin.width(), place.bottom() + 1 + margin.height());
    setFixedSize(units.toPixels(0, 0, 197, 214).size().expandedTo(needed));
}

void CKeymapDlg::keyPressEvent(QKeyEvent* event) {
    // The window has no button for Enter to press, so Enter closes it just as Esc does.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace kavelto
