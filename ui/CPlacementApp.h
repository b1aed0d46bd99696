#pragma once

#include "app/CommandLine.h"

#include <optional>
#include <string>

namespace kavelto {

class CPlacementDlg;
class ColumnMapLookup;
class Platform;

// One run of the program: the main window, shown modally until the user closes it, with the
// files the command line named loaded into it.
class CPlacementApp {
public:
    explicit CPlacementApp(Platform& platform, CommandLine line = {})
        : platform_(platform), line_(std::move(line)) {}

    // Returns the process's exit status: 1 when the column configuration is unusable.
    int run();

private:
    bool loadColumnMap(CPlacementDlg& window);
    std::optional<std::string> offerUserFile(CPlacementDlg& window, const ColumnMapLookup& lookup);

    Platform& platform_;
    CommandLine line_;
};

} // namespace kavelto
