#include "app/CommandLine.h"

#include "app/AppMessages.h"

namespace kavelto {

namespace {

constexpr std::size_t kMostArguments = 3;

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

} // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& arguments,
                             const std::function<bool(const std::string&)>& isFolder) {
    CommandLine line;
    std::vector<std::string> names;
    for (const std::string& argument : arguments) {
        if (argument == "--help" || argument == "-h")
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
