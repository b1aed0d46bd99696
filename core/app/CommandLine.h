#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kavelto {

// What the program was asked to do by its arguments: `kavelto [--bom FILE] [FOLDER]
// [PLACEMENT_FILE [PICTURE]]`, or --help or --version.
struct CommandLine {
    enum class Action {
        Run,     // open the window
        Help,    // print the usage and end
        Version, // print the version and end
        Refuse,  // print the refusal and the hint, and end with status 2
    };
    Action action = Action::Run;
    // The folder to work in; the files are taken relative to it.
    std::optional<std::string> folder;
    std::optional<std::string> placementFile;
    std::optional<std::string> picture;
    // The bill of materials, loaded after the placement file.
    std::optional<std::string> bom;
    std::string refusal;
};

// The arguments after the program's name. One or two names begin with the folder when the
// first names one, else with the placement file; three always begin with it. The BOM's file
// follows --bom as the next argument or after "--bom=", anywhere among the names.
CommandLine ParseCommandLine(const std::vector<std::string>& arguments,
                             const std::function<bool(const std::string&)>& isFolder);

} // namespace kavelto
