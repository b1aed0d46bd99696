#include "PickListPage.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace kavelto {
namespace {

namespace fs = std::filesystem;

const std::string kPage = "<html><head></head><body>\n<p>x &amp; y</p>\n</body></html>\n";

// Every test gets a directory of its own, removed with all it holds.
class PageWriteTest : public testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/kavelto-page-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        dir_ = pattern;
        page_ = dir_ / "picklst.html";
    }
    void TearDown() override {
        fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(dir_);
    }

    static std::string ReadFile(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }

    static void WriteFile(const fs::path& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }

    // Also shows that no temporary file was left behind.
    std::set<std::string> Entries() const {
        std::set<std::string> names;
        for (const fs::directory_entry& entry : fs::directory_iterator(dir_))
            names.insert(entry.path().filename().string());
        return names;
    }

    fs::path dir_;
    fs::path page_;
};

TEST_F(PageWriteTest, WritesNewPageReadableByAll) {
    ASSERT_EQ(WritePickListPage(page_.string(), kPage), PageWriteResult::Written);
    EXPECT_EQ(ReadFile(page_), kPage);
    EXPECT_EQ(fs::status(page_).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                  fs::perms::others_read);
    EXPECT_EQ(Entries(), std::set<std::string>{"picklst.html"});
}

TEST_F(PageWriteTest, OverwritesLongerExistingPageWhole) {
    WriteFile(page_, std::string(4096, 'x'));
    ASSERT_EQ(WritePickListPage(page_.string(), kPage), PageWriteResult::Written);
    ASSERT_EQ(WritePickListPage(page_.string(), kPage), PageWriteResult::Written);
    EXPECT_EQ(ReadFile(page_), kPage);
    EXPECT_EQ(Entries(), std::set<std::string>{"picklst.html"});
}

TEST_F(PageWriteTest, ReplacesPlantedLinkWithoutTouchingItsTarget) {
    const fs::path victim = dir_ / "victim.txt";
    WriteFile(victim, "precious");
    fs::create_symlink(victim, page_);
    ASSERT_EQ(WritePickListPage(page_.string(), kPage), PageWriteResult::Written);
    EXPECT_EQ(ReadFile(victim), "precious");
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(page_)));
    EXPECT_EQ(ReadFile(page_), kPage);
    EXPECT_EQ(Entries(), (std::set<std::string>{"picklst.html", "victim.txt"}));
}

TEST_F(PageWriteTest, FailuresLeaveNoFileBehind) {
    const struct {
        const char* name;
        std::string path;
        PageWriteResult result;
    } cases[] = {
        {"empty path", "", PageWriteResult::CantCreate},
        {"missing directory", (dir_ / "missing" / "picklst.html").string(),
         PageWriteResult::CantCreate},
        // The page is written, but a directory in its place can't be replaced.
        {"directory at the path", (dir_ / "taken").string(), PageWriteResult::CantWrite},
    };
    fs::create_directory(dir_ / "taken");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(WritePickListPage(c.path, kPage), c.result);
        EXPECT_EQ(Entries(), std::set<std::string>{"taken"});
        EXPECT_TRUE(fs::is_empty(dir_ / "taken"));
    }
}

TEST_F(PageWriteTest, ReadOnlyDirectoryCantCreate) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only directories";
    fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_EQ(WritePickListPage(page_.string(), kPage), PageWriteResult::CantCreate);
    EXPECT_TRUE(Entries().empty());
}

} // namespace
} // namespace kavelto
