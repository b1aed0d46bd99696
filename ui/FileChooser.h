#pragma once

#include "app/CommandTable.h"

#include <QString>

#include <optional>
#include <string>

class QWidget;

namespace kavelto {

class Platform;

// A path as the file system takes it: the bytes the locale gives the name.
std::string LocalPath(const QString& path);

// Asks for the file a command needs, with that command's filters: one to write for the
// progress export, one to read for the others. Nothing when the user cancels.
std::optional<std::string> ChooseFile(Platform& platform, QWidget* owner, FileChoice choice);

} // namespace kavelto
