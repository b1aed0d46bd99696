#include "PickListPage.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace kavelto {
namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

fs::path MakeTempDir() {
    char pattern[] = "/tmp/kavelto-page-XXXXXX";
    return ::mkdtemp(pattern) ? fs::path(pattern) : fs::path();
}

// Every test gets a directory of its own, removed with all it holds.
class PageWriteTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(dir_.empty()); }
    ~PageWriteTest() override { fs::remove_all(dir_); }

    const fs::path dir_ = MakeTempDir();
    const fs::path page_ = dir_ / "picklst.html";
};

// A planted link is replaced, never followed; a second export overwrites the first whole.
TEST_F(PageWriteTest, ReplacesThePageWhole) {
    std::ofstream(dir_ / "victim") << "precious";
    fs::create_symlink(dir_ / "victim", page_);
    ASSERT_EQ(WritePickListPage(page_.string(), "first page"), PageWriteResult::Written);
    EXPECT_EQ(ReadFile(dir_ / "victim"), "precious");
    ASSERT_EQ(WritePickListPage(page_.string(), "second"), PageWriteResult::Written);
    EXPECT_EQ(ReadFile(page_), "second");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 2);
}

TEST_F(PageWriteTest, MissingDirectoryCantCreate) {
    EXPECT_EQ(WritePickListPage((dir_ / "missing" / "picklst.html").string(), "page"),
              PageWriteResult::CantCreate);
}

} // namespace
} // namespace kavelto
