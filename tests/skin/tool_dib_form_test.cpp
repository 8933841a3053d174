#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "skin/formats/lzh.h"
#include "skin/formats/stored_image.h"
#include "support/run_tool.h"
#include "support/temp_dir.h"

namespace kavlo {
namespace {

using test::ReadHostFile;
using test::RunTool;
using test::TempDir;
using test::WriteHostFile;

PixelBlock Picture() {
    PixelBlock block{40, 30, {}};
    for (uint32_t i = 0; i < 40u * 30u; ++i) {
        block.pixels.push_back(0xFF000000u | (i / 40) << 8 | (i % 7));
    }
    return block;
}

TEST(ToolDib, EncodesWithEachCompressorAndDecodesBack) {
    TempDir dir;
    const std::string raw = EncodePixelBlock(Picture());
    WriteHostFile(dir / "raw.bin", raw);
    struct Case {
        const char* option;
        nlohmann::json compressor;
    };
    const Case cases[] = {{"lzh", "DIB LZH"}, {"rle", "Shuffle4 RLE"}, {"raw", nullptr}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.option);
        const auto encoded = RunTool({"dib-encode", "--compressor", c.option, (dir / "raw.bin").string(),
                                      (dir / "stored.bin").string()});
        ASSERT_EQ(encoded.exit_code, 0) << encoded.err;
        const auto summary = nlohmann::json::parse(encoded.out);
        EXPECT_EQ(summary["compressor"], c.compressor);
        EXPECT_EQ(summary["width"], 40);
        EXPECT_EQ(summary["height"], 30);
        const std::string stored = ReadHostFile(dir / "stored.bin");
        EXPECT_EQ(summary["stored_bytes"], stored.size());
        EXPECT_EQ(stored.substr(0, 6) == "DIBCMP", !c.compressor.is_null());

        const auto decoded =
            RunTool({"dib-decode", (dir / "stored.bin").string(), (dir / "back.bin").string()});
        ASSERT_EQ(decoded.exit_code, 0) << decoded.err;
        EXPECT_EQ(nlohmann::json::parse(decoded.out)["compressor"], c.compressor);
        EXPECT_TRUE(ReadHostFile(dir / "back.bin") == raw);
    }
}

TEST(ToolDib, OnePixelStaysRawWithANote) {
    TempDir dir;
    WriteHostFile(dir / "raw.bin", EncodePixelBlock({1, 1, {0xFF102030}}));
    const auto run = RunTool({"dib-encode", (dir / "raw.bin").string(), (dir / "stored.bin").string()});
    ASSERT_EQ(run.exit_code, 0) << run.err;
    EXPECT_NE(run.err.find("Compressed file is larger than the original."), std::string::npos);
    EXPECT_EQ(ReadHostFile(dir / "stored.bin").size(), 8u);
}

TEST(ToolDib, FailuresExitNonZeroWithTheReason) {
    TempDir dir;
    std::string unknown = "DIBCMP" + std::string(16, '\x11') + std::string("\x08\0\0\0", 4) + "payload";
    WriteHostFile(dir / "unknown.bin", unknown);
    WriteHostFile(dir / "short.bin", std::string("\x05\0\x05\0abc", 7));
    struct Case {
        std::vector<std::string> args;
        const char* message;
    };
    const Case cases[] = {
        {{"dib-decode", (dir / "unknown.bin").string(), (dir / "out.bin").string()},
         "Could not find a suitable decompressor."},
        {{"dib-decode", (dir / "missing.bin").string(), (dir / "out.bin").string()}, "cannot read"},
        {{"dib-encode", (dir / "short.bin").string(), (dir / "out.bin").string()}, "shorter than 5 x 5"},
        {{"dib-encode", "--compressor", "zip", (dir / "short.bin").string(), (dir / "out.bin").string()},
         "unknown compressor"},
    };
    for (const Case& c : cases) {
        const auto run = RunTool(c.args);
        EXPECT_NE(run.exit_code, 0) << c.message;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "out.bin"));
}

TEST(ToolForm, DumpsObjectsPropertiesBinaryAndCollections) {
    FormCollectionItem item;
    item.properties.push_back({"DisplayName", FormValue::Str("Demos_Off")});
    item.properties.push_back(
        {"DIB.Data", FormValue::Binary(std::string("DIBCMP") + std::string(30, '\x01'))});
    FormObject list{0, {}, "TDIBImageList", "DIBImageList1", {{"DIBImages", {FormCollection{{item}}}}}, {}};
    FormObject form{0, {}, "TForm1", "Form1", {}, {list}};
    form.properties.push_back({"Caption", FormValue::Str("It's \x8A"
                                                         "ablona")}); // Š in Windows-1250
    form.properties.push_back({"Scale", FormValue::Extended(120)});
    form.properties.push_back({"Anchors", FormValue::Set({"akLeft", "akTop"})});
    TempDir dir;
    WriteHostFile(dir / "form.bin", WriteFormStream(form).bytes);

    const auto run = RunTool({"form-dump", (dir / "form.bin").string()});
    ASSERT_EQ(run.exit_code, 0) << run.err;
    EXPECT_EQ(run.out, "object Form1: TForm1\n"
                       "  Caption = 'It''s \xC5\xA0"
                       "ablona'\n"
                       "  Scale = 120\n"
                       "  Anchors = [akLeft, akTop]\n"
                       "  object DIBImageList1: TDIBImageList\n"
                       "    DIBImages = <\n"
                       "      item\n"
                       "        DisplayName = 'Demos_Off'\n"
                       "        DIB.Data = {36 bytes: 44 49 42 43 4D 50 01 01 01 01 01 01 01 01 01 01 ...}\n"
                       "      end>\n"
                       "  end\n"
                       "end\n");
}

TEST(ToolForm, RefusesWhatIsNotAForm) {
    TempDir dir;
    WriteHostFile(dir / "bad.bin", "TPF0\x06TForm1");
    const auto bad = RunTool({"form-dump", (dir / "bad.bin").string()});
    EXPECT_NE(bad.exit_code, 0);
    EXPECT_NE(bad.err.find("form stream:"), std::string::npos) << bad.err;
    EXPECT_TRUE(bad.out.empty());
}

TEST(ToolForm, WithoutAFileDumpsTheProgramsOwnWindow) {
    const auto builtin = RunTool({"form-dump"});
    ASSERT_EQ(builtin.exit_code, 0) << builtin.err;
    EXPECT_EQ(builtin.out.rfind("object Form1: TForm1\n", 0), 0u) << builtin.out.substr(0, 80);
    for (const char* component :
         {"object DIBContainer1: TDIBContainer", "object DemosLabel10: TDIBFadeLabel",
          "object DIBImageList1: TDIBImageList", "object DIBFormShaper1: TDIBFormShaper"}) {
        EXPECT_NE(builtin.out.find(component), std::string::npos) << component;
    }
}

} // namespace
} // namespace kavlo
