#include "TempFile.h"
#include "app/ColumnMapLookup.h"
#include "app/CommandLine.h"
#include "placement/ColumnMap.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>

namespace kavelto {
namespace {

using Action = CommandLine::Action;
using Names = std::vector<std::string>;

// The arguments, with "board" the only folder, and what they must ask for.
struct LineRow {
    const char* name;
    Names arguments;
    Action action;
    std::optional<std::string> folder, placementFile, picture;
    std::string refusal = "";
    std::optional<std::string> bom = {};
};

const LineRow kLines[] = {
    {"nothing", {}, Action::Run, {}, {}, {}},
    {"help", {"--help"}, Action::Help, {}, {}, {}},
    {"short help", {"-h"}, Action::Help, {}, {}, {}},
    {"help after a file", {"a.csv", "--help"}, Action::Help, {}, {}, {}},
    {"version", {"--version"}, Action::Version, {}, {}, {}},
    {"unknown option", {"--bogus"}, Action::Refuse, {}, {}, {}, "kavelto: unknown option --bogus"},
    {"folder alone", {"board"}, Action::Run, "board", {}, {}},
    {"file alone", {"a.csv"}, Action::Run, {}, "a.csv", {}},
    {"dash is a file", {"-"}, Action::Run, {}, "-", {}},
    {"folder and file", {"board", "a.csv"}, Action::Run, "board", "a.csv", {}},
    {"file and picture", {"a.csv", "top.jpg"}, Action::Run, {}, "a.csv", "top.jpg"},
    {"all three", {"board", "a.csv", "top.jpg"}, Action::Run, "board", "a.csv", "top.jpg"},
    {"three without a folder",
     {"nowhere", "a.csv", "top.jpg"},
     Action::Refuse,
     {},
     {},
     {},
     "kavelto: nowhere is not a folder"},
    {"four",
     {"board", "a.csv", "top.jpg", "more"},
     Action::Refuse,
     {},
     {},
     {},
     "kavelto: too many arguments"},
    {"bom before the names",
     {"--bom", "b.csv", "board", "a.csv", "top.jpg"},
     Action::Run,
     "board",
     "a.csv",
     "top.jpg",
     "",
     "b.csv"},
    {"bom after the file", {"a.csv", "--bom", "b.csv"}, Action::Run, {}, "a.csv", {}, "", "b.csv"},
    {"bom with equals", {"--bom=b.csv", "a.csv"}, Action::Run, {}, "a.csv", {}, "", "b.csv"},
    {"bom of one letter", {"--bom=b"}, Action::Run, {}, {}, {}, "", "b"},
    {"bom file may start with a dash", {"--bom", "-b.csv"}, Action::Run, {}, {}, {}, "", "-b.csv"},
    {"the last bom counts",
     {"--bom", "x.csv", "--bom=b.csv"},
     Action::Run,
     {},
     {},
     {},
     "",
     "b.csv"},
    {"bom without its file",
     {"a.csv", "--bom"},
     Action::Refuse,
     {},
     {},
     {},
     "kavelto: --bom needs a file"},
    {"bom with an empty file",
     {"--bom=", "a.csv"},
     Action::Refuse,
     {},
     {},
     {},
     "kavelto: --bom needs a file"},
    {"bom file is no name",
     {"--bom", "b.csv", "board", "a.csv", "top.jpg", "more"},
     Action::Refuse,
     {},
     {},
     {},
     "kavelto: too many arguments"},
};

class CommandLineTest : public testing::TestWithParam<LineRow> {};

TEST_P(CommandLineTest, AsksForWhatTheArgumentsName) {
    const LineRow& row = GetParam();
    const CommandLine line =
        ParseCommandLine(row.arguments, [](const std::string& path) { return path == "board"; });
    EXPECT_EQ(line.action, row.action);
    EXPECT_EQ(line.folder, row.folder);
    EXPECT_EQ(line.placementFile, row.placementFile);
    EXPECT_EQ(line.picture, row.picture);
    EXPECT_EQ(line.bom, row.bom);
    EXPECT_EQ(line.refusal, row.refusal);
}

INSTANTIATE_TEST_SUITE_P(Rows, CommandLineTest, testing::ValuesIn(kLines), [](const auto& info) {
    std::string name = info.param.name;
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return name;
});

// The variables, the files that exist, and the file read, the user's file and the box shown.
struct LookupRow {
    const char* name;
    std::optional<std::string> configHome, home;
    std::set<std::string> existing;
    std::optional<std::string> read;
    std::string userFile;
    MessageButtons buttons;
};

const LookupRow kLookups[] = {
    {"working folder's first",
     "/c",
     "/h",
     {"Kavelto.ini", "/c/kavelto/Kavelto.ini"},
     "Kavelto.ini",
     "/c/kavelto/Kavelto.ini",
     MessageButtons::YesNo},
    {"configuration home",
     "/c",
     "/h",
     {"/c/kavelto/Kavelto.ini"},
     "/c/kavelto/Kavelto.ini",
     "/c/kavelto/Kavelto.ini",
     MessageButtons::YesNo},
    {"home's .config",
     {},
     "/h",
     {"/h/.config/kavelto/Kavelto.ini"},
     "/h/.config/kavelto/Kavelto.ini",
     "/h/.config/kavelto/Kavelto.ini",
     MessageButtons::YesNo},
    {"home's not read while the configuration home is set",
     "/c",
     "/h",
     {"/h/.config/kavelto/Kavelto.ini"},
     {},
     "/c/kavelto/Kavelto.ini",
     MessageButtons::YesNo},
    {"relative configuration home counts as unset",
     "conf",
     "/h",
     {"conf/kavelto/Kavelto.ini", "/h/.config/kavelto/Kavelto.ini"},
     "/h/.config/kavelto/Kavelto.ini",
     "/h/.config/kavelto/Kavelto.ini",
     MessageButtons::YesNo},
    {"empty configuration home counts as unset",
     "",
     "/h",
     {},
     {},
     "/h/.config/kavelto/Kavelto.ini",
     MessageButtons::YesNo},
    {"nowhere to create one", {}, {}, {}, {}, "", MessageButtons::Ok},
    {"relative home", {}, "h", {"h/.config/kavelto/Kavelto.ini"}, {}, "", MessageButtons::Ok},
};

class ColumnMapLookupTest : public testing::TestWithParam<LookupRow> {};

TEST_P(ColumnMapLookupTest, ReadsTheFirstThatExists) {
    const LookupRow& row = GetParam();
    const ColumnMapLookup lookup("/work/board", row.configHome, row.home);
    EXPECT_EQ(lookup.find([&](const std::string& path) { return row.existing.count(path) > 0; }),
              row.read);
    EXPECT_EQ(lookup.userFile(), row.userFile);
    EXPECT_EQ(lookup.canCreate(), !row.userFile.empty());
    const UserMessage box = lookup.missingMessage();
    EXPECT_EQ(box.buttons, row.buttons);
    EXPECT_EQ(box.caption, "Error");
    // The box names the folder searched and, where there is one, the file it offers to create.
    EXPECT_NE(box.text.find("Can't find Kavelto.ini file"), std::string::npos);
    EXPECT_NE(box.text.find("/work/board"), std::string::npos);
    if (!row.userFile.empty()) {
        EXPECT_NE(box.text.find("Create " + row.userFile + " with the lines 0, - and auto"),
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
    EXPECT_TRUE(read->byName);
    EXPECT_EQ(read->headerLines, 0);
    EXPECT_EQ(std::system(("rm -rf '" + home + "'").c_str()), 0);
}

// A file where the folder must go: the box names the path and the reason.
TEST(ColumnMapLookupFile, TellsWhyTheFileCannotBeCreated) {
    const TempFile blocker("not a folder");
    const ColumnMapLookup lookup("/work", blocker.path(), std::nullopt);
    const Result<void> created = lookup.createUserFile();
    ASSERT_FALSE(created.ok());
    EXPECT_EQ(created.failure().caption, "Error");
    EXPECT_EQ(created.failure().text.rfind("Can't create " + blocker.path(), 0), 0u)
        << created.failure().text;
}

} // namespace
} // namespace kavelto
