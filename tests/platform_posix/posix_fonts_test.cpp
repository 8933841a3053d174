#include "platform/posix/posix_fonts.h"

#include <gtest/gtest.h>

#include "font_test_files.h"
#include "platform/posix/posix_file_system.h"
#include "support/temp_dir.h"

namespace kavlo {
namespace {

using test::TempDir;
using test::WriteHostFile;

class PosixFontsTest : public ::testing::Test {
protected:
    PosixFontsTest() {
        // The disc's fonts are TrueType files under picture names.
        WriteHostFile(dir_ / "disc/KAVLO/bb.jpg", test::BuildFont(u"Kavlo Display"));
        WriteHostFile(dir_ / "disc/KAVLO/bc.jpg",
                      test::BuildCollection({{{.bytes = test::Utf16Be(u"Kavlo Text")}},
                                             {{.bytes = test::Utf16Be(u"Kavlo Text \u010C")}}}));
        WriteHostFile(dir_ / "disc/KAVLO/photo.jpg", "\xFF\xD8\xFF\xE0 not a font");
        std::filesystem::create_directories(dir_ / "c");
    }

    TempDir dir_;
    PosixFileSystem fs_{(dir_ / "c").string(),
                        {DriveMapping{'E', (dir_ / "disc").string(), DriveType::CdRom}}};
    PosixFonts fonts_{fs_};
};

TEST_F(PosixFontsTest, RegisteredFacesAreFoundByFamily) {
    EXPECT_EQ(fonts_.AddFontResource("E:\\KAVLO\\bb.jpg"), 1);
    EXPECT_EQ(fonts_.AddFontResource("e:\\kavlo\\BC.JPG"), 2);
    fonts_.BroadcastFontChange();
    EXPECT_EQ(fonts_.BroadcastCount(), 1);
    const std::string bc_host = (dir_ / "disc/KAVLO/bc.jpg").string();
    EXPECT_EQ(fonts_.FindFace("KAVLO DISPLAY"), (dir_ / "disc/KAVLO/bb.jpg").string());
    EXPECT_EQ(fonts_.FindFace("kavlo text"), bc_host);
    EXPECT_EQ(fonts_.FindFace("Kavlo Text \xE8"), bc_host); // Windows-1250 name, other case
    EXPECT_FALSE(fonts_.FindFace("Kavlo").has_value());
    EXPECT_EQ(fonts_.Families(),
              (std::vector<std::string>{"Kavlo Display", "Kavlo Text", "Kavlo Text \xC8"}));
}

TEST_F(PosixFontsTest, FilesThatAreNoFontsAddNothing) {
    EXPECT_EQ(fonts_.AddFontResource("E:\\KAVLO\\photo.jpg"), 0);
    EXPECT_EQ(fonts_.AddFontResource("E:\\KAVLO\\missing.jpg"), 0);
    EXPECT_TRUE(fonts_.Families().empty());
    EXPECT_FALSE(fonts_.RemoveFontResource("E:\\KAVLO\\photo.jpg"));
}

TEST_F(PosixFontsTest, EachRegistrationNeedsItsOwnRemoval) {
    ASSERT_EQ(fonts_.AddFontResource("E:\\KAVLO\\bb.jpg"), 1);
    ASSERT_EQ(fonts_.AddFontResource("E:\\KAVLO\\BB.JPG"), 1);
    EXPECT_TRUE(fonts_.RemoveFontResource("E:\\KAVLO\\bb.jpg"));
    EXPECT_TRUE(fonts_.FindFace("Kavlo Display").has_value());
    EXPECT_TRUE(fonts_.RemoveFontResource("e:/kavlo/bb.jpg"));
    EXPECT_FALSE(fonts_.FindFace("Kavlo Display").has_value());
    EXPECT_FALSE(fonts_.RemoveFontResource("E:\\KAVLO\\bb.jpg"));
}

} // namespace
} // namespace kavlo
