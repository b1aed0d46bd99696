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

// An existing directory that XDG_RUNTIME_DIR names serves, else TMPDIR's, where a loose folder is
// tightened: both 0700 (reading the variables themselves: MainWindowTest). Only the page's owner
// may read it.
TEST_F(PickListPathTest, WritesThePageInAPrivateFolder) {
    EXPECT_EQ(PickListPathIn(dir_.c_str(), dir_.c_str()), dir_ / "kavelto" / "picklst.html");
    fs::create_directory(folder_);
    fs::permissions(folder_, fs::perms::all);
    const std::string page = PickListPathIn((dir_ / "missing").c_str(), dir_.c_str());
    EXPECT_EQ(page, folder_ / "picklst.html");
    ASSERT_TRUE(WritePickListPage(page, "the page").ok());
    std::ifstream written(page);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(written), {}), "the page");
    EXPECT_EQ(std::tuple(Mode(dir_ / "kavelto"), Mode(folder_), Mode(page)),
              std::tuple(fs::perms::owner_all, fs::perms::owner_all,
                         fs::perms::owner_read | fs::perms::owner_write));
}

// A link at the folder's place is refused and left as it was, and the user told why, even one to
// a private folder of ours (mkdtemp makes the test's folder 0700); so is another user's folder
// (giving a folder away takes root).
TEST_F(PickListPathTest, RefusesWhatIsNotAPlainFolderOfOurs) {
    const auto expectRefused = [&] {
        const auto before = std::tuple(fs::symlink_status(folder_).type(), Mode(folder_));
        const std::string page = PickListPathIn(nullptr, dir_.c_str());
        const Result<void> written = WritePickListPage(page, "page");
        EXPECT_EQ(written ? "" : written.failure().text, "Can't create html file");
        EXPECT_EQ(std::tuple(fs::symlink_status(folder_).type(), Mode(folder_)), before);
    };
    fs::create_symlink(dir_, folder_);
    expectRefused();
    if (::geteuid() == 0) {
        fs::remove(folder_);
        fs::create_directory(folder_);
        ASSERT_EQ(::chown(folder_.c_str(), 65534, 65534), 0);
        expectRefused();
    }
}

} // namespace
} // namespace kavelto
