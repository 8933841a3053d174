#include "platform/posix/windows_path.h"

#include <gtest/gtest.h>

#include <cctype>

namespace kavlo {
namespace {

TEST(WindowsPath, FullPathNormalisesWithPerDriveCurrentDirectories) {
    CurrentDirectories current;
    current.Set('D', {"DATA", "SUB"});
    current.Set('C', {"KAVLO"}); // C: is the current drive, D: keeps its own directory
    const struct {
        std::string path;
        std::string full;
    } cases[] = {
        {"C:\\WINDOWS\\kavlo.ini", "C:\\WINDOWS\\kavlo.ini"},
        {"c:/windows//system\\\\x.dll", "c:\\windows\\system\\x.dll"},
        {"C:\\", "C:\\"},
        {"C:", "C:\\KAVLO"},
        {"C:FOO", "C:\\KAVLO\\FOO"},
        {"D:FOO", "D:\\DATA\\SUB\\FOO"},
        {"d:", "D:\\DATA\\SUB"},
        {"E:FOO", "E:\\FOO"}, // a drive never visited starts at its root
        {"FOO", "C:\\KAVLO\\FOO"},
        {"\\FOO", "C:\\FOO"},
        {"/FOO/", "C:\\FOO\\"},
        {"C:\\A\\", "C:\\A\\"},
        {"C:\\A\\.", "C:\\A"},
        {"C:\\A\\B\\..", "C:\\A"},
        {"C:\\A\\B\\..\\", "C:\\A\\"},
        {"C:\\A\\.\\B\\.\\..\\C", "C:\\A\\C"},
        {"C:\\..\\..\\A", "C:\\A"}, // ".." stops at the root
        {"D:..\\..\\..\\X", "D:\\X"},
        {"..", "C:\\"},
        {".", "C:\\KAVLO"},
        {"\\\\server\\share", "C:\\server\\share"},
        {"C:\\Program Files\\...\\x", "C:\\Program Files\\...\\x"},
        {"C:\\\x8Elu\x9Dou\xE8k\xFD", "C:\\\x8Elu\x9Dou\xE8k\xFD"},
    };
    for (const auto& c : cases) {
        auto full = MakeFullPath(c.path, current);
        ASSERT_TRUE(full.has_value()) << c.path;
        // The drive letter comes out in upper case, the names as written.
        std::string expected = c.full;
        expected[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(expected[0])));
        EXPECT_EQ(full->Format(), expected) << c.path;
    }
    EXPECT_FALSE(MakeFullPath("", current).has_value());
}

TEST(WindowsPath, NamesAndRoots) {
    for (const char* good :
         {"KAVLO.EXE", "Program Files", "a.b.c", "...", "\x8Elu\x9Dou\xE8k\xFD", "x+y=z"}) {
        EXPECT_TRUE(IsValidWindowsName(good)) << good;
    }
    for (const char* bad : {"", "a*b", "a?b", "a:b", "a|b", "a<b", "a>b", "a\"b", "tab\there"}) {
        EXPECT_FALSE(IsValidWindowsName(bad)) << bad;
    }
    const struct {
        std::string root;
        std::optional<char> drive;
    } roots[] = {
        {"C:", 'C'},           {"d:\\", 'D'},          {"E:/", 'E'},       {"C:\\WINDOWS", std::nullopt},
        {"C:x", std::nullopt}, {"1:\\", std::nullopt}, {"", std::nullopt}, {"\\", std::nullopt}};
    for (const auto& c : roots) {
        EXPECT_EQ(DriveOfRoot(c.root), c.drive) << c.root;
    }
}

} // namespace
} // namespace kavlo
