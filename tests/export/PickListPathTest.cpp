#include "PickListPath.h"
#include "PickListPage.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <tuple>
#include <unistd.h>

namespace kavelto {
namespace {

namespace fs = std::filesystem;
using Var = std::optional<std::string>; // an environment value; nullopt when unset

const char* Value(const Var& var) {
    return var ? var->c_str() : nullptr;
}

fs::perms Mode(const fs::path& path) {
    return fs::symlink_status(path).permissions();
}

// Sets (or, given null, unsets) an environment variable for a scope, then puts back its value.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name))
            saved_ = old;
        Set(value);
    }
    ~ScopedEnv() { Set(Value(saved_)); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    void Set(const char* value) const {
        if (value)
            ::setenv(name_, value, 1);
        else
            ::unsetenv(name_);
    }

    const char* name_;
    Var saved_;
};

fs::path MakeTempDir() {
    char pattern[] = "/tmp/kavelto-path-XXXXXX";
    return ::mkdtemp(pattern) ? fs::path(pattern) : fs::path();
}

class PickListPathTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(dir_.empty()); }
    ~PickListPathTest() override { fs::remove_all(dir_); }

    std::string Page(const fs::path& folder) const { return (folder / "picklst.html").string(); }

    const fs::path dir_ = MakeTempDir();
    const fs::path run_ = dir_ / "run";
    const fs::path folder_ = dir_ / ("kavelto-" + std::to_string(::geteuid()));
};

TEST_F(PickListPathTest, MakesOrTightensThePrivateFolder) {
    for (const std::optional<fs::perms> before :
         {std::optional<fs::perms>(), {fs::perms(0755)}, {fs::perms(0777)}, {fs::perms(0500)}}) {
        SCOPED_TRACE(before ? static_cast<int>(*before) : -1);
        fs::remove(folder_);
        if (before) {
            fs::create_directory(folder_);
            fs::permissions(folder_, *before);
        }
        EXPECT_EQ(PickListPathIn(nullptr, dir_.c_str()), Page(folder_));
        EXPECT_TRUE(fs::is_directory(fs::symlink_status(folder_)));
        EXPECT_EQ(Mode(folder_), fs::perms::owner_all);
    }
}

TEST_F(PickListPathTest, PrefersAnExistingRuntimeDirectory) {
    fs::create_directory(run_);
    std::ofstream(dir_ / "file") << "x";
    const std::string tmp = dir_.string();
    const fs::path inTmp = fs::path("/tmp") / folder_.filename();
    const bool inTmpExisted = fs::exists(fs::symlink_status(inTmp));
    const struct {
        Var runtime, temp;
        fs::path folder;
    } cases[] = {
        {run_.string(), tmp, run_ / "kavelto"},
        {run_.string() + "/", tmp, run_ / "kavelto"},
        {(dir_ / "missing").string(), tmp, folder_},
        {(dir_ / "file").string(), tmp, folder_},
        {std::string(), tmp, folder_},
        {std::string("."), tmp, folder_},
        {std::nullopt, tmp + "/", folder_},
        {std::nullopt, std::nullopt, inTmp},
        {std::nullopt, std::string(), inTmp},
        {std::nullopt, std::string("relative"), inTmp},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.folder);
        EXPECT_EQ(PickListPathIn(Value(c.runtime), Value(c.temp)), Page(c.folder));
        EXPECT_EQ(Mode(c.folder), fs::perms::owner_all);
    }
    if (!inTmpExisted)
        fs::remove(inTmp);
}

// Whatever stands at the folder's place is refused and left as it was; a link is not followed,
// not even to a private folder of ours.
TEST_F(PickListPathTest, RefusesWhatIsNotAPlainFolderOfOurs) {
    enum class Planted { LinkToFolder, DanglingLink, PlainFile };
    const struct {
        Planted planted;
        fs::perms mode; // of the file, or of the folder the link leads to
    } cases[] = {{Planted::LinkToFolder, fs::perms(0700)},
                 {Planted::LinkToFolder, fs::perms(0755)},
                 {Planted::DanglingLink, fs::perms::none},
                 {Planted::PlainFile, fs::perms(0700)}};
    const fs::path target = dir_ / "elsewhere";
    const auto state = [&] {
        return std::tuple(fs::symlink_status(folder_).type(), fs::symlink_status(target).type(),
                          Mode(folder_), Mode(target));
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.planted));
        fs::remove_all(target);
        fs::remove(folder_);
        if (c.planted == Planted::PlainFile) {
            std::ofstream(folder_) << "x";
            fs::permissions(folder_, c.mode);
        } else {
            fs::create_symlink(target, folder_);
        }
        if (c.planted == Planted::LinkToFolder) {
            fs::create_directory(target);
            fs::permissions(target, c.mode);
        }
        const auto before = state();
        EXPECT_EQ(PickListPathIn(nullptr, dir_.c_str()), "");
        EXPECT_EQ(state(), before);
    }
}

TEST_F(PickListPathTest, RefusesAFolderOfAnotherUser) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "giving the folder away takes root";
    fs::create_directory(folder_);
    fs::permissions(folder_, fs::perms(0777));
    ASSERT_EQ(::chown(folder_.c_str(), 65534, 65534), 0);
    EXPECT_EQ(PickListPathIn(nullptr, dir_.c_str()), "");
    EXPECT_EQ(Mode(folder_), fs::perms(0777));
}

TEST_F(PickListPathTest, PageWrittenTwiceLandsAtThePath) {
    const std::string path = PickListPathIn(nullptr, dir_.c_str());
    ASSERT_EQ(WritePickListPage(path, "first"), PageWriteResult::Written);
    ASSERT_EQ(WritePickListPage(path, "second"), PageWriteResult::Written);
    std::ifstream in(path, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "second");
    EXPECT_EQ(Mode(path) & (fs::perms::group_all | fs::perms::others_all), fs::perms::none);
}

TEST_F(PickListPathTest, ReadsTheEnvironment) {
    fs::create_directory(run_);
    const ScopedEnv temp("TMPDIR", dir_.c_str());
    {
        const ScopedEnv runtime("XDG_RUNTIME_DIR", run_.c_str());
        EXPECT_EQ(GetPickListPath(), Page(run_ / "kavelto"));
    }
    const ScopedEnv runtime("XDG_RUNTIME_DIR", nullptr);
    EXPECT_EQ(GetPickListPath(), Page(folder_));
}

} // namespace
} // namespace kavelto
