#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

#include "skin/dib_image_list.h"
#include "skin/form_stream.h"
#include "skin/plain_controls.h"
#include "skin_pixels.h"
#include "support/run_tool.h"
#include "support/temp_dir.h"

namespace kavlo {
namespace {

using test::RunTool;
using test::Solid;
using test::TempDir;

// Width and height from a PNG's header.
std::pair<int, int> PngSize(const std::string& png) {
    auto be32 = [&png](size_t at) {
        return static_cast<int>(static_cast<uint8_t>(png[at]) << 24 |
                                static_cast<uint8_t>(png[at + 1]) << 16 |
                                static_cast<uint8_t>(png[at + 2]) << 8 | static_cast<uint8_t>(png[at + 3]));
    };
    if (png.size() < 24 || png.compare(1, 3, "PNG") != 0) {
        return {0, 0};
    }
    return {be32(16), be32(20)};
}

std::vector<int> Images(const nlohmann::json& summary, const std::string& list) {
    for (const auto& entry : summary["lists"]) {
        if (entry["name"] == list) {
            return entry["images"].get<std::vector<int>>();
        }
    }
    return {};
}

// A form with the three kinds of image list the window has.
std::string SheetForm() {
    FormObject root;
    root.class_name = "TForm1";
    root.name = "Form1";
    TDIBImageList skin;
    for (const char* name : {"Demo_Off", "Demo_On", "Demo_Off_I", "Demo_On_I", "Exit", "Exit_I", "Right",
                             "Left", "big", "I_Big", "New", ""}) {
        TDIBImagesItem& item = skin.Add();
        item.SetDisplayName(name);
        item.DIB().Assign(Solid(20, 10, 0xFF406080));
    }
    FormObject list1{0, {}, "TDIBImageList", "DIBImageList1", {}, {}};
    skin.WriteToForm(list1.properties, nullptr);
    TDIBImageList gallery;
    gallery.Add().DIB().Assign(Solid(1, 1, 0xFF000000));
    FormObject list2{0, {}, "TDIBImageList", "DIBImageList2", {}, {}};
    gallery.WriteToForm(list2.properties, nullptr);
    std::vector<TMemoryDIB> buttons(4, Solid(14, 13, 0xFF00FF00));
    FormObject controls{0, {}, "TImageList", "ControlsImageList", {}, {}};
    controls.properties.push_back(
        {"Bitmap", FormValue::Binary(
                       WriteImageListData({&buttons[0], &buttons[1], &buttons[2], &buttons[3]}, 14, 13))});
    root.children = {list1, list2, controls};
    return WriteFormStream(root).bytes;
}

TEST(SkinSheetToolTest, EachSchemeGetsItsOwnImagesAndTheSharedOnes) {
    TempDir dir;
    test::WriteHostFile(dir / "form.dfm", SheetForm());
    struct Case {
        int scheme;
        std::vector<int> skin;
        std::vector<int> controls;
    };
    // Single images have their night variant at +1, off/on pairs at +2; Right, Left, New and the
    // unnamed image have none and appear on both sheets.
    const Case cases[] = {
        {0, {0, 1, 4, 6, 7, 8, 10, 11}, {0, 1}},
        {1, {2, 3, 5, 6, 7, 9, 10, 11}, {2, 3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.scheme);
        const std::string out = (dir / ("sheet" + std::to_string(c.scheme) + ".png")).string();
        const auto run = RunTool(
            {"skin-sheet", out, "--scheme", std::to_string(c.scheme), "--form", (dir / "form.dfm").string()});
        ASSERT_EQ(run.exit_code, 0) << run.err;
        const auto summary = nlohmann::json::parse(run.out);
        EXPECT_EQ(Images(summary, "DIBImageList1"), c.skin);
        EXPECT_EQ(Images(summary, "DIBImageList2"), std::vector<int>{0});
        EXPECT_EQ(Images(summary, "ControlsImageList"), c.controls);
        const auto size = PngSize(test::ReadHostFile(out));
        EXPECT_EQ(size.first, summary["width"].get<int>());
        EXPECT_EQ(size.second, summary["height"].get<int>());
        EXPECT_GT(size.second, 3 * 10);
    }
}

TEST(SkinSheetToolTest, TheBuiltInWindowHasThreeFullListsOnItsSheet) {
    TempDir dir;
    const auto run = RunTool({"skin-sheet", (dir / "night.png").string(), "--scheme", "1"});
    ASSERT_EQ(run.exit_code, 0) << run.err;
    const auto summary = nlohmann::json::parse(run.out);
    EXPECT_FALSE(summary.contains("errors")) << summary.dump();
    const std::vector<int> skin = Images(summary, "DIBImageList1");
    // Night backgrounds and covers, no day ones.
    for (int index : {53, 79, 93, 95, 97}) {
        EXPECT_NE(std::find(skin.begin(), skin.end(), index), skin.end()) << index;
    }
    for (int index : {0, 52, 78, 92, 96}) {
        EXPECT_EQ(std::find(skin.begin(), skin.end(), index), skin.end()) << index;
    }
    EXPECT_EQ(Images(summary, "DIBImageList2").size(), 101u);
    EXPECT_EQ(Images(summary, "ControlsImageList").front(), 15);
    EXPECT_EQ(PngSize(test::ReadHostFile(dir / "night.png")).first, summary["width"].get<int>());
}

TEST(SkinSheetToolTest, FailuresExitWithAMessage) {
    TempDir dir;
    test::WriteHostFile(dir / "garbage.dfm", "TPF0\x01");
    FormObject empty{0, {}, "TForm1", "Form1", {}, {}};
    test::WriteHostFile(dir / "empty.dfm", WriteFormStream(empty).bytes);
    const std::string out = (dir / "out.png").string();
    struct Case {
        std::vector<std::string> args;
        const char* message;
    };
    const Case cases[] = {
        {{"skin-sheet", out, "--form", (dir / "missing.dfm").string()}, "cannot read"},
        {{"skin-sheet", out, "--form", (dir / "garbage.dfm").string()}, "cannot be read"},
        {{"skin-sheet", out, "--form", (dir / "empty.dfm").string()}, "no image lists"},
        {{"skin-sheet", (dir / "no/such/dir/out.png").string()}, "cannot write"},
        {{"skin-sheet", out, "--scheme", "2"}, "scheme"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        const auto run = RunTool(c.args);
        EXPECT_NE(run.exit_code, 0);
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    }
}

} // namespace
} // namespace kavlo
