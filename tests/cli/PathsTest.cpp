// The folder of a path and a file beside it, by the platform's rules: '/' on POSIX; '\' or '/' and a leading
// drive on Windows.
#include "Paths.h"

#include <gtest/gtest.h>

namespace vlconvert {
namespace {

TEST(Paths, FolderAndFileBeside) {
    const struct {
        const char* path;
        const char* folder;
        const char* beside;  // errorLog.txt beside it
    } cases[] = {
        {"hh.txt", "", "errorLog.txt"},
        {"out/hh.txt", "out", "out/errorLog.txt"},
        {"out//hh.txt", "out", "out//errorLog.txt"},
        {"/hh.txt", "/", "/errorLog.txt"},
        {"/a/b/", "/a/b", "/a/b/errorLog.txt"},
#ifdef _WIN32
        {"out\\hh.txt", "out", "out\\errorLog.txt"},
        {"C:\\hh.txt", "C:\\", "C:\\errorLog.txt"},
        {"C:hh.txt", "C:", "C:errorLog.txt"},
        {"C:\\a\\\\hh.txt", "C:\\a", "C:\\a\\\\errorLog.txt"},
        {"\\\\server\\share\\hh.txt", "\\\\server\\share", "\\\\server\\share\\errorLog.txt"},
#else
        {"out\\hh.txt", "", "errorLog.txt"},  // a backslash is part of a name
        {"C:hh.txt", "", "errorLog.txt"},
#endif
    };
    for (const auto& c : cases) {
        EXPECT_EQ(folderOf(c.path), c.folder) << c.path;
        EXPECT_EQ(besideFile(c.path, "errorLog.txt"), c.beside) << c.path;
    }
}

// A file inside a folder given on its own (the error log in the folder of tables): the platform's separator
// put in only where the folder does not end with one.
TEST(Paths, FileInsideAFolder) {
    const struct {
        const char* folder;
        const char* path;
    } cases[] = {
        {"", "e.log"},         {"/", "/e.log"},
        {"out/", "out/e.log"},
#ifdef _WIN32
        {"out", "out\\e.log"}, {"C:\\Hands\\live", "C:\\Hands\\live\\e.log"},
        {"C:\\", "C:\\e.log"}, {"C:", "C:e.log"},  // the drive's current folder
#else
        {"out", "out/e.log"}, {"/a/b", "/a/b/e.log"}, {"C:", "C:/e.log"},  // a name like any other
#endif
    };
    for (const auto& c : cases)
        EXPECT_EQ(inFolder(c.folder, "e.log"), c.path) << c.folder;
}

}  // namespace
}  // namespace vlconvert
