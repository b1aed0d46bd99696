#include "TempFile.h"
#include "app/ColumnMapLookup.h"
#include "app/CommandLine.h"
#include "placement/ColumnMap.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <tuple>
#include <utility>

namespace kavelto {
namespace {

using Names = std::vector<std::string>;

// The arguments, with "board" the only folder, and what they must ask for: the action, then each
// name given with its role, then the refusal.
struct LineRow {
    const char* name;
    Names arguments;
    std::string asks;
};

const LineRow kLines[] = {
    {"nothing", {}, "run"},
    {"help", {"--help"}, "help"},
    {"short help", {"-h"}, "help"},
    {"help after a file", {"a.csv", "--help"}, "help"},
    {"version", {"--version"}, "version"},
    {"unknown option", {"--bogus"}, "refuse: kavelto: unknown option --bogus"},
    {"unknown short option", {"-x"}, "refuse: kavelto: unknown option -x"},
    {"folder alone", {"board"}, "run folder=board"},
    {"file alone", {"a.csv"}, "run file=a.csv"},
    {"dash is a file", {"-"}, "run file=-"},
    {"folder and file", {"board", "a.csv"}, "run folder=board file=a.csv"},
    {"file and picture", {"a.csv", "top.jpg"}, "run file=a.csv picture=top.jpg"},
    {"all three", {"board", "a.csv", "top.jpg"}, "run folder=board file=a.csv picture=top.jpg"},
    {"three without a folder",
     {"nowhere", "a.csv", "top.jpg"},
     "refuse: kavelto: nowhere is not a folder"},
    {"four", {"board", "a.csv", "top.jpg", "more"}, "refuse: kavelto: too many arguments"},
    {"bom before the names",
     {"--bom", "b.csv", "board", "a.csv", "top.jpg"},
     "run folder=board file=a.csv picture=top.jpg bom=b.csv"},
    {"bom after the file", {"a.csv", "--bom", "b.csv"}, "run file=a.csv bom=b.csv"},
    {"bom with equals", {"--bom=b.csv", "a.csv"}, "run file=a.csv bom=b.csv"},
    {"bom of one letter", {"--bom=b"}, "run bom=b"},
    {"bom file may start with a dash", {"--bom", "-b.csv"}, "run bom=-b.csv"},
    {"the last bom counts", {"--bom", "x.csv", "--bom=b.csv"}, "run bom=b.csv"},
    {"bom without its file", {"a.csv", "--bom"}, "refuse: kavelto: --bom needs a file"},
    {"bom with an empty file", {"--bom=", "a.csv"}, "refuse: kavelto: --bom needs a file"},
    {"bom file is no name",
     {"--bom", "b.csv", "board", "a.csv", "top.jpg", "more"},
     "refuse: kavelto: too many arguments"},
};

// Every field of the command line, in the rows' words.
std::string Asks(const CommandLine& line) {
    const char* const actions[] = {"run", "help", "version", "refuse"};
    std::string asks = actions[static_cast<int>(line.action)];
    const std::pair<const char*, const std::optional<std::string>&> names[] = {
        {" folder=", line.folder},
        {" file=", line.placementFile},
        {" picture=", line.picture},
        {" bom=", line.bom}};
    for (const auto& [role, name] : names)
        asks += name ? role + *name : "";
    return asks + (line.refusal.empty() ? "" : ": " + line.refusal);
}

class CommandLineTest : public testing::TestWithParam<LineRow> {};

TEST_P(CommandLineTest, AsksForWhatTheArgumentsName) {
    const LineRow& row = GetParam();
    EXPECT_EQ(Asks(ParseCommandLine(row.arguments,
                                    [](const std::string& path) { return path == "board"; })),
              row.asks);
}

INSTANTIATE_TEST_SUITE_P(Rows, CommandLineTest, testing::ValuesIn(kLines), [](const auto& info) {
    std::string name = info.param.name;
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return name;
});

// The variables, the files that exist, and the file read ("-" for none) and the user's file.
struct LookupRow {
    const char* name;
    std::optional<std::string> configHome, home;
    std::set<std::string> existing;
    std::string readAndUserFile;
};

const LookupRow kLookups[] = {
    {"working folder's first",
     "/c",
     "/h",
     {"Kavelto.ini", "/c/kavelto/Kavelto.ini"},
     "Kavelto.ini|/c/kavelto/Kavelto.ini"},
    {"configuration home",
     "/c",
     "/h",
     {"/c/kavelto/Kavelto.ini"},
     "/c/kavelto/Kavelto.ini|/c/kavelto/Kavelto.ini"},
    {"home's .config",
     {},
     "/h",
     {"/h/.config/kavelto/Kavelto.ini"},
     "/h/.config/kavelto/Kavelto.ini|/h/.config/kavelto/Kavelto.ini"},
    {"home's not read while the configuration home is set",
     "/c",
     "/h",
     {"/h/.config/kavelto/Kavelto.ini"},
     "-|/c/kavelto/Kavelto.ini"},
    {"relative configuration home counts as unset",
     "conf",
     "/h",
     {"conf/kavelto/Kavelto.ini", "/h/.config/kavelto/Kavelto.ini"},
     "/h/.config/kavelto/Kavelto.ini|/h/.config/kavelto/Kavelto.ini"},
    {"empty configuration home counts as unset", "", "/h", {}, "-|/h/.config/kavelto/Kavelto.ini"},
    {"nowhere to create one", {}, {}, {}, "-|"},
    {"relative home", {}, "h", {"h/.config/kavelto/Kavelto.ini"}, "-|"},
};

class ColumnMapLookupTest : public testing::TestWithParam<LookupRow> {};

// The box offers to create the user's file where there is one, else only tells.
TEST_P(ColumnMapLookupTest, ReadsTheFirstThatExists) {
    const LookupRow& row = GetParam();
    const ColumnMapLookup lookup("/work/board", row.configHome, row.home);
    const std::optional<std::string> read =
        lookup.find([&](const std::string& path) { return row.existing.count(path) > 0; });
    const std::string& userFile = lookup.userFile();
    EXPECT_EQ(read.value_or("-") + "|" + userFile, row.readAndUserFile);
    EXPECT_EQ(lookup.canCreate(), !userFile.empty());
    const UserMessage box = lookup.missingMessage();
    EXPECT_EQ(std::tie(box.buttons, box.caption),
              std::make_tuple(userFile.empty() ? MessageButtons::Ok : MessageButtons::YesNo,
                              std::string("Error")));
    // The box names the folder searched and, where there is one, the file it offers to create.
    EXPECT_NE(box.text.find("Can't find Kavelto.ini file"), std::string::npos);
    EXPECT_NE(box.text.find("/work/board"), std::string::npos);
    if (!userFile.empty()) {
        EXPECT_NE(box.text.find("Create " + userFile + " with the lines 0, - and auto"),
                  std::string::npos);
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, ColumnMapLookupTest, testing::ValuesIn(kLookups));

std::string FileText(const std::string& path) {
    std::ostringstream text;
    text << std::ifstream(path).rdbuf();
    return text.str();
}

// A first run creates the folders and a file that reads placement files by their name rows.
TEST(ColumnMapLookupFile, CreatesTheUserFileWithItsFolders) {
    char pattern[] = "/tmp/kavelto-lookup-XXXXXX";
    const std::string home = mkdtemp(pattern);
    const ColumnMapLookup lookup("/work", std::nullopt, home);
    ASSERT_TRUE(lookup.createUserFile().ok());
    EXPECT_EQ(FileText(home + "/.config/kavelto/Kavelto.ini"), "0\n-\nauto\n");
    const Result<ColumnMap> read = ReadColumnMap(lookup.userFile());
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(std::make_tuple(read->byName, read->headerLines), std::make_tuple(true, 0));
    EXPECT_EQ(std::system(("rm -rf '" + home + "'").c_str()), 0);
}

// A file where the folder must go: the box names the path and the reason.
TEST(ColumnMapLookupFile, TellsWhyTheFileCannotBeCreated) {
    const TempFile blocker("not a folder");
    const ColumnMapLookup lookup("/work", blocker.path(), std::nullopt);
    const Result<void> created = lookup.createUserFile();
    ASSERT_FALSE(created.ok());
    EXPECT_EQ(std::make_tuple(created.failure().caption,
                              created.failure().text.rfind("Can't create " + blocker.path(), 0)),
              std::make_tuple("Error", 0u))
        << created.failure().text;
}

} // namespace
} // namespace kavelto
