#include "MainWindowControls.h"

#include "ClickableLabel.h"
#include "DialogUnits.h"
#include "PartListView.h"

#include <QComboBox>
#include <QDialog>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>

namespace {

QString WithoutMnemonic(const char* caption) {
    return QString::fromLatin1(caption).remove('&');
}

QLineEdit* MakeEdit(QDialog& window, bool readOnly) {
    auto* edit = new QLineEdit(&window);
    edit->setReadOnly(readOnly);
    return edit;
}

} // namespace

MainWindowControls::MainWindowControls(QDialog& window) {
    const DialogUnits units(window.font());
    for (const ControlTemplate& control : kMainWindowControls) {
        QWidget* widget = create(control, window);
        widget->setObjectName(QString::fromLatin1(control.objectName));
        widget->setAccessibleName(control.accessibleName
                                      ? QString::fromLatin1(control.accessibleName)
                                      : WithoutMnemonic(control.caption));
        QRect place = units.toPixels(control.x, control.y, control.width, control.height);
        // A drop-down's template height includes its opened list.
        if (control.kind == ControlKind::ComboBox)
            place.setHeight(widget->sizeHint().height());
        widget->setGeometry(place);
        if (control.id != 0)
            byId_.insert(control.id, widget);
    }
    partList = static_cast<PartListView*>(byId(ControlId::PartList));
    sortBy = static_cast<QComboBox*>(byId(ControlId::SortBy));
    bitmapText = static_cast<QLineEdit*>(byId(ControlId::BitmapText));
    rotationText = static_cast<QLineEdit*>(byId(ControlId::RotationText));
    pkpText = static_cast<QLineEdit*>(byId(ControlId::PkpText));
    calibrationText = static_cast<QLineEdit*>(byId(ControlId::CalibrationText));
    partsPerFaceText = static_cast<QLineEdit*>(byId(ControlId::PartsPerFaceText));
    pcbCount = static_cast<QLineEdit*>(byId(ControlId::PcbCount));
    top = static_cast<QRadioButton*>(byId(ControlId::Top));
    bottom = static_cast<QRadioButton*>(byId(ControlId::Bottom));
    pictureFrame = static_cast<QFrame*>(byId(ControlId::PictureFrame));
    magnifierFrame = static_cast<QFrame*>(byId(ControlId::MagnifierFrame));
    logo = static_cast<ClickableLabel*>(byId(ControlId::Logo));
    for (const char* entry : kSortByEntries)
        sortBy->addItem(QString::fromLatin1(entry));
}

QPushButton* MainWindowControls::button(int id) const {
    return qobject_cast<QPushButton*>(byId(id));
}

QWidget* MainWindowControls::create(const ControlTemplate& control, QDialog& window) {
    const QString caption = QString::fromLatin1(control.caption);
    switch (control.kind) {
    case ControlKind::ListView:
        return new PartListView(&window);
    case ControlKind::PushButton: {
        auto* button = new QPushButton(caption, &window);
        button->setAutoDefault(false);
        return button;
    }
    case ControlKind::RadioButton: {
        auto* radio = new QRadioButton(caption, &window);
        radio->setFocusPolicy(Qt::ClickFocus);
        return radio;
    }
    case ControlKind::BlackFrame: {
        // The board view paints under the frame; the frame passes the pointer to the window.
        auto* frame = new QFrame(&window);
        frame->setFrameShape(QFrame::Box);
        frame->setAttribute(Qt::WA_TransparentForMouseEvents);
        frame->lower();
        return frame;
    }
    case ControlKind::ReadOnlyEdit:
        return MakeEdit(window, true);
    case ControlKind::NumberEdit: {
        QLineEdit* edit = MakeEdit(window, false);
        edit->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), edit));
        return edit;
    }
    case ControlKind::GroupBox: {
        auto* group = new QGroupBox(caption, &window);
        group->setAttribute(Qt::WA_TransparentForMouseEvents);
        group->lower();
        return group;
    }
    case ControlKind::ComboBox:
        return new QComboBox(&window);
    case ControlKind::Label: {
        auto* label = new QLabel(caption, &window);
        label->setTextFormat(Qt::PlainText);
        return label;
    }
    case ControlKind::Picture:
        return new ClickableLabel(&window);
    }
    return new QWidget(&window);
}
