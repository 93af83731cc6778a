// The one temporary-file-and-rename write: what it does to each kind of target.
#include "toolkit/FileReplacement.h"
#include "support/Bytes.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

namespace sorvanti::test {
namespace {

namespace fs = std::filesystem;

mode_t modeOf(const std::string& path) {
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st.st_mode & 07777;
}

size_t entries(const std::string& folder) {
    return static_cast<size_t>(std::distance(fs::directory_iterator(folder), {}));
}

TEST(FileReplacement, EachKindOfTargetIsReplacedOrRefusedWithoutATrace) {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    struct Case {
        const char* what;
        // Makes the target in `folder`; returns the path to write to.
        std::string (*make)(const TempFolder& folder);
        int error;              // 0: replaced
        const char* afterwards; // the content of folder/"t" afterwards
        mode_t mode;            // its permission bits afterwards
    };
    const Case cases[] = {
        {"new file", [](const TempFolder& f) { return f.path() + "t"; }, 0, "new",
         mode_t(0666 & ~mask)},
        {"old file keeps its mode",
         [](const TempFolder& f) {
             f.write("t", "old");
             fs::permissions(f.path() + "t", fs::perms(0640));
             return f.path() + "t";
         },
         0, "new", 0640},
        {"link to it stays a link",
         [](const TempFolder& f) {
             f.write("t", "old");
             fs::create_symlink("t", f.path() + "link");
             return f.path() + "link";
         },
         0, "new", mode_t(0666 & ~mask)},
        {"a folder",
         [](const TempFolder& f) {
             f.write("t", "old");
             fs::create_directory(f.path() + "d");
             return f.path() + "d";
         },
         EISDIR, "old", mode_t(0666 & ~mask)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder folder;
        const std::string target = c.make(folder);
        const size_t before = entries(folder.path());
        EXPECT_EQ(replaceFileContent(target, "new"), c.error);
        EXPECT_EQ(readBytes(folder.path() + "t"), c.afterwards);
        EXPECT_EQ(modeOf(folder.path() + "t"), c.mode);
        EXPECT_EQ(entries(folder.path()), std::max<size_t>(before, 1)) << "a temporary file left";
        EXPECT_EQ(fs::is_symlink(target), target != folder.path() + "t" && c.error == 0);
    }
}

TEST(FileReplacement, DiscardedOrUncommittedContentNeverReachesTheFile) {
    TempFolder folder;
    const std::string file = folder.write("t", "old");
    {
        FileReplacement replacement;
        ASSERT_EQ(replacement.open(file), 0);
        ASSERT_EQ(replacement.write("half"), 0);
        EXPECT_EQ(entries(folder.path()), 2u);
    }
    EXPECT_EQ(readBytes(file), "old");
    EXPECT_EQ(entries(folder.path()), 1u);
}

// A device has no content to keep: refused, or written in place when the caller asks.
TEST(FileReplacement, ADeviceIsRefusedOrWrittenInPlace) {
    FileReplacement refused;
    EXPECT_NE(refused.open("/dev/null"), 0);
    FileReplacement inPlace;
    ASSERT_EQ(inPlace.open("/dev/null", FileReplacement::Special::WriteInPlace), 0);
    EXPECT_EQ(inPlace.write("x"), 0);
    EXPECT_EQ(inPlace.commit(), 0);
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
}

} // namespace
} // namespace sorvanti::test
