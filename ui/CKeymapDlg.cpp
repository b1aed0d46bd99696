#include "CKeymapDlg.h"

#include "DialogUnits.h"
#include "KeymapPicture.h"
#include "app/CommandTable.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>

#include <algorithm>

namespace kavelto {

namespace {

// The keys and gestures that the keypad does not show, one a line: "Ctrl+F: Find part...".
QString OtherKeysText() {
    QStringList lines;
    for (const CommandRow& row : CommandTable())
        if (*row.keyText != '\0')
            lines << QStringLiteral("%1: %2").arg(QString::fromUtf8(row.keyText),
                                                  QString::fromUtf8(row.title).remove('&'));
    return lines.join('\n');
}

} // namespace

CKeymapDlg::CKeymapDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Keymap"));
    const DialogUnits units(font());

    // The picture keeps its natural size, centred in its place; with a font whose units come out
    // smaller than the picture the place and the window grow around it instead of cutting it off.
    const QPixmap picture = QPixmap::fromImage(KeymapPicture());
    QRect place = units.toPixels(7, 7, 182, 200);
    place.setSize(place.size().expandedTo(picture.size()));
    auto* label = new QLabel(this);
    label->setObjectName(QStringLiteral("keymapPicture"));
    label->setAlignment(Qt::AlignCenter);
    label->setPixmap(picture);
    label->setGeometry(place);

    auto* otherKeys = new QLabel(OtherKeysText(), this);
    otherKeys->setObjectName(QStringLiteral("otherKeys"));
    otherKeys->adjustSize();
    otherKeys->move(place.left(), place.bottom() + 1 + units.toPixels(0, 0, 0, 4).height());

    const QSize margin = units.toPixels(0, 0, 7, 7).size();
    const QSize needed(std::max(place.right(), otherKeys->geometry().right()) + 1 + margin.width(),
                       otherKeys->geometry().bottom() + 1 + margin.height());
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
