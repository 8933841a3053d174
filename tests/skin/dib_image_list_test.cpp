#include "skin/controls/dib_image_list.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/posix/posix_file_system.h"
#include "skin/controls/plain_controls.h"
#include "skin_pixels.h"
#include "support/temp_dir.h"

namespace kavlo {
namespace {

using test::Solid;

// Counts the owner's change notifications of a link.
struct CountingLink {
    int changes = 0;
    TDIBImageLink link{[this] { ++changes; }};
};

TEST(ImageLinkTest, TheOwnerHearsOfListIndexAndItemChanges) {
    TDIBImageList list;
    list.Add().DIB().Assign(Solid(2, 2, 0xFF000000));
    list.Add().DIB().Assign(Solid(2, 2, 0xFF000000));
    TDIBImageList other;
    CountingLink watched;
    CountingLink bystander;
    bystander.link.SetDIBImageList(&list);
    bystander.link.SetDIBIndex(0);
    bystander.changes = 0;

    struct Step {
        const char* action;
        int changes; // of `watched`, cumulative
    };
    const Step steps[] = {
        {"set list", 1},      {"set same list", 1}, {"index 1", 2},       {"index 1 again", 2},
        {"change item 1", 3}, {"change item 0", 3}, {"rename item 1", 3}, {"other list", 4},
        {"change item 1", 4}, {"list back", 5},     {"index -7", 6},      {"change item 1", 6},
        {"add an item", 7},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.action);
        const std::string action = step.action;
        if (action == "set list" || action == "set same list" || action == "list back") {
            watched.link.SetDIBImageList(&list);
        } else if (action == "index 1" || action == "index 1 again") {
            watched.link.SetDIBIndex(1);
        } else if (action == "change item 1") {
            list.Item(1)->DIB().SetOpacity(static_cast<uint8_t>(list.Item(1)->DIB().Opacity() - 1));
        } else if (action == "change item 0") {
            list.Item(0)->DIB().SetPixels(1, 1, {0xFF00FF00});
        } else if (action == "rename item 1") {
            list.Item(1)->SetDisplayName("Renamed");
        } else if (action == "other list") {
            watched.link.SetDIBImageList(&other);
        } else if (action == "index -7") {
            watched.link.SetDIBIndex(-7);
            EXPECT_EQ(watched.link.DIBIndex(), -1);
            EXPECT_EQ(watched.link.Item(), nullptr);
        } else if (action == "add an item") {
            list.Add();
        }
        EXPECT_EQ(watched.changes, step.changes);
    }
    // The bystander, on item 0, heard its item change and the list grow.
    EXPECT_EQ(bystander.changes, 2);
}

TEST(ImageLinkTest, ALinkOutlivingItsListIsLeftWithoutOne) {
    CountingLink watched;
    {
        TDIBImageList list;
        list.Add();
        watched.link.SetDIBImageList(&list);
        watched.link.SetDIBIndex(0);
        ASSERT_NE(watched.link.Image(), nullptr);
        watched.changes = 0;
    }
    EXPECT_EQ(watched.link.DIBImageList(), nullptr);
    EXPECT_EQ(watched.link.Image(), nullptr);
    EXPECT_EQ(watched.changes, 1);
    // And a link that goes first leaves the list with nothing to call.
    TDIBImageList list;
    list.Add();
    {
        CountingLink gone;
        gone.link.SetDIBImageList(&list);
    }
    list.Item(0)->DIB().SetOpacity(3);
}

TEST(ImageListTest, StoredItemsReadBackWithTheirRecordsAndNames) {
    const CompressorRegistry compressors = CompressorRegistry::WithStandardCompressors();
    const Compressor* lzh = compressors.FindByName("DIB LZH");
    ASSERT_NE(lzh, nullptr);
    TDIBImageList list;
    TDIBImagesItem& plain = list.Add();
    plain.SetDisplayName("Background");
    plain.DIB().Assign(Solid(30, 20, 0xFF203040));
    TDIBImagesItem& arrow = list.Add();
    arrow.SetDisplayName("Right");
    arrow.DIB().Assign(Solid(4, 3, 0xFFFFFFFF));
    arrow.DIB().SetPixel(1, 1, 0xFF102030);
    arrow.DIB().SetTransparent(true);
    TDIBImagesItem& sponsor = list.Add();
    sponsor.SetDisplayName("AXE");
    sponsor.DIB().Assign(Solid(6, 2, 0x80FF00FF));
    sponsor.DIB().SetTransparent(true);
    sponsor.DIB().SetTransparentMode(TTransparentMode::tmFixed);
    sponsor.DIB().SetTransparentColor(0xFFFFFF);
    sponsor.DIB().SetScale(120);
    sponsor.DIB().SetMasked(true);
    sponsor.DIB().SetOpacity(200);
    sponsor.DIB().SetAngle(15);
    TDIBImagesItem& tiny = list.Add();
    tiny.DIB().Assign(Solid(1, 1, 0xFF010203));

    FormProperties properties;
    EXPECT_TRUE(list.WriteToForm(properties, lzh).empty());
    const auto& items = std::get<FormCollection>(properties.at(0).value.data).items;
    ASSERT_EQ(items.size(), 4u);
    // Larger images are packed; a 1 x 1 image stays an 8-byte raw block.
    EXPECT_EQ(
        std::get<FormBinary>(FindFormProperty(items[0].properties, "DIB.Data")->data).bytes.substr(0, 6),
        "DIBCMP");
    EXPECT_EQ(std::get<FormBinary>(FindFormProperty(items[3].properties, "DIB.Data")->data).bytes.size(), 8u);

    TDIBImageList read;
    PixelBudget budget(kMaxFormPixelBytes);
    EXPECT_TRUE(read.ReadFromForm(properties, compressors, budget).empty());
    ASSERT_EQ(read.Count(), 4);
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(read.Item(i)->DisplayName(), list.Item(i)->DisplayName());
        EXPECT_EQ(StoredImageOf(read.Item(i)->DIB()), StoredImageOf(list.Item(i)->DIB()));
    }
    EXPECT_EQ(read.Item(2)->DIB().TransparentColor(), 0xFFFFFFu);
    EXPECT_EQ(read.Item(2)->DIB().ScaleY(), 120);
}

TEST(ImageListTest, AnUnreadableItemKeepsItsPlaceAndTheOthersLoad) {
    const CompressorRegistry compressors = CompressorRegistry::WithStandardCompressors();
    TDIBImageList source;
    for (uint32_t colour : {0xFF000001u, 0xFF000002u, 0xFF000003u}) {
        source.Add().DIB().Assign(Solid(3, 3, colour));
    }
    FormProperties properties;
    source.WriteToForm(properties, nullptr);
    // The middle item claims a compressor nobody registered.
    std::string unknown = "DIBCMP";
    unknown.append(16, '\x5A');
    unknown += std::string("\x2C\0\0\0", 4) + "payload";
    auto& items = std::get<FormCollection>(properties[0].value.data).items;
    for (FormProperty& p : items[1].properties) {
        if (p.name == "DIB.Data") {
            p.value = FormValue::Binary(unknown);
        }
    }
    TDIBImageList list;
    list.SetName("DIBImageList1");
    PixelBudget budget(kMaxFormPixelBytes);
    const std::vector<std::string> errors = list.ReadFromForm(properties, compressors, budget);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find("DIBImageList1.DIBImages[1]"), std::string::npos);
    EXPECT_NE(errors[0].find("Could not find a suitable decompressor."), std::string::npos);
    ASSERT_EQ(list.Count(), 3);
    EXPECT_TRUE(list.Item(1)->DIB().Empty());
    EXPECT_EQ(list.Item(2)->DIB().Pixel(0, 0), 0xFF000003u);
}

TEST(ImageListTest, StoredPixelsUnpackOnFirstUseAndBadDataShowsThen) {
    const CompressorRegistry compressors = CompressorRegistry::WithStandardCompressors();
    TDIBImageList source;
    source.Add().DIB().Assign(Solid(40, 30, 0xFF102030));
    source.Add().DIB().Assign(Solid(30, 40, 0xFF405060));
    source.Add().DIB().Assign(Solid(20, 10, 0xFF708090));
    FormProperties properties;
    ASSERT_TRUE(source.WriteToForm(properties, compressors.FindByName("DIB LZH")).empty());
    auto& items = std::get<FormCollection>(properties[0].value.data).items;
    // Item 0's payload is cut short; item 1's record gives its size turned round, which still agrees
    // with the container's byte count.
    for (FormProperty& p : items[0].properties) {
        if (p.name == "DIB.Data") {
            std::string& bytes = std::get<FormBinary>(p.value.data).bytes;
            bytes.resize(bytes.size() / 2);
        }
    }
    for (FormProperty& p : items[1].properties) {
        if (p.name == "DIB.Width" || p.name == "DIB.Height") {
            p.value = FormValue::Int(p.name == "DIB.Width" ? 40 : 30);
        }
    }
    TDIBImageList list;
    list.SetName("Skin");
    PixelBudget budget(kMaxFormPixelBytes);
    EXPECT_TRUE(list.ReadFromForm(properties, compressors, budget).empty()) << "nothing is unpacked yet";
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(list.Item(i)->Packed()) << i;
    }
    // The size comes from the record without unpacking; the pixels when they are asked for.
    EXPECT_EQ(list.Item(2)->Width(), 20);
    EXPECT_EQ(list.Item(2)->Height(), 10);
    EXPECT_TRUE(list.Item(2)->Packed());
    EXPECT_EQ(list.Item(2)->DIB().Pixel(19, 9), 0xFF708090u);
    EXPECT_FALSE(list.Item(2)->Packed());

    // Where the data disagrees with the record's size, the data decides and the links hear of it.
    CountingLink watched;
    watched.link.SetDIBImageList(&list);
    watched.link.SetDIBIndex(1);
    watched.changes = 0;
    EXPECT_EQ(list.Item(1)->Width(), 40);
    EXPECT_EQ(watched.link.Image()->Width(), 30);
    EXPECT_EQ(list.Item(1)->Height(), 40);
    EXPECT_EQ(watched.changes, 1);

    // Data that does not unpack leaves the image empty and says why, whenever asked.
    for (int round = 0; round < 2; ++round) {
        const std::vector<std::string> errors = list.UnpackAll();
        ASSERT_EQ(errors.size(), 1u);
        EXPECT_EQ(errors[0].rfind("Skin.DIBImages[0]: DIB.Data: LZH", 0), 0u) << errors[0];
    }
    EXPECT_TRUE(list.Item(0)->DIB().Empty());
    EXPECT_FALSE(list.Item(0)->UnpackError().empty());
}

TEST(ImageListTest, AnItemIsReloadedFromAPictureFileUnderANewName) {
    test::TempDir dir;
    PosixFileSystem fs((dir / "c").string(), {});
    test::WriteHostFile(dir / "c/Gallery/shot.bmp", EncodeBmpFile(Solid(5, 4, 0xFF3366CC)));
    test::WriteHostFile(dir / "c/Gallery/broken.bmp", "BM");

    // The placeholder comes from a form, as the gallery's do, its pixels still packed.
    TDIBImageList placeholders;
    placeholders.Add().SetDisplayName("placeholder");
    placeholders.Item(0)->DIB().Assign(Solid(1, 1, 0xFF000000));
    FormProperties stored;
    placeholders.WriteToForm(stored, nullptr);
    TDIBImageList list;
    PixelBudget budget(kMaxFormPixelBytes);
    ASSERT_TRUE(list.ReadFromForm(stored, CompressorRegistry::WithStandardCompressors(), budget).empty());
    ASSERT_TRUE(list.Item(0)->Packed());
    CountingLink watched;
    watched.link.SetDIBImageList(&list);
    watched.link.SetDIBIndex(0);
    watched.changes = 0;

    EXPECT_EQ(list.ReloadItem(0, fs, "C:\\gallery\\SHOT.BMP", "Shot 1"), "");
    EXPECT_EQ(list.Item(0)->DisplayName(), "Shot 1");
    EXPECT_EQ(list.Item(0)->DIB().Width(), 5);
    EXPECT_EQ(list.Item(0)->DIB().Pixel(4, 3), 0xFF3366CCu);
    EXPECT_GT(watched.changes, 0);

    // A picture that does not load leaves the item as it was, name included.
    EXPECT_NE(list.ReloadItem(0, fs, "C:\\Gallery\\broken.bmp", "Broken"), "");
    EXPECT_NE(list.ReloadItem(0, fs, "C:\\Gallery\\missing.bmp", "Missing"), "");
    EXPECT_EQ(list.Item(0)->DisplayName(), "Shot 1");
    EXPECT_EQ(list.Item(0)->DIB().Width(), 5);
    EXPECT_NE(list.ReloadItem(3, fs, "C:\\Gallery\\shot.bmp", "Nowhere"), "");
}

} // namespace
} // namespace kavlo
