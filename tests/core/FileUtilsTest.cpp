#include "files/FileUtils.h"
#include "files/FileLock.h"
#include "files/TextFileReader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kavelto {
namespace {

namespace fs = std::filesystem;

// A scratch folder of the test's own, removed again at scope end.
class FileUtilsTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(dir_.empty()); }
    ~FileUtilsTest() override { fs::remove_all(dir_); }

    std::string put(const std::string& name, const std::string& bytes) const {
        std::ofstream(dir_ / name, std::ios::binary) << bytes;
        return dir_ / name;
    }
    static std::string Content(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    std::set<std::string> Names() const {
        std::set<std::string> names;
        for (const fs::directory_entry& entry : fs::directory_iterator(dir_))
            names.insert(entry.path().filename());
        return names;
    }
    static unsigned Mode(const fs::path& path) {
        struct stat status {};
        return ::lstat(path.c_str(), &status) == 0 ? status.st_mode & 07777 : 0;
    }

    const fs::path dir_ = [] {
        char pattern[] = "/tmp/kavelto-files-XXXXXX";
        return fs::path(::mkdtemp(pattern) ? pattern : "");
    }();
};

// Each line a reader gives, read with either call, closed by "|". A carriage return before the
// feed belongs to the line end, unless the kept part of a cut line ends right on it.
struct LineRow {
    const char* name;
    std::string bytes;
    TextFileReader::LineEnds ends;
    std::size_t maxLength;
    const char* lines;
};

const LineRow kLineRows[] = {
    {"feeds", "ab\ncd\n", TextFileReader::LineEnds::Feed, 80, "ab|cd|"},
    {"CR LF", "ab\r\ncd\r\n", TextFileReader::LineEnds::Feed, 80, "ab|cd|"},
    {"last line without an end", "ab\ncd", TextFileReader::LineEnds::Feed, 80, "ab|cd|"},
    {"a lone return is text", "ab\rcd\n", TextFileReader::LineEnds::Feed, 80, "ab\rcd|"},
    {"a lone return ends a line", "ab\rcd\r", TextFileReader::LineEnds::FeedOrReturn, 80, "ab|cd|"},
    {"CR LF where a return ends a line", "ab\r\ncd\r\n", TextFileReader::LineEnds::FeedOrReturn, 80,
     "ab|cd|"},
    {"cut before the return", "abcd\r\nef\n", TextFileReader::LineEnds::Feed, 3, "abc|ef|"},
    {"cut right after the return", "abc\r\nef\n", TextFileReader::LineEnds::Feed, 4, "abc|ef|"},
    {"UTF-8 byte order mark",
     "\xEF\xBB\xBF"
     "ab\n",
     TextFileReader::LineEnds::Feed, 80, "ab|"},
};

std::string LinesAsStrings(const std::string& path, const LineRow& row) {
    TextFileReader reader(path, row.ends);
    std::string lines;
    std::string line;
    while (reader.readLine(line, row.maxLength) == TextFileReader::Status::Line)
        lines += line + "|";
    return lines;
}

std::string LinesIntoBuffer(const std::string& path, const LineRow& row) {
    TextFileReader reader(path, row.ends);
    std::string lines;
    std::vector<char> buffer(row.maxLength + 1);
    std::size_t length = 0;
    while (reader.readLine(buffer.data(), buffer.size(), length) == TextFileReader::Status::Line)
        lines += std::string(buffer.data(), length) + "|";
    return lines;
}

TEST_F(FileUtilsTest, ReadsTextLineByLineWithEitherCall) {
    for (const LineRow& row : kLineRows) {
        SCOPED_TRACE(row.name);
        const std::string path = put("lines.txt", row.bytes);
        EXPECT_EQ(LinesAsStrings(path, row), row.lines);
        EXPECT_EQ(LinesIntoBuffer(path, row), row.lines);
    }
}

// A file that could not be opened reads as an error, never as an empty file.
TEST_F(FileUtilsTest, ReadsAFileThatIsNotThereAsAnError) {
    TextFileReader reader((dir_ / "none.txt").string());
    std::string line;
    EXPECT_EQ(std::make_tuple(reader.isOpen(), reader.readLine(line, 100)),
              std::make_tuple(false, TextFileReader::Status::Error));
}

// Only a regular file is read, and a FIFO or a device is refused at once: an ordinary open would
// wait for the FIFO's writer, and /dev/zero never ends. The cap holds a file of its size.
TEST_F(FileUtilsTest, ReadsWholeRegularFilesUpToTheCap) {
    struct Case {
        const char* name;
        std::function<std::string()> path;
        std::int64_t cap;
        std::string bytes; // read, or
        std::string reason;
        FileStep step = FileStep::Open;
    };
    const std::vector<Case> cases = {
        {"regular file", [&] { return put("a", "abc"); }, 10, "abc", ""},
        {"exactly the cap", [&] { return put("b", "abc"); }, 3, "abc", ""},
        {"empty file", [&] { return put("c", ""); }, 3, "", ""},
        {"one byte over the cap", [&] { return put("d", "abcd"); }, 3, "", "File too large",
         FileStep::Read},
        {"FIFO", [&] { return ::mkfifo((dir_ / "fifo").c_str(), 0600) == 0 ? dir_ / "fifo" : ""; },
         10, "", "Not a regular file"},
        {"device", [] { return "/dev/zero"; }, 10, "", "Not a regular file"},
        {"folder", [&] { return dir_; }, 10, "", "Not a regular file"},
        {"missing file", [&] { return dir_ / "missing"; }, 10, "", "No such file or directory"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = c.path();
        const FileResult<std::string> read = ReadWholeFile<std::string>(path, c.cap);
        if (c.reason.empty()) {
            EXPECT_EQ(read ? read.value() : "failed: " + read.failure().reason, c.bytes);
            continue;
        }
        ASSERT_FALSE(read.ok());
        EXPECT_EQ(std::tie(read.failure().step, read.failure().path, read.failure().reason),
                  std::tie(c.step, path, c.reason));
    }
}

// The bytes and mode given replace whatever was at the path, a link included, which is never
// followed; a failure leaves the folder as it was, without a temporary file.
TEST_F(FileUtilsTest, WritesAtomically) {
    put("victim", "old");
    fs::create_symlink(dir_ / "victim", dir_ / "link");
    fs::create_directories(dir_ / "occupied" / "inside");
    struct Case {
        const char* name;
        std::string path;
        mode_t mode;
        std::string reason; // empty when written
        FileStep step = FileStep::Create;
    };
    const std::vector<Case> cases = {
        {"new file", dir_ / "new", 0640, ""},
        {"existing file, mode changed", dir_ / "new", 0600, ""},
        {"planted link", dir_ / "link", 0600, ""},
        {"folder in the way", dir_ / "occupied", 0600, "Is a directory", FileStep::Write},
        {"missing folder", dir_ / "missing" / "file", 0600, "No such file or directory"},
        {"empty path", "", 0600, "No such file or directory"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const FileResult<void> written =
            WriteFileAtomically(c.path, c.name, c.mode, Durability::OnDisk);
        if (c.reason.empty()) {
            EXPECT_TRUE(written.ok()) << written.failure().reason;
            EXPECT_EQ(std::make_tuple(Content(c.path), Mode(c.path), fs::is_symlink(c.path)),
                      std::make_tuple(std::string(c.name), unsigned(c.mode), false));
        } else {
            ASSERT_FALSE(written.ok());
            EXPECT_EQ(std::tie(written.failure().step, written.failure().reason),
                      std::tie(c.step, c.reason));
        }
    }
    EXPECT_EQ(Content(dir_ / "victim"), "old");
    EXPECT_EQ(Names(), (std::set<std::string>{"link", "new", "occupied", "victim"}));
}

// A private folder is a real directory of the effective user with mode 0700: made so when
// missing, set back to 0700 when looser, refused when a link or a file stands there, or when it
// is another user's (giving a folder away takes root).
TEST_F(FileUtilsTest, MakesPrivateFolders) {
    fs::create_directory(dir_ / "loose");
    fs::permissions(dir_ / "loose", fs::perms::all);
    fs::create_symlink(dir_ / "loose", dir_ / "link");
    put("file", "");
    fs::create_directory(dir_ / "other");
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown((dir_ / "other").c_str(), 65534, 65534), 0);
    }
    struct Case {
        const char* name;
        fs::path path;
        MissingParents parents;
        std::string reason; // empty when made
    };
    const std::vector<Case> cases = {
        {"missing", dir_ / "new", MissingParents::Refuse, ""},
        {"loose", dir_ / "loose", MissingParents::Refuse, ""},
        {"parents refused", dir_ / "p" / "q", MissingParents::Refuse, "No such file or directory"},
        {"parents made", dir_ / "r" / "s", MissingParents::Make, ""},
        {"link", dir_ / "link", MissingParents::Make, "A link, not a folder"},
        {"file", dir_ / "file", MissingParents::Make, "Not a directory"},
        {"under a file", dir_ / "file" / "sub", MissingParents::Make, "Not a directory"},
        {"another user's", dir_ / "other", MissingParents::Refuse,
         root ? "Owned by another user" : ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const FileResult<void> made = MakePrivateFolder(c.path, c.parents);
        EXPECT_EQ(made ? "" : made.failure().reason, c.reason);
        if (c.reason.empty()) {
            EXPECT_EQ(std::make_tuple(Mode(c.path), fs::is_symlink(c.path)),
                      std::make_tuple(0700u, false));
        }
    }
    EXPECT_EQ(std::make_tuple(Mode(dir_ / "r"), fs::is_symlink(dir_ / "link")),
              std::make_tuple(0700u, true));
    // The failure names the first folder that could not be made.
    const FileResult<void> deep =
        MakePrivateFolder(dir_ / "file" / "a" / "b", MissingParents::Make);
    ASSERT_FALSE(deep);
    EXPECT_EQ(std::tie(deep.failure().path, deep.failure().reason),
              std::make_tuple((dir_ / "file" / "a").string(), "Not a directory"));
}

// Whether another process can take the lock on path, asked of a child that only opens and locks.
bool AnotherProcessLocks(const std::string& path) {
    const pid_t child = ::fork();
    if (child == 0) {
        const int fd = ::open(path.c_str(), O_RDWR);
        ::_exit(fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0 ? 0 : 1);
    }
    int status = -1;
    return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

// A lock excludes another process and another lock of this one until it goes.
TEST_F(FileUtilsTest, LocksExcludeUntilReleased) {
    const std::string path = dir_ / "lock";
    {
        const FileResult<FileLock> first = FileLock::Take(path);
        ASSERT_TRUE(first.ok());
        EXPECT_TRUE(first->held());
        const FileResult<FileLock> second = FileLock::Take(path);
        EXPECT_TRUE(second.ok() && !second->held());
        EXPECT_FALSE(AnotherProcessLocks(path));
    }
    EXPECT_TRUE(AnotherProcessLocks(path));
    const FileResult<FileLock> again = FileLock::Take(path);
    EXPECT_TRUE(again.ok() && again->held());
    fs::create_symlink(path, dir_ / "link");
    EXPECT_EQ(FileLock::Take(dir_ / "link").failure().reason, "Too many levels of symbolic links");
}

} // namespace
} // namespace kavelto
