#include <gtest/gtest.h>

#include <string>

#include "skin/formats/lzh.h"
#include "skin/formats/shuffle4_rle.h"
#include "skin/formats/stored_image.h"

namespace kavlo {
namespace {

std::string Bytes(std::initializer_list<int> values) {
    std::string bytes;
    for (int v : values) {
        bytes += static_cast<char>(v);
    }
    return bytes;
}

PixelBlock Gradient(uint16_t width, uint16_t height) {
    PixelBlock block{width, height, {}};
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x) {
            block.pixels.push_back(0xFF000000u | ((x * 4) & 0xFF) << 16 | ((y * 8) & 0xFF) << 8 | 0x2B);
        }
    }
    return block;
}

std::string Container(const Guid& id, uint32_t raw_size, const std::string& payload) {
    std::string data = "DIBCMP";
    id.AppendBytes(data);
    for (int i = 0; i < 4; ++i) {
        data += static_cast<char>((raw_size >> (8 * i)) & 0xFF);
    }
    return data + payload;
}

class StoredData : public ::testing::Test {
protected:
    CompressorRegistry registry_ = CompressorRegistry::WithStandardCompressors();
};

TEST_F(StoredData, OnePixelIsEightRawBytes) {
    // Blue, green, red, alpha in memory: 0x80FF2010 is alpha 0x80, red 0xFF, green 0x20, blue 0x10.
    const PixelBlock block{1, 1, {0x80FF2010}};
    const std::string raw = EncodePixelBlock(block);
    EXPECT_EQ(raw, Bytes({1, 0, 1, 0, 0x10, 0x20, 0xFF, 0x80}));
    // A container would be larger than the block, so the writer keeps it raw and says why.
    const PackedData packed = PackStoredData(raw, registry_.FindByName("DIB LZH"));
    EXPECT_EQ(packed.bytes, raw);
    EXPECT_EQ(packed.note, "Compressed file is larger than the original.");
    const PixelBlockResult back = DecodeStoredData(packed.bytes, registry_);
    ASSERT_TRUE(back.ok()) << back.error;
    EXPECT_EQ(back.block, block);
}

TEST_F(StoredData, BottomRowIsStoredFirst) {
    // Two rows: stored pixel 0 is the bottom-left one of the picture.
    const PixelBlockResult block = DecodePixelBlock(Bytes({1, 0, 2, 0, 1, 2, 3, 4, 5, 6, 7, 8}));
    ASSERT_TRUE(block.ok());
    EXPECT_EQ(block.block.pixels, (std::vector<uint32_t>{0x04030201, 0x08070605}));
}

TEST_F(StoredData, EachCompressorWritesAContainerThatReadsBack) {
    const PixelBlock block = Gradient(64, 40);
    const std::string raw = EncodePixelBlock(block);
    for (const Compressor* compressor : registry_.All()) {
        SCOPED_TRACE(std::string(compressor->Name()));
        const PackedData packed = PackStoredData(raw, compressor);
        EXPECT_EQ(packed.note, "");
        ASSERT_GT(packed.bytes.size(), stored_data::kHeaderSize);
        EXPECT_EQ(packed.bytes.substr(0, 6), "DIBCMP");
        EXPECT_EQ(Guid::FromBytes(packed.bytes.substr(6, 16)), compressor->Id());
        const std::string size = packed.bytes.substr(22, 4);
        EXPECT_EQ(size,
                  Bytes({static_cast<int>(raw.size() & 0xFF), static_cast<int>(raw.size() >> 8), 0, 0}));
        const PixelBlockResult back = DecodeStoredData(packed.bytes, registry_);
        ASSERT_TRUE(back.ok()) << back.error;
        EXPECT_EQ(back.block, block);
    }
    EXPECT_EQ(PackStoredData(raw, nullptr).bytes, raw);
}

TEST_F(StoredData, IncompressibleBlockIsStoredRaw) {
    PixelBlock noise{32, 32, {}};
    uint32_t state = 12345;
    for (int i = 0; i < 32 * 32; ++i) {
        state = state * 1664525u + 1013904223u;
        noise.pixels.push_back(state);
    }
    const std::string raw = EncodePixelBlock(noise);
    for (const Compressor* compressor : registry_.All()) {
        const PackedData packed = PackStoredData(raw, compressor);
        EXPECT_EQ(packed.bytes, raw) << compressor->Name();
        EXPECT_EQ(packed.note, "Compressed file is larger than the original.") << compressor->Name();
    }
}

TEST_F(StoredData, WhatIsTakenForARawBlock) {
    const std::string raw = EncodePixelBlock(Gradient(3, 2));
    struct Case {
        const char* what;
        std::string data;
    };
    const Case cases[] = {
        {"a plain block", raw},
        {"signature but shorter than the header", "DIBCMP" + std::string(19, '\0')},
        {"26 bytes without the signature", std::string(26, '\0')},
    };
    for (const Case& c : cases) {
        const CodecResult unpacked = UnpackStoredData(c.data, registry_);
        ASSERT_TRUE(unpacked.ok()) << c.what;
        EXPECT_EQ(unpacked.bytes, c.data) << c.what;
    }
}

TEST_F(StoredData, DamagedDataIsAnErrorNotAPicture) {
    const std::string raw = EncodePixelBlock(Gradient(8, 8));
    const std::string lzh_payload = LzhEncode(raw).bytes;
    const auto raw_size = static_cast<uint32_t>(raw.size());
    struct Case {
        const char* what;
        std::string data;
        std::string error; // empty: any error
    };
    const Case cases[] = {
        {"unknown compressor",
         Container(*Guid::Parse("{00000000-1111-2222-3333-444444444444}"), raw_size, ""),
         "Could not find a suitable decompressor."},
        {"container declares another size than the LZH payload",
         Container(LzhCompressor::kId, raw_size - 4, lzh_payload), ""},
        {"size beyond any picture", Container(Shuffle4RleCompressor::kId, 0xFFFFFFF0u, ""), ""},
        {"LZH payload cut", Container(LzhCompressor::kId, raw_size, lzh_payload.substr(0, 20)), ""},
        {"header without pixels", Bytes({2, 0, 2, 0, 1, 2, 3, 4}), ""},
        {"shorter than a header", Bytes({1, 0, 1}), ""},
        {"65535 x 65535 header on 8 bytes", Bytes({0xFF, 0xFF, 0xFF, 0xFF, 1, 2, 3, 4}), ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const PixelBlockResult result = DecodeStoredData(c.data, registry_);
        EXPECT_FALSE(result.ok());
        EXPECT_TRUE(result.block.pixels.empty());
        if (!c.error.empty()) {
            EXPECT_EQ(result.error, c.error);
        }
    }
}

TEST_F(StoredData, BytesAfterTheLastPixelAreIgnored) {
    const PixelBlock block = Gradient(2, 2);
    const PixelBlockResult back = DecodePixelBlock(EncodePixelBlock(block) + "xyz");
    ASSERT_TRUE(back.ok());
    EXPECT_EQ(back.block, block);
}

class StoredRecord : public StoredData {};

TEST_F(StoredRecord, RoundTripsThroughAFormStream) {
    StoredImage image;
    image.angle = -90;
    image.auto_size = true;
    image.masked = true;
    image.opacity = 150;
    image.scale = 120;
    image.transparent = true;
    image.transparent_color = 0xFFFFFF;
    image.transparent_fixed = true;
    image.image = Gradient(44, 72);

    FormCollectionItem item;
    item.properties.push_back({"DisplayName", FormValue::Str("AXE")});
    EXPECT_EQ(AppendStoredImage(item.properties, image, registry_.FindByName("DIB LZH")), "");
    FormObject list{0, {}, "TDIBImageList", "DIBImageList1", {{"DIBImages", {FormCollection{{item}}}}}, {}};
    const FormWriteResult written = WriteFormStream(list);
    ASSERT_TRUE(written.ok()) << written.error;
    const FormReadResult read = ReadFormStream(written.bytes);
    ASSERT_TRUE(read.ok()) << read.error;

    const FormValue* images = FindFormProperty(read.root.properties, "DIBImages");
    ASSERT_NE(images, nullptr);
    const FormProperties& properties = std::get<FormCollection>(images->data).items.at(0).properties;
    const StoredImageResult back = ReadStoredImage(properties, registry_);
    ASSERT_TRUE(back.ok()) << back.error;
    EXPECT_EQ(back.image, image);
    EXPECT_EQ(FormText(properties, "DisplayName", ""), "AXE");
    EXPECT_EQ(FormIdentName(properties, "DIB.TransparentMode", ""), "tmFixed");
    const FormValue* data = FindFormProperty(properties, "DIB.Data");
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(std::get<FormBinary>(data->data).bytes.substr(0, 6), "DIBCMP");
}

TEST_F(StoredRecord, ReadsWhatADesignerMayHaveStored) {
    // Missing properties keep their defaults; colours may be identifiers; without data the image
    // is Width x Height of zero pixels.
    const FormProperties properties = {
        {"DIB.TransparentColor", FormValue::Ident("clWhite")},
        {"DIB.TransparentMode", FormValue::Ident("TMFIXED")}, // identifiers ignore case
        {"DIB.Scale", FormValue::Int(100)},
        {"DIB.Width", FormValue::Int(3)},
        {"DIB.Height", FormValue::Int(2)},
    };
    const StoredImageResult read = ReadStoredImage(properties, registry_);
    ASSERT_TRUE(read.ok()) << read.error;
    EXPECT_EQ(read.image.transparent_color, 0xFFFFFFu);
    EXPECT_EQ(read.image.opacity, 255);
    EXPECT_TRUE(read.image.transparent_fixed);
    EXPECT_EQ(read.image.scale, 100);
    EXPECT_EQ(read.image.image.pixels, std::vector<uint32_t>(6, 0));
}

TEST_F(StoredRecord, RejectsValuesOutOfRange) {
    const FormProperties cases[] = {
        {{"DIB.Opacity", FormValue::Int(300)}},
        {{"DIB.Angle", FormValue::Int(40000)}},
        {{"DIB.Width", FormValue::Int(-1)}},
        {{"DIB.Data", FormValue::Str("not binary")}},
        {{"DIB.Data", FormValue::Binary(Bytes({9, 0, 9, 0}))}},
        {{"DIB.Scale", FormValue::Extended(std::numeric_limits<double>::infinity())}},
        // Without data the record's own size would be allocated: 65535 x 65535 is no picture.
        {{"DIB.Width", FormValue::Int(65535)}, {"DIB.Height", FormValue::Int(65535)}},
    };
    for (const FormProperties& properties : cases) {
        const StoredImageResult read = ReadStoredImage(properties, registry_);
        EXPECT_FALSE(read.ok()) << properties.front().name;
    }
}

} // namespace
} // namespace kavlo
