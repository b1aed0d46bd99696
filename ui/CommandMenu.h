#pragma once

#include "app/CommandTable.h"

#include <QObject>

#include <functional>
#include <utility>
#include <vector>

class QAction;
class QWidget;

namespace kavelto {

class Workbench;

// The right-click menu of a window, made from the command table: each entry runs its command,
// shows while it applies and is checked as the workbench says; a checked entry's state is kept
// in the settings and comes back at the next run.
class CommandMenu : public QObject {
    Q_OBJECT
public:
    CommandMenu(QWidget& window, Workbench& workbench, std::function<void(CommandId)> run);

    // Runs the commands of the entries that were checked when the program last ran, and gives
    // the workbench back the settings its entries edited.
    void restoreSettings() const;
    // Shows, names and checks the entries as the workbench now says.
    void refresh() const;

private:
    void add(QWidget& window, const CommandRow& row);
    // Keeps what the entry's command left of its setting.
    void keep(const CommandRow& row) const;

    Workbench& workbench_;
    std::function<void(CommandId)> run_;
    std::vector<std::pair<const CommandRow*, QAction*>> entries_;
};

} // namespace kavelto
