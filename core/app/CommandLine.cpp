#include "app/CommandLine.h"

#include "app/AppMessages.h"

namespace kavelto {

namespace {

constexpr std::size_t kMostArguments = 3;
constexpr char kBomOption[] = "--bom";
constexpr char kBomWithFile[] = "--bom=";

CommandLine Refused(std::string refusal) {
    CommandLine line;
    line.action = CommandLine::Action::Refuse;
    line.refusal = std::move(refusal);
    return line;
}

// A lone "-" is no option: it is a file of that name.
bool IsOption(const std::string& argument) {
    return argument.size() > 1 && argument[0] == '-';
}

// Takes the BOM option at arguments[at], moving at past its file; false when no file follows
// it. A later --bom takes the place of an earlier one.
bool TakeBom(const std::vector<std::string>& arguments, std::size_t& at, CommandLine& line) {
    const std::string& argument = arguments[at];
    if (argument == kBomOption && at + 1 < arguments.size())
        line.bom = arguments[++at];
    else if (argument.size() > sizeof kBomWithFile - 1)
        line.bom = argument.substr(sizeof kBomWithFile - 1);
    else
        return false;
    return true;
}

bool IsBomOption(const std::string& argument) {
    return argument == kBomOption || argument.rfind(kBomWithFile, 0) == 0;
}

} // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& arguments,
                             const std::function<bool(const std::string&)>& isFolder) {
    CommandLine line;
    std::vector<std::string> names;
    for (std::size_t at = 0; at < arguments.size(); ++at) {
        const std::string& argument = arguments[at];
        if (IsBomOption(argument)) {
            if (!TakeBom(arguments, at, line))
                return Refused(BomFileMissingText());
        } else if (argument == "--help" || argument == "-h")
            line.action = CommandLine::Action::Help;
        else if (argument == "--version")
            line.action = CommandLine::Action::Version;
        else if (IsOption(argument))
            return Refused(UnknownOptionText(argument));
        else
            names.push_back(argument);
    }
    if (line.action != CommandLine::Action::Run)
        return line;
    if (names.size() > kMostArguments)
        return Refused(TooManyArgumentsText());
    std::size_t next = 0;
    if (names.size() == kMostArguments || (!names.empty() && isFolder(names[0]))) {
        if (!isFolder(names[0]))
            return Refused(NotAFolderText(names[0]));
        line.folder = names[next++];
    }
    if (next < names.size())
        line.placementFile = names[next++];
    if (next < names.size())
        line.picture = names[next++];
    return line;
}

} // namespace kavelto
