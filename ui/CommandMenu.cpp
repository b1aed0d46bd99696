#include "CommandMenu.h"

#include "app/Workbench.h"

#include <QAction>
#include <QSettings>
#include <QWidget>

namespace kavelto {

namespace {

// The menu names a command's key after a tab, where menus show keys.
QString EntryText(const CommandRow& row) {
    QString text = QString::fromUtf8(row.title);
    if (*row.keyText != '\0')
        text += QLatin1Char('\t') + QString::fromUtf8(row.keyText);
    return text;
}

} // namespace

CommandMenu::CommandMenu(QWidget& window, Workbench& workbench, std::function<void(CommandId)> run)
    : QObject(&window), workbench_(workbench), run_(std::move(run)) {
    for (const CommandRow& row : CommandTable())
        if (row.menu != MenuPlace::None)
            add(window, row);
    window.setContextMenuPolicy(Qt::ActionsContextMenu);
}

void CommandMenu::add(QWidget& window, const CommandRow& row) {
    if (row.menu == MenuPlace::AfterSeparator)
        window.addAction(QString())->setSeparator(true);
    QAction* action = window.addAction(EntryText(row));
    action->setObjectName(QStringLiteral("command%1").arg(static_cast<int>(row.id)));
    action->setCheckable(row.checked != nullptr);
    connect(action, &QAction::triggered, this, [this, &row] {
        run_(row.id);
        keep(row);
    });
    entries_.emplace_back(&row, action);
}

void CommandMenu::keep(const CommandRow& row) const {
    if (*row.settingsKey == '\0')
        return;
    const QString key = QLatin1String(row.settingsKey);
    if (row.settingText)
        QSettings().setValue(key, QString::fromStdString((workbench_.*row.settingText)()));
    else
        QSettings().setValue(key, (workbench_.*row.checked)());
}

void CommandMenu::restoreSettings() const {
    for (const auto& [row, action] : entries_) {
        if (*row->settingsKey == '\0')
            continue;
        const QVariant kept = QSettings().value(QLatin1String(row->settingsKey));
        if (row->restoreSetting && kept.isValid())
            (workbench_.*row->restoreSetting)(kept.toString().toStdString());
        else if (!row->restoreSetting && kept.toBool())
            run_(row->id);
    }
}

void CommandMenu::refresh() const {
    for (const auto& [row, action] : entries_) {
        if (row->currentTitle) {
            const std::optional<std::string> title = (workbench_.*row->currentTitle)();
            action->setVisible(title.has_value());
            if (title)
                action->setText(QString::fromStdString(*title));
        }
        if (row->checked)
            action->setChecked((workbench_.*row->checked)());
    }
}

} // namespace kavelto
