#include "PickListPath.h"
#include "ChildRuns.h"
#include "PickListPage.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <tuple>
#include <utility>

namespace kavelto {
namespace {

namespace fs = std::filesystem;

class PickListPathTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(dir_.empty()); }
    ~PickListPathTest() override { fs::remove_all(dir_); }
    static std::string Page(const fs::path& folder) { return folder / "picklst.html"; }
    static fs::perms Mode(const fs::path& path) { return fs::symlink_status(path).permissions(); }

    const fs::path dir_ = [] {
        char pattern[] = "/tmp/kavelto-path-XXXXXX";
        return fs::path(::mkdtemp(pattern) ? pattern : "");
    }();
    const fs::path run_ = dir_ / "run";
    const fs::path folder_ = dir_ / ("kavelto-" + std::to_string(::geteuid()));
};

// An existing directory that XDG_RUNTIME_DIR names by an absolute path serves, else TMPDIR's or
// /tmp; there a missing folder is made, a loose one tightened, one without write access
// repaired: all 0700. The variables are set in a child, out of the other tests' way.
TEST_F(PickListPathTest, ChoosesAPrivateFolder) {
    using Var = std::optional<std::string>; // a variable's value; nullopt when unset
    const auto pathFrom = [](const Var& runtime, const Var& temp) {
        return RunInChild([&] {
            for (const auto& [name, value] :
                 {std::pair("XDG_RUNTIME_DIR", runtime), {"TMPDIR", temp}})
                value ? ::setenv(name, value->c_str(), 1) : ::unsetenv(name);
            return GetPickListPath();
        });
    };
    fs::create_directory(run_);
    std::ofstream(dir_ / "file") << "x";
    const std::string tmp = dir_.string(), run = run_.string();
    const fs::path inTmp = fs::path("/tmp") / folder_.filename();
    const bool inTmpExisted = fs::exists(fs::symlink_status(inTmp));
    const struct {
        Var runtime, temp;
        int modeBefore; // of the folder; -1: none there
        fs::path folder;
    } cases[] = {
        {run, tmp, -1, run_ / "kavelto"},      {run + "/", tmp, 0777, run_ / "kavelto"},
        {tmp + "/missing", tmp, -1, folder_},  {tmp + "/file", tmp, 0500, folder_},
        {"", tmp + "/", 0777, folder_},        {std::nullopt, std::nullopt, -1, inTmp},
        {std::nullopt, "relative", -1, inTmp},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.folder.string() + " from " + std::to_string(c.modeBefore));
        if (c.folder != inTmp || !inTmpExisted)
            fs::remove(c.folder);
        if (c.modeBefore >= 0 && fs::create_directory(c.folder))
            fs::permissions(c.folder, fs::perms(c.modeBefore));
        EXPECT_EQ(pathFrom(c.runtime, c.temp), Page(c.folder));
        EXPECT_TRUE(fs::is_directory(fs::symlink_status(c.folder)));
        EXPECT_EQ(Mode(c.folder), fs::perms::owner_all);
    }
    if (!inTmpExisted)
        fs::remove(inTmp);
}

// Whatever else stands at the folder's place is refused and left as it was, and the user told
// why; a link is not followed, not even to a private folder of ours. Giving a folder away takes
// root.
TEST_F(PickListPathTest, RefusesWhatIsNotAPlainFolderOfOurs) {
    const fs::path target = dir_ / "elsewhere";
    const auto state = [&] {
        return std::tuple(fs::symlink_status(folder_).type(), fs::symlink_status(target).type(),
                          Mode(folder_), Mode(target));
    };
    for (const std::string planted : {"link to our folder", "dangling link", "file", "foreign"}) {
        SCOPED_TRACE(planted);
        fs::remove_all(target);
        fs::remove(folder_);
        if (planted == "file") {
            std::ofstream(folder_) << "x";
        } else if (planted == "foreign") {
            if (::geteuid() != 0)
                continue;
            fs::create_directory(folder_);
            ASSERT_EQ(::chown(folder_.c_str(), 65534, 65534), 0);
        } else {
            if (planted == "link to our folder" && fs::create_directory(target))
                fs::permissions(target, fs::perms::owner_all);
            fs::create_symlink(target, folder_);
        }
        const auto before = state();
        const std::string path = PickListPathIn(nullptr, dir_.c_str());
        EXPECT_EQ(PageWriteFailure(WritePickListPage(path, "page")).value_or(UserMessage{}).text,
                  "Can't create html file")
            << path;
        EXPECT_EQ(state(), before);
    }
}

// The page replaces a link planted at its place instead of following it, and a second export
// replaces the first whole, leaving nothing else beside it; only its owner may read it.
TEST_F(PickListPathTest, WritesThePageWholeAtThePath) {
    const std::string page = PickListPathIn(nullptr, dir_.c_str());
    std::ofstream(dir_ / "victim") << "precious";
    fs::create_symlink(dir_ / "victim", page);
    ASSERT_EQ(WritePickListPage(page, "first page"), PageWriteResult::Written);
    ASSERT_EQ(WritePickListPage(page, "second"), PageWriteResult::Written);
    const auto contents = [](const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    EXPECT_EQ(contents(dir_ / "victim"), "precious");
    EXPECT_EQ(contents(page), "second");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1);
    EXPECT_EQ(Mode(page) & (fs::perms::group_all | fs::perms::others_all), fs::perms::none);
    EXPECT_EQ(WritePickListPage(Page(dir_ / "missing"), "page"), PageWriteResult::CantCreate);
}

} // namespace
} // namespace kavelto
