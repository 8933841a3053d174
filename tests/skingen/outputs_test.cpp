// What the build embeds: the TFORM1 form stream as the window's loader reads it, the dialog
// backgrounds, the border clips, the frame's mask, the resource lookup, and the same bytes from every run.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "skin/controls/dib_image_list.h"
#include "skin/controls/plain_controls.h"
#include "skin/formats/compressor.h"
#include "skin/formats/form_stream.h"
#include "skin/formats/picture.h"
#include "skin/formats/stored_image.h"
#include "skingen/image_list.h"
#include "skingen/resources.h"
#include "support/temp_dir.h"

namespace kavlo {
namespace {

const std::filesystem::path kSkinDir = KAVLO_SKIN_DIR;

std::string Built(const std::string& name) {
    return test::ReadHostFile(kSkinDir / name);
}

class Outputs : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        FormReadResult read = ReadFormStream(Built("TFORM1"));
        ASSERT_TRUE(read.ok()) << read.error;
        form_ = new FormObject(std::move(read.root));
    }
    static void TearDownTestSuite() { delete form_; }
    static const FormObject& Get(std::string_view name) {
        const FormObject* found = FindFormObject(*form_, name);
        EXPECT_NE(found, nullptr) << name;
        static const FormObject kNone;
        return found != nullptr ? *found : kNone;
    }
    static FormObject* form_;
};
FormObject* Outputs::form_ = nullptr;

TEST_F(Outputs, ComponentsSitWhereTheWindowExpectsThem) {
    struct Place {
        const char* name;
        const char* cls;
        int left, top, width, height;
    };
    const Place places[] = {
        {"Image4", "TImage", 0, 0, 818, 741},
        {"CDNumberLabel", "TLabel", 148, 200, 112, 34},
        {"DIBContainer1", "TDIBContainer", 85, 173, 638, 482},
        {"DIBBackImage", "TDIBImage", 0, 0, 641, 482},
        {"HighlightDIB", "TDIBImage", 71, 93, 135, 28},
        {"DemosLabel10", "TDIBFadeLabel", 76, 349, 129, 16},
        {"Play10", "TDIBImage", 55, 342, 16, 28},
        {"Down1", "TDIBImage", 189, 375, 18, 11},
        {"DIBImage4", "TDIBImage", 226, 64, 243, 151},
        {"TextLabel", "TDIBFadeLabel", 229, 276, 265, 145},
        {"Flag_3D", "TDIBImage", 439, 25, 32, 32},
        {"StopImage", "TImage", 510, 227, 14, 13},
        {"DIBSection6", "TDIBImage", 552, 400, 50, 46},
        {"DibSection7", "TDIBImage", 552, 463, 50, 50},
        {"IconLabel14", "TDIBFadeLabel", 538, 983, 80, 13},
        {"CoverDown", "TDIBImage", 523, 391, 115, 91},
        {"IndigoSpot", "TDIBImage", 140, 437, 31, 33},
        {"LowerArrow", "TDIBImage", 519, 271, 10, 17},
        {"RightArrow", "TDIBImage", 577, 206, 44, 72},
        {"DIBImage5", "TDIBImage", 541, 455, 95, 25},
        {"Animate10", "TAnimate2", 0, 0, 314, 173},
        {"Animate8", "TAnimate2", 636, 77, 144, 96},
    };
    for (const Place& p : places) {
        const FormObject& o = Get(p.name);
        EXPECT_EQ(o.class_name, p.cls) << p.name;
        EXPECT_EQ(FormInt(o.properties, "Left", -1), p.left) << p.name;
        EXPECT_EQ(FormInt(o.properties, "Top", -1), p.top) << p.name;
        EXPECT_EQ(FormInt(o.properties, "Width", -1), p.width) << p.name;
        EXPECT_EQ(FormInt(o.properties, "Height", -1), p.height) << p.name;
    }
    EXPECT_EQ(form_->class_name, "TForm1");
    EXPECT_EQ(FormInt(form_->properties, "ClientWidth", 0), 1175);
    const FormObject& container = Get("DIBContainer1");
    EXPECT_NE(FindFormObject(container, "DemosLabel1"), nullptr) << "list rows live in the container";
    EXPECT_EQ(FindFormObject(container, "Animate1"), nullptr) << "clips live on the window";
}

TEST_F(Outputs, StateFontsAndWiring) {
    struct Check {
        const char* component;
        const char* property;
        std::string expected; // ident or text, or a number written out
    };
    const Check checks[] = {
        {"DIBSection5", "Opacity", "250"},
        {"DIBSection6", "Opacity", "0"},
        {"DIBImage4", "Opacity", "150"},
        {"LeftArrow", "Opacity", "0"},
        {"DemosLabel1", "Color", "2830895"},
        {"DemosLabel3", "FrameCount", "10"},
        {"DemosLabel3", "FrameDelay", "50"},
        {"DIBImageList2", "Tag", "1"},
        {"Play4", "IndexMain.DIBIndex", "88"},
        {"CoverUp", "IndexMain.DIBIndex", "94"},
        {"DIBImage3", "IndexMain.DIBIndex", "130"},
        {"DIBImage1", "IndexMain.DIBIndex", "78"},
        {"Up2", "IndexMain.DIBIndex", "84"},
        {"UpperArrow", "IndexMain.DIBIndex", "70"},
        {"NameLabel", "Font.Name", "Tahoma"},
        {"DateLabel", "Font.Name", "Square721 AT"},
        {"DemosLabel1", "OnClick", "DemosLabel1_Click"},
        {"DemosLabel2", "OnClick", "DemosLabel2Click"},
        {"DIBSection3", "OnMouseMove", "IconImage3MouseMove"},
        {"DibSection9", "OnClick", "DibSection9Click"},
        {"IconLabel11", "OnMouseMove", "DIBSection11MouseMove"},
        {"IconLabel12", "OnMouseMove", "IconLabel12MouseMove"},
        {"ScrollDownTimer", "OnTimer", "ScrollUpTimerTimer"},
        {"Animate8", "OnOpen", "Animate8Open"},
        {"Flag_Playable", "OnMouseMove", "FlagPlayableMouseMove"},
        {"HelpLabel", "Alignment", "taRightJustify"},
        {"DIBFormShaper1", "TransparentMode", "tmAuto"},
        {"Form1", "OnMouseWheelDown", "FormMouseWheelUp"},
    };
    for (const Check& c : checks) {
        const FormValue* v = FindFormProperty(Get(c.component).properties, c.property);
        ASSERT_NE(v, nullptr) << c.component << "." << c.property;
        std::string got;
        if (auto* i = std::get_if<FormInteger>(&v->data)) {
            got = std::to_string(i->value);
        } else if (auto* id = std::get_if<FormIdent>(&v->data)) {
            got = id->name;
        } else if (auto* s = std::get_if<FormString>(&v->data)) {
            got = s->bytes;
        }
        EXPECT_EQ(got, c.expected) << c.component << "." << c.property;
    }
    EXPECT_FALSE(FormBool(Get("Play1").properties, "Visible", true));
    EXPECT_FALSE(FormBool(Get("DebugLabel2").properties, "Visible", true));
    EXPECT_TRUE(FormBool(Get("DIBFormShaper1").properties, "Active", false));
}

TEST_F(Outputs, TimersWaitDisabled) {
    const std::pair<const char*, int> timers[] = {
        {"AnimationTimer", 300}, {"StartTimer", 5000}, {"ScrollDownTimer", 10}, {"ScrollUpTimer", 10},
        {"Timer1", 3000},        {"MusicTimer", 5000}, {"DIBTimer1", 50},       {"DIBTimer2", 50},
        {"DIBTimer3", 10},       {"DIBTimer4", 10}};
    for (auto [name, interval] : timers) {
        EXPECT_EQ(FormInt(Get(name).properties, "Interval", -1), interval) << name;
        EXPECT_FALSE(FormBool(Get(name).properties, "Enabled", true)) << name;
    }
}

TEST_F(Outputs, ImageListsReadBackAndArePacked) {
    CompressorRegistry registry = CompressorRegistry::WithStandardCompressors();
    const Compressor* lzh = registry.FindByName("DIB LZH");
    ASSERT_NE(lzh, nullptr);
    EXPECT_EQ(FormText(Get("DIBSettings1").properties, "DIBCompressor", ""), lzh->Id().ToString());
    for (auto [name, count] : {std::pair{"DIBImageList1", 131}, std::pair{"DIBImageList2", 101}}) {
        TDIBImageList list;
        list.SetName(name);
        PixelBudget budget(kMaxFormPixelBytes);
        std::vector<std::string> errors = list.ReadFromForm(Get(name).properties, registry, budget);
        EXPECT_TRUE(errors.empty()) << errors.front();
        ASSERT_EQ(list.Count(), count) << name;
        const auto* items =
            std::get_if<FormCollection>(&FindFormProperty(Get(name).properties, "DIBImages")->data);
        ASSERT_NE(items, nullptr);
        for (int i = 0; i < count; ++i) {
            const TMemoryDIB& dib = list.Item(i)->DIB();
            const auto* data =
                std::get_if<FormBinary>(&FindFormProperty(items->items[i].properties, "DIB.Data")->data);
            ASSERT_NE(data, nullptr);
            if (dib.Width() * dib.Height() > 1) {
                ASSERT_EQ(data->bytes.substr(0, 6), "DIBCMP") << name << " " << i;
                EXPECT_EQ(Guid::FromBytes(data->bytes.substr(6, 16)), lzh->Id()) << name << " " << i;
            } else {
                EXPECT_EQ(data->bytes.size(), 8u) << "a 1 x 1 image is stored raw";
            }
        }
    }
    TDIBImageList list;
    PixelBudget budget(kMaxFormPixelBytes);
    list.ReadFromForm(Get("DIBImageList1").properties, registry, budget);
    EXPECT_EQ(list.Item(52)->DIB().Width(), 638);
    const TMemoryDIB& axe = list.Item(130)->DIB();
    EXPECT_TRUE(axe.Transparent());
    EXPECT_EQ(axe.TransparentMode(), TTransparentMode::tmFixed);
    EXPECT_EQ(axe.TransparentColor(), 0xFFFFFFu);
    EXPECT_EQ(axe.ScaleX(), 120);
    const TMemoryDIB& right = list.Item(76)->DIB();
    EXPECT_EQ(right.TransparentMode(), TTransparentMode::tmAuto);
    EXPECT_EQ(right.TransparentColor(), 0xFF00FFu) << "the bottom-left pixel";
    EXPECT_TRUE(list.Item(78)->DIB().Masked());
    EXPECT_EQ(list.Item(52)->DisplayName(), "Background");
}

TEST_F(Outputs, ControlsListAndPicturesDecode) {
    TImageList controls;
    const auto* bitmap =
        std::get_if<FormBinary>(&FindFormProperty(Get("ControlsImageList").properties, "Bitmap")->data);
    ASSERT_NE(bitmap, nullptr);
    ASSERT_EQ(controls.ReadData(bitmap->bytes), "");
    EXPECT_EQ(controls.Count(), 30);
    EXPECT_EQ(controls.Width(), 14);
    EXPECT_EQ(controls.Height(), 13);
    // The header as Windows writes it: "IL", version 0x101, count, room, growth, size, no background,
    // 24-bit colour without a mask.
    const std::string& il = bitmap->bytes;
    auto u16 = [&](size_t at) {
        return static_cast<uint8_t>(il[at]) | static_cast<uint8_t>(il[at + 1]) << 8;
    };
    EXPECT_EQ(il.substr(0, 2), "IL");
    EXPECT_EQ(u16(2), 0x101u);
    EXPECT_EQ(u16(4), 30u);
    EXPECT_GE(u16(6), 30u);
    EXPECT_EQ(u16(10), 14u);
    EXPECT_EQ(u16(12), 13u);
    EXPECT_EQ(u16(14) | u16(16) << 16, 0xFFFFFFFFu);
    EXPECT_EQ(u16(18), 0x18u);
    std::vector<skingen::SkinImage> drawn = skingen::BuildControlsList();
    for (int i = 0; i < 30; ++i) {
        const TMemoryDIB* image = controls.Image(i);
        ASSERT_NE(image, nullptr);
        std::vector<uint32_t> stored(image->Bits(), image->Bits() + image->PixelCount());
        EXPECT_EQ(stored, drawn[i].StoredPixels()) << "image " << i << " comes back as drawn";
    }

    const auto* frame =
        std::get_if<FormBinary>(&FindFormProperty(Get("Image4").properties, "Picture.Data")->data);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(static_cast<uint8_t>(frame->bytes[1 + 7 + 4 + 28]), 8) << "a 256-colour bitmap";
    PictureResult picture = ReadPictureData(frame->bytes);
    ASSERT_TRUE(picture) << picture.error;
    EXPECT_EQ(picture.picture->width, 818);

    const auto* mask =
        std::get_if<FormBinary>(&FindFormProperty(Get("DIBFormShaper1").properties, "Bitmap.Data")->data);
    ASSERT_NE(mask, nullptr);
    PictureResult shape = ReadGraphicData(mask->bytes);
    ASSERT_TRUE(shape) << shape.error;
    ASSERT_EQ(shape.picture->width, 818);
    ASSERT_EQ(shape.picture->height, 741);
    EXPECT_EQ(static_cast<uint8_t>(mask->bytes[4 + 28]), 1) << "a one-bit bitmap";
    const std::vector<uint32_t>& px = shape.picture->pixels; // bottom row first
    EXPECT_EQ(px[0] & 0xFFFFFF, 0xFFFFFFu) << "the automatic key, white, is cut away";
    EXPECT_EQ(px[static_cast<size_t>(741 - 1 - 400) * 818 + 400] & 0xFFFFFF, 0u) << "the content area stays";
    EXPECT_EQ(mask->bytes.substr(4), Built("MASK"));
    EXPECT_EQ(frame->bytes.substr(12), Built("IMAGE4"));
}

TEST(DialogBackgrounds, SizesAndTheirCaptionPlates) {
    struct Case {
        const char* name;
        int width, height;
    };
    const Case cases[] = {{"BMP1", 323, 199}, {"BMP2", 323, 199}, {"BMP3", 426, 166}, {"BMP4", 426, 166}};
    std::vector<Picture> pictures;
    for (const Case& c : cases) {
        PictureResult r = LoadPicture(Built(c.name));
        ASSERT_TRUE(r) << c.name << ": " << r.error;
        EXPECT_EQ(r.picture->width, c.width) << c.name;
        EXPECT_EQ(r.picture->height, c.height) << c.name;
        pictures.push_back(*r.picture);
    }
    EXPECT_NE(pictures[0].pixels, pictures[1].pixels);
    // The extraction dialog writes silver on BMP3 and black on BMP4 at its top lines.
    auto luma = [](const Picture& p, int x, int y) {
        uint32_t v = p.pixels[static_cast<size_t>(p.height - 1 - y) * p.width + x];
        return 0.3 * ((v >> 16) & 0xFF) + 0.59 * ((v >> 8) & 0xFF) + 0.11 * (v & 0xFF);
    };
    for (int y : {20, 40, 120}) {
        EXPECT_LT(luma(pictures[2], 213, y), 90) << "silver text needs a dark plate";
        EXPECT_GT(luma(pictures[3], 213, y), 150) << "black text needs a light plate";
    }
}

TEST(EmbeddedResources, CarryTheBuiltFiles) {
    for (const char* name : {"TFORM1", "BMP1", "BMP2", "BMP3", "BMP4", "AVI1", "AVI2", "AVI3", "AVI4", "AVI5",
                             "AVI6", "AVI7", "AVI8", "AVI9", "AVI10", "FILECOPY0", "FILECOPY1"}) {
        std::span<const uint8_t> data = Resource(name);
        std::string file = Built(name);
        ASSERT_EQ(data.size(), file.size()) << name;
        EXPECT_TRUE(std::equal(data.begin(), data.end(), reinterpret_cast<const uint8_t*>(file.data())))
            << name;
    }
    EXPECT_EQ(Resource("tform1").size(), Resource("TFORM1").size()) << "resource names ignore case";
    EXPECT_TRUE(Resource("AVI11").empty());
    EXPECT_TRUE(Resource("AVI").empty());
    EXPECT_TRUE(Resource("").empty());
    EXPECT_TRUE(Resource("MASK").empty()) << "the mask travels inside the form, not on its own";
}

TEST(Generator, SameBytesFromEveryRun) {
    test::TempDir dir;
    std::string command = std::string("\"") + KAVLO_SKINGEN_PATH + "\" \"" + dir.path().string() + "\"";
    ASSERT_EQ(std::system(command.c_str()), 0);
    size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(kSkinDir)) {
        std::string name = entry.path().filename().string();
        EXPECT_EQ(test::ReadHostFile(dir / name), test::ReadHostFile(entry.path())) << name;
        ++files;
    }
    EXPECT_EQ(files, 19u);
}

} // namespace
} // namespace kavlo
