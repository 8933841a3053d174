#include <gtest/gtest.h>

#include <png.h>

#include <nlohmann/json.hpp>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "skin/controls/dib_image_list.h"
#include "skin/controls/plain_controls.h"
#include "skin/formats/form_stream.h"
#include "skin_pixels.h"
#include "support/run_tool.h"
#include "support/temp_dir.h"

namespace kavlo {
namespace {

using test::RunTool;
using test::Solid;
using test::TempDir;

// A sheet read back: its pixels as 0x00RRGGBB words, top-down.
struct Sheet {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> rgb;

    size_t Count(uint32_t colour) const {
        return static_cast<size_t>(std::count(rgb.begin(), rgb.end(), colour));
    }
};

std::optional<Sheet> ReadSheet(const std::string& png) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, png.data(), png.size())) {
        return std::nullopt;
    }
    image.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> bytes(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, bytes.data(), 0, nullptr)) {
        return std::nullopt;
    }
    Sheet sheet{static_cast<int>(image.width), static_cast<int>(image.height), {}};
    for (size_t i = 0; i + 2 < bytes.size(); i += 3) {
        sheet.rgb.push_back(uint32_t{bytes[i]} << 16 | uint32_t{bytes[i + 1]} << 8 | bytes[i + 2]);
    }
    return sheet;
}

std::vector<int> Indexes(const nlohmann::json& summary, const std::string& list, const char* key = "images") {
    for (const auto& entry : summary["lists"]) {
        if (entry["name"] == list) {
            return entry[key].get<std::vector<int>>();
        }
    }
    return {};
}

std::vector<int> Range(int count) {
    std::vector<int> all;
    for (int i = 0; i < count; ++i) {
        all.push_back(i);
    }
    return all;
}

constexpr uint32_t kGreen = 0x7FD14A;  // scheme 0's accent
constexpr uint32_t kIndigo = 0x7A6BFF; // scheme 1's accent
constexpr uint32_t kGrey = 0x8C8C8C;   // the other scheme's labels
constexpr uint32_t kKey = 0xFF00FF;
constexpr int kSkinWidth = 20, kSkinHeight = 10;

const char* const kSkinNames[] = {"Demo_Off", "Demo_On", "Demo_Off_I", "Demo_On_I", "Exit", "Exit_I",
                                  "Right",    "Left",    "big",        "I_Big",     "New",  ""};

// A colour of its own for every image of the form, none of them used by the sheet itself.
uint32_t SkinColour(int i) {
    return 0x100000u * static_cast<uint32_t>(i + 1) + 0x0305u * static_cast<uint32_t>(i) + 0x10;
}
uint32_t ControlColour(int i) {
    return 0x0030A0u + 0x0A0000u * static_cast<uint32_t>(i);
}
constexpr uint32_t kGalleryColour = 0x0F0F0F;

// A form with the three kinds of image list the window has. "Right" is keyed out in its left half;
// with `background`, the container's background image is "Exit" (and "Exit_I" at night).
std::string SheetForm(bool background) {
    FormObject root;
    root.class_name = "TForm1";
    root.name = "Form1";
    TDIBImageList skin;
    for (int i = 0; i < 12; ++i) {
        TDIBImagesItem& item = skin.Add();
        item.SetDisplayName(kSkinNames[i]);
        item.DIB().Assign(Solid(kSkinWidth, kSkinHeight, 0xFF000000u | SkinColour(i)));
    }
    TMemoryDIB& right = skin.Item(6)->DIB();
    for (int y = 0; y < kSkinHeight; ++y) {
        for (int x = 0; x < kSkinWidth / 2; ++x) {
            right.SetPixel(x, y, 0xFF000000u | kKey);
        }
    }
    right.SetTransparent(true);
    right.SetTransparentMode(TTransparentMode::tmFixed);
    right.SetTransparentColor(0xFF00FF);
    FormObject list1{0, {}, "TDIBImageList", "DIBImageList1", {}, {}};
    skin.WriteToForm(list1.properties, nullptr);
    TDIBImageList gallery;
    gallery.Add().DIB().Assign(Solid(1, 1, 0xFF000000u | kGalleryColour));
    FormObject list2{0, {}, "TDIBImageList", "DIBImageList2", {}, {}};
    gallery.WriteToForm(list2.properties, nullptr);
    std::vector<TMemoryDIB> buttons;
    for (int i = 0; i < 4; ++i) {
        buttons.push_back(Solid(14, 13, 0xFF000000u | ControlColour(i)));
    }
    FormObject controls{0, {}, "TImageList", "ControlsImageList", {}, {}};
    controls.properties.push_back(
        {"Bitmap", FormValue::Binary(
                       WriteImageListData({&buttons[0], &buttons[1], &buttons[2], &buttons[3]}, 14, 13))});
    root.children = {list1, list2, controls};
    if (background) {
        FormObject back{0,
                        {},
                        "TDIBImage",
                        "DIBBackImage",
                        {{"Width", FormValue::Int(20)},
                         {"Height", FormValue::Int(10)},
                         {"IndexMain.DIBImageList", FormValue::Ident("DIBImageList1")},
                         {"IndexMain.DIBIndex", FormValue::Int(4)}},
                        {}};
        root.children.push_back({0, {}, "TDIBContainer", "DIBContainer1", {}, {back}});
    }
    return WriteFormStream(root).bytes;
}

struct Drawn {
    nlohmann::json summary;
    Sheet sheet;
};

Drawn DrawSheet(const TempDir& dir, const std::string& form, int scheme) {
    const std::string out = (dir / ("sheet" + std::to_string(scheme) + ".png")).string();
    const auto run = RunTool({"skin-sheet", out, "--scheme", std::to_string(scheme), "--form", form});
    EXPECT_EQ(run.exit_code, 0) << run.err;
    Drawn drawn{nlohmann::json::parse(run.out, nullptr, false), {}};
    std::optional<Sheet> sheet = ReadSheet(test::ReadHostFile(out));
    EXPECT_TRUE(sheet.has_value());
    if (sheet) {
        drawn.sheet = std::move(*sheet);
    }
    return drawn;
}

TEST(SkinSheetToolTest, EverySheetShowsEveryImageAndLabelsTheSchemesOwnInItsAccent) {
    TempDir dir;
    test::WriteHostFile(dir / "form.dfm", SheetForm(false));
    struct Case {
        int scheme;
        std::vector<int> own_skin; // labelled in the accent, the rest in grey
        std::vector<int> own_controls;
        uint32_t accent, other_accent;
    };
    // Single images have their night variant at +1, off/on pairs at +2; Right, Left, New and the
    // unnamed image have none and belong to both schemes.
    const Case cases[] = {
        {0, {0, 1, 4, 6, 7, 8, 10, 11}, {0, 1}, kGreen, kIndigo},
        {1, {2, 3, 5, 6, 7, 9, 10, 11}, {2, 3}, kIndigo, kGreen},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.scheme);
        const Drawn drawn = DrawSheet(dir, (dir / "form.dfm").string(), c.scheme);
        const nlohmann::json& summary = drawn.summary;
        EXPECT_EQ(Indexes(summary, "DIBImageList1"), Range(12));
        EXPECT_EQ(Indexes(summary, "DIBImageList2"), Range(1));
        EXPECT_EQ(Indexes(summary, "ControlsImageList"), Range(4));
        EXPECT_EQ(Indexes(summary, "DIBImageList1", "scheme_images"), c.own_skin);
        EXPECT_EQ(Indexes(summary, "ControlsImageList", "scheme_images"), c.own_controls);
        EXPECT_TRUE(summary["backdrop"].is_null());
        ASSERT_EQ(drawn.sheet.width, summary["width"].get<int>());
        ASSERT_EQ(drawn.sheet.height, summary["height"].get<int>());
        // Each image's own colour over its whole area: none left out, whatever scheme it belongs to.
        const size_t area = kSkinWidth * kSkinHeight;
        for (int i = 0; i < 12; ++i) {
            EXPECT_EQ(drawn.sheet.Count(SkinColour(i)), i == 6 ? area / 2 : area) << "image " << i;
        }
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(drawn.sheet.Count(ControlColour(i)), 14u * 13u) << "control " << i;
        }
        EXPECT_EQ(drawn.sheet.Count(kGalleryColour), 1u);
        EXPECT_EQ(drawn.sheet.Count(kKey), 0u) << "the key is not drawn";
        // Fully covered text pixels take the label colour itself.
        EXPECT_GT(drawn.sheet.Count(c.accent), 20u);
        EXPECT_GT(drawn.sheet.Count(kGrey), 20u);
        EXPECT_EQ(drawn.sheet.Count(c.other_accent), 0u);
    }
}

TEST(SkinSheetToolTest, ImagesLieOnTheSchemesBackgroundImage) {
    TempDir dir;
    test::WriteHostFile(dir / "form.dfm", SheetForm(true));
    const size_t area = kSkinWidth * kSkinHeight;
    for (int scheme : {0, 1}) {
        SCOPED_TRACE(scheme);
        const Drawn drawn = DrawSheet(dir, (dir / "form.dfm").string(), scheme);
        const nlohmann::json expected = {{"list", "DIBImageList1"}, {"image", 4 + scheme}};
        EXPECT_EQ(drawn.summary["backdrop"], expected);
        // The keyed half of "Right" shows the scheme's background, the other background is only itself.
        EXPECT_EQ(drawn.sheet.Count(SkinColour(4 + scheme)), area + area / 2);
        EXPECT_EQ(drawn.sheet.Count(SkinColour(5 - scheme)), area);
        EXPECT_EQ(drawn.sheet.Count(SkinColour(6)), area / 2);
    }
}

TEST(SkinSheetToolTest, TheBuiltInWindowPutsAllOfItsListsOnEachSheet) {
    TempDir dir;
    for (int scheme : {0, 1}) {
        SCOPED_TRACE(scheme);
        const std::string out = (dir / "sheet.png").string();
        const auto run = RunTool({"skin-sheet", out, "--scheme", std::to_string(scheme)});
        ASSERT_EQ(run.exit_code, 0) << run.err;
        const auto summary = nlohmann::json::parse(run.out);
        EXPECT_FALSE(summary.contains("errors")) << summary.dump();
        EXPECT_EQ(Indexes(summary, "DIBImageList1"), Range(131));
        EXPECT_EQ(Indexes(summary, "DIBImageList2"), Range(101));
        EXPECT_EQ(Indexes(summary, "ControlsImageList"), Range(30));
        const nlohmann::json backdrop = {{"list", "DIBImageList1"}, {"image", 52 + scheme}};
        EXPECT_EQ(summary["backdrop"], backdrop);
        // The scheme's backgrounds, frames and covers are its own; the other scheme's are not.
        const std::vector<int> own = Indexes(summary, "DIBImageList1", "scheme_images");
        auto is_own = [&own](int i) { return std::find(own.begin(), own.end(), i) != own.end(); };
        for (int day : {0, 52, 78, 92, 96}) {
            const int night = day == 0 ? 2 : day + 1;
            EXPECT_EQ(is_own(day), scheme == 0) << day;
            EXPECT_EQ(is_own(night), scheme == 1) << night;
        }
        EXPECT_TRUE(is_own(130)) << "the partner button serves both";
        EXPECT_EQ(Indexes(summary, "ControlsImageList", "scheme_images").front(), 15 * scheme);
        const std::optional<Sheet> sheet = ReadSheet(test::ReadHostFile(out));
        ASSERT_TRUE(sheet.has_value());
        EXPECT_EQ(sheet->width, summary["width"].get<int>());
    }
}

TEST(SkinSheetToolTest, FailuresExitWithAMessage) {
    TempDir dir;
    test::WriteHostFile(dir / "garbage.dfm", "TPF0\x01");
    FormObject empty{0, {}, "TForm1", "Form1", {}, {}};
    test::WriteHostFile(dir / "empty.dfm", WriteFormStream(empty).bytes);
    // Five images of 2048 x 2048 for a few bytes each: more pixel memory than any skin needs.
    FormCollection large;
    for (int i = 0; i < 5; ++i) {
        large.items.push_back(
            {false, {}, {{"DIB.Width", FormValue::Int(2048)}, {"DIB.Height", FormValue::Int(2048)}}});
    }
    FormObject greedy{0, {}, "TForm1", "Form1", {}, {}};
    greedy.children.push_back(
        {0, {}, "TDIBImageList", "DIBImageList1", {{"DIBImages", FormValue{large}}}, {}});
    test::WriteHostFile(dir / "greedy.dfm", WriteFormStream(greedy).bytes);
    const std::string out = (dir / "out.png").string();
    struct Case {
        std::vector<std::string> args;
        const char* message;
    };
    const Case cases[] = {
        {{"skin-sheet", out, "--form", (dir / "missing.dfm").string()}, "cannot read"},
        {{"skin-sheet", out, "--form", (dir / "garbage.dfm").string()}, "cannot be read"},
        {{"skin-sheet", out, "--form", (dir / "empty.dfm").string()}, "no image lists"},
        {{"skin-sheet", out, "--form", (dir / "greedy.dfm").string()}, "64 MB"},
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
