#include "keeping/KeptFileWriter.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <thread>
#include <utility>

namespace kavelto {
namespace {

namespace fs = std::filesystem;

class KeptFileWriterTest : public testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/kavelto-writer-XXXXXX";
        folder_ = mkdtemp(pattern);
    }
    void TearDown() override { fs::remove_all(folder_); }

    KeptFileWriter::Job job(int pcbCount, std::string name = "kept") const {
        KeptFileWriter::Job job;
        job.folder = folder_ + "/sessions";
        job.paths = {job.folder + "/" + name};
        job.session.pcbCount = static_cast<std::uint32_t>(pcbCount);
        return job;
    }
    // The PCB count of the session kept at the path, or nothing while none can be read.
    static std::optional<std::uint32_t> KeptCount(const std::string& path) {
        std::ifstream in(path);
        const std::optional<KeptSession> kept =
            ParseKeptSession({std::istreambuf_iterator<char>(in), {}});
        return kept ? std::optional(kept->pcbCount) : std::nullopt;
    }

    std::string folder_;
};

// A write reaches the disk of its own accord, soon after, with no flush asked for: a crash a
// moment later keeps the user's place.
TEST_F(KeptFileWriterTest, WritesOfItsOwnAccord) {
    KeptFileWriter writer;
    // Idle a while first, waiting for work as it mostly is.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    const KeptFileWriter::Job written = job(7);
    writer.write(written);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!KeptCount(written.paths.front()) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(KeptCount(written.paths.front()), 7u);
}

// While writes for one file come faster than the writer settles, the last one reaches the disk;
// a write that moves the file there aside first is never dropped for a newer one.
TEST_F(KeptFileWriterTest, KeepsTheLastOfQuickWritesAndEveryMoveAside) {
    KeptFileWriter writer;
    writer.write(job(1));
    writer.write(job(2));
    writer.flush();
    EXPECT_EQ(KeptCount(job(0).paths.front()), 2u);
    KeptFileWriter::Job aside = job(4);
    aside.paths.push_back(folder_ + "/sessions/older");
    writer.write(job(3));
    writer.write(aside);
    writer.flush();
    EXPECT_EQ(KeptCount(folder_ + "/sessions/older"), 3u);
    EXPECT_EQ(KeptCount(job(0).paths.front()), 4u);
    // Quick writes for two files are two writes.
    writer.write(job(5, "one"));
    writer.write(job(6, "another"));
    writer.flush();
    EXPECT_EQ(std::make_pair(KeptCount(folder_ + "/sessions/one"),
                             KeptCount(folder_ + "/sessions/another")),
              std::make_pair(std::optional(5u), std::optional(6u)));
}

// A failed write is told once; the same failure again stays quiet until a write succeeds.
TEST_F(KeptFileWriterTest, TellsAFailureOnce) {
    std::ofstream(folder_ + "/file") << "";
    KeptFileWriter writer;
    KeptFileWriter::Job failing = job(1);
    failing.folder = folder_ + "/file/sessions";
    failing.paths = {failing.folder + "/kept"};
    const auto told = [&writer](const KeptFileWriter::Job& next) {
        writer.write(next);
        writer.flush();
        return writer.takeFailure().has_value();
    };
    EXPECT_TRUE(told(failing));
    EXPECT_FALSE(told(failing));
    EXPECT_FALSE(told(job(2)));
    EXPECT_TRUE(told(failing));
}

} // namespace
} // namespace kavelto
