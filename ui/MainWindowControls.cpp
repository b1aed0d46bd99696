#include "MainWindowControls.h"

#include "BoardView.h"
#include "ClickableLabel.h"
#include "DialogUnits.h"
#include "MagnifierView.h"
#include "PartListView.h"

#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>

namespace kavelto {

namespace {

constexpr int kMarginToEdge = 10;
constexpr int kLeastListRows = 5;
constexpr int kLeastFrameShare = 4; // a quarter of the template's width

QString WithoutMnemonic(const char* caption) {
    return QString::fromLatin1(caption).remove('&');
}

QLineEdit* MakeEdit(QDialog& window, bool readOnly) {
    auto* edit = new QLineEdit(&window);
    edit->setReadOnly(readOnly);
    return edit;
}

} // namespace

MainWindowControls::MainWindowControls(QDialog& window, AssemblySession& session,
                                       const DialogUnits& units) {
    for (const ControlTemplate& control : kMainWindowControls) {
        QWidget* widget = create(control, window, session);
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
    partList = this->control<PartListView>(ControlId::PartList);
    sortBy = this->control<QComboBox>(ControlId::SortBy);
    bitmapText = this->control<QLineEdit>(ControlId::BitmapText);
    rotationText = this->control<QLineEdit>(ControlId::RotationText);
    pkpText = this->control<QLineEdit>(ControlId::PkpText);
    calibrationText = this->control<QLineEdit>(ControlId::CalibrationText);
    partsPerFaceText = this->control<QLineEdit>(ControlId::PartsPerFaceText);
    pcbCount = this->control<QLineEdit>(ControlId::PcbCount);
    top = this->control<QRadioButton>(ControlId::Top);
    bottom = this->control<QRadioButton>(ControlId::Bottom);
    board = this->control<BoardView>(ControlId::PictureFrame);
    magnifier = this->control<MagnifierView>(ControlId::MagnifierFrame);
    logo = this->control<ClickableLabel>(ControlId::Logo);
    for (const char* entry : kSortByEntries)
        sortBy->addItem(QString::fromLatin1(entry));
    // A press on the magnifier moves the pressed point as one on the picture does.
    QObject::connect(magnifier, &MagnifierView::pressed, board, &BoardView::pressed);
    QObject::connect(magnifier, &MagnifierView::dragged, board, &BoardView::dragged);
    QObject::connect(magnifier, &MagnifierView::released, board, &BoardView::released);
}

void MainWindowControls::runCommandsWith(QObject& receiver,
                                         const std::function<void(CommandId)>& run) const {
    for (const ControlTemplate& control : kMainWindowControls) {
        QWidget* widget = byId(control.id);
        const auto runCommand = [run, command = static_cast<CommandId>(control.id)] {
            run(command);
        };
        if (auto* button = qobject_cast<QAbstractButton*>(widget))
            QObject::connect(button, &QAbstractButton::clicked, &receiver, runCommand);
        else if (auto* list = qobject_cast<QAbstractItemView*>(widget))
            QObject::connect(list, &QAbstractItemView::clicked, &receiver, runCommand);
        else if (auto* combo = qobject_cast<QComboBox*>(widget))
            QObject::connect(combo, &QComboBox::currentIndexChanged, &receiver, runCommand);
        else if (auto* label = qobject_cast<ClickableLabel*>(widget))
            QObject::connect(label, &ClickableLabel::clicked, &receiver, runCommand);
    }
}

void MainWindowControls::stretchTo(const QSize& window) {
    const QRect frame = board->geometry();
    board->setGeometry(frame.left(), frame.top(), window.width() - frame.left() - kMarginToEdge,
                       frame.height());
    const QRect list = partList->geometry();
    partList->setGeometry(list.left(), list.top(), window.width() - list.left() - kMarginToEdge,
                          window.height() - list.top() - kMarginToEdge);
}

QSize MainWindowControls::minimumWindowSize() const {
    const int listHeight = partList->horizontalHeader()->sizeHint().height() +
                           kLeastListRows * partList->verticalHeader()->defaultSectionSize() +
                           2 * partList->frameWidth();
    return {board->x() + board->width() / kLeastFrameShare + kMarginToEdge,
            partList->y() + listHeight + kMarginToEdge};
}

// A template that disagrees with the code would otherwise show up as a crash far from here.
template <typename T> T* MainWindowControls::control(int id) const {
    T* widget = qobject_cast<T*>(byId(id));
    if (!widget)
        qFatal("control %d is not a %s", id, T::staticMetaObject.className());
    return widget;
}

QWidget* MainWindowControls::create(const ControlTemplate& control, QDialog& window,
                                    AssemblySession& session) {
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
    case ControlKind::BoardPicture:
        return new BoardView(session, &window);
    case ControlKind::Magnifier:
        return new MagnifierView(session, *this->control<BoardView>(ControlId::PictureFrame),
                                 &window);
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

void MainWindowControls::repaintViews(Repaint repaint) const {
    if (repaint != Repaint::None)
        board->viewChanged();
    if (repaint == Repaint::Now) {
        // One synchronous pass paints both, with whatever else is due.
        magnifier->update();
        board->repaint();
    } else if (repaint == Repaint::Soon) {
        board->update();
        magnifier->update();
    }
}

} // namespace kavelto
