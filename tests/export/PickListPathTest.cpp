#include "PickListPath.h"
#include "PickListPage.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <tuple>
#include <unistd.h>

namespace kavelto {
namespace {

namespace fs = std::filesystem;

class PickListPathTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(dir_.empty()); }
    ~PickListPathTest() override { fs::remove_all(dir_); }
    static fs::perms Mode(const fs::path& path) { return fs::symlink_status(path).permissions(); }

    const fs::path dir_ = [] {
        char pattern[] = "/tmp/kavelto-path-XXXXXX";
        return fs::path(::mkdtemp(pattern) ? pattern : "");
    }();
    const fs::path folder_ = dir_ / ("kavelto-" + std::to_string(::geteuid()));
};

// An existing directory that XDG_RUNTIME_DIR names serves, else TMPDIR's; there a missing folder
// is made, a loose one tightened, one without write access repaired: all 0700. Reading the
// variables themselves: MainWindowTest.
TEST_F(PickListPathTest, ChoosesAPrivateFolder) {
    const fs::path run = dir_ / "run";
    const std::string tmp = dir_.string(), missing = tmp + "/missing", slashed = tmp + "/";
    fs::create_directory(run);
    EXPECT_EQ(PickListPathIn(run.c_str(), tmp.c_str()), run / "kavelto" / "picklst.html");
    EXPECT_EQ(Mode(run / "kavelto"), fs::perms::owner_all);
    fs::create_directory(folder_);
    fs::permissions(folder_, fs::perms::all);
    EXPECT_EQ(PickListPathIn(missing.c_str(), tmp.c_str()), folder_ / "picklst.html");
    EXPECT_EQ(Mode(folder_), fs::perms::owner_all);
    fs::permissions(folder_, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_EQ(PickListPathIn("", slashed.c_str()), folder_ / "picklst.html");
    EXPECT_EQ(Mode(folder_), fs::perms::owner_all);
}

// A link at the folder's place is refused and left as it was, and the user told why, even one to
// a private folder of ours; so is another user's folder (giving a folder away takes root).
TEST_F(PickListPathTest, RefusesWhatIsNotAPlainFolderOfOurs) {
    const auto expectRefused = [&] {
        const auto before = std::tuple(fs::symlink_status(folder_).type(), Mode(folder_));
        const std::string path = PickListPathIn(nullptr, dir_.c_str());
        EXPECT_EQ(PageWriteFailure(WritePickListPage(path, "page")).value_or(UserMessage{}).text,
                  "Can't create html file");
        EXPECT_EQ(std::tuple(fs::symlink_status(folder_).type(), Mode(folder_)), before);
    };
    fs::create_directory(dir_ / "ours");
    fs::permissions(dir_ / "ours", fs::perms::owner_all);
    fs::create_symlink(dir_ / "ours", folder_);
    expectRefused();
    if (::geteuid() == 0) {
        fs::remove(folder_);
        fs::create_directory(folder_);
        ASSERT_EQ(::chown(folder_.c_str(), 65534, 65534), 0);
        expectRefused();
    }
}

// The page replaces a link planted at its place instead of following it, leaving nothing else
// beside it; only its owner may read it.
TEST_F(PickListPathTest, WritesThePageWholeAtThePath) {
    const std::string page = PickListPathIn(nullptr, dir_.c_str());
    std::ofstream(dir_ / "victim") << "precious";
    fs::create_symlink(dir_ / "victim", page);
    ASSERT_EQ(WritePickListPage(page, "the page"), PageWriteResult::Written);
    std::ifstream victim(dir_ / "victim"), written(page);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(victim), {}), "precious");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(written), {}), "the page");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1);
    EXPECT_EQ(Mode(page) & (fs::perms::group_all | fs::perms::others_all), fs::perms::none);
}

} // namespace
} // namespace kavelto
