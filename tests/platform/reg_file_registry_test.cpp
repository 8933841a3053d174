#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/reg_file_registry.h"
#include "support/temp_dir.h"

namespace kavlo {
namespace {

using namespace std::string_literals;
using test::ReadHostFile;
using test::TempDir;
using test::WriteHostFile;

constexpr auto HKLM = RegRoot::LocalMachine;
constexpr auto HKCU = RegRoot::CurrentUser;

std::string AllBytes() {
    std::string bytes;
    for (int i = 0; i < 256; ++i) {
        bytes += static_cast<char>(i);
    }
    return bytes;
}

TEST(RegFileRegistry, RoundTripOfEveryValueType) {
    TempDir dir;
    const std::string file = (dir / "registry.reg").string();
    const std::vector<std::pair<std::string, RegValue>> values = {
        {"", {RegType::String, "default", 0}},
        {"Path", {RegType::String, "C:\\Program Files\\\"X\"\\", 0}},
        {"Quote\"Back\\slash", {RegType::String, "", 0}},
        {"\xc8\x65sk\xfd", {RegType::String, "\x9elu\x9d", 0}},
        {"Lines", {RegType::String, "a\r\nb\nc\rd", 0}},
        {"Nul", {RegType::String, "a\0b"s, 0}},
        {"Expand", {RegType::ExpandString, "%SystemRoot%\\system32", 0}},
        {"Empty expand", {RegType::ExpandString, "", 0}},
        {"Binary", {RegType::Binary, AllBytes(), 0}},
        {"No bytes", {RegType::Binary, "", 0}},
        {"Dword", {RegType::Dword, "", 0xdeadbeef}},
        {"Multi", {static_cast<RegType>(7), "a\0b\0\0"s, 0}},
    };
    {
        RegFileRegistry reg(file);
        for (const auto& [name, value] : values) {
            ASSERT_TRUE(reg.WriteValue(HKLM, "Software\\Test", name, value)) << name;
        }
    }
    RegFileRegistry again(file);
    for (const auto& [name, value] : values) {
        const auto read = again.ReadValue(HKLM, "Software\\Test", name);
        ASSERT_TRUE(read.has_value()) << name;
        EXPECT_EQ(read->type, value.type) << name;
        EXPECT_EQ(read->data, value.data) << name;
        EXPECT_EQ(read->dword, value.dword) << name;
    }
    std::vector<std::string> names;
    for (const auto& [name, value] : values) {
        names.push_back(name);
    }
    EXPECT_EQ(again.ValueNames(HKLM, "Software\\Test"), names);

    const std::string text = ReadHostFile(file);
    EXPECT_TRUE(text.starts_with("REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software]\r\n\r\n"));
    for (const std::string line :
         {"[HKEY_LOCAL_MACHINE\\Software\\Test]\r\n", "@=\"default\"\r\n",
          "\"Path\"=\"C:\\\\Program Files\\\\\\\"X\\\"\\\\\"\r\n", "\"Quote\\\"Back\\\\slash\"=\"\"\r\n",
          "\"Dword\"=dword:deadbeef\r\n", "\"Expand\"=hex(2):25,53,79", "\"No bytes\"=hex:\r\n"}) {
        EXPECT_NE(text.find(line), std::string::npos) << line;
    }
    // Nothing but CR LF ends a line, and long hex lists are wrapped.
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            ASSERT_EQ(text.substr(i, 2), "\r\n") << "at " << i;
            ++i;
        }
    }
    EXPECT_NE(text.find(",\\\r\n  "), std::string::npos);
}

struct ParseCase {
    std::string what;
    std::string line; // under [HKEY_LOCAL_MACHINE\K]
    std::optional<RegValue> expected;
};

TEST(RegFormat, LenientValueLines) {
    const std::vector<ParseCase> cases = {
        {"string", "\"V\"=\"x\"", RegValue{RegType::String, "x", 0}},
        {"blanks around", "  \"V\" = \"x y\"  ", RegValue{RegType::String, "x y", 0}},
        {"unknown escape kept", "\"V\"=\"a\\tb\"", RegValue{RegType::String, "a\\tb", 0}},
        {"dword upper case", "\"V\"=dword:0000ABCD", RegValue{RegType::Dword, "", 0xabcd}},
        {"short dword", "\"V\"=dword:1f", RegValue{RegType::Dword, "", 0x1f}},
        {"continued hex", "\"V\"=hex:01,02,\\\r\n   03,\\\n04",
         RegValue{RegType::Binary, "\x01\x02\x03\x04", 0}},
        {"hex(2) with NUL", "\"V\"=hex(2):41,42,00", RegValue{RegType::ExpandString, "AB", 0}},
        {"hex(4) is a dword", "\"V\"=hex(4):78,56,34,12", RegValue{RegType::Dword, "", 0x12345678}},
        {"hex(3) is binary", "\"V\"=hex(3):ff", RegValue{RegType::Binary, "\xff", 0}},
        {"unterminated string", "\"V\"=\"abc", std::nullopt},
        {"junk after string", "\"V\"=\"a\"b\"", std::nullopt},
        {"bad hex byte", "\"V\"=hex:01,0g", std::nullopt},
        {"three-digit byte", "\"V\"=hex:100", std::nullopt},
        {"dword too long", "\"V\"=dword:123456789", std::nullopt},
        {"dword junk", "\"V\"=dword:12x", std::nullopt},
        {"unknown type", "\"V\"=qword:1", std::nullopt},
        {"no =", "\"V\" \"x\"", std::nullopt},
        {"unquoted name", "V=\"x\"", std::nullopt},
        {"hex(4) of 3 bytes", "\"V\"=hex(4):01,02,03", std::nullopt},
    };
    for (const auto& c : cases) {
        const RegTree tree = ParseRegFile("REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\K]\r\n" + c.line + "\r\n");
        const RegKeyNode* key = tree.Root(HKLM).FindSubKey("K");
        ASSERT_NE(key, nullptr) << c.what;
        const RegValue* value = key->FindValue("v");
        ASSERT_EQ(value != nullptr, c.expected.has_value()) << c.what;
        if (value != nullptr) {
            EXPECT_EQ(value->type, c.expected->type) << c.what;
            EXPECT_EQ(value->data, c.expected->data) << c.what;
            EXPECT_EQ(value->dword, c.expected->dword) << c.what;
        }
    }
}

TEST(RegFormat, LenientStructure) {
    const RegTree tree = ParseRegFile("\x01\xff junk\n"
                                      "\"Orphan\"=\"x\"\n"
                                      "[HKEY_NOWHERE\\A]\n\"Lost\"=\"x\"\n"
                                      "[-HKEY_LOCAL_MACHINE\\Gone]\n\"Lost\"=\"x\"\n"
                                      "[HKEY_LOCAL_MACHINE\\A\n\"Lost\"=\"x\"\n"
                                      "[hkcu\\\\Soft\\]  trailing\r"
                                      "; comment\r"
                                      "@=\"d\"\r"
                                      "\"Second\"=\"1\"\n\"second\"=\"2\"\n"
                                      "[HKEY_CLASSES_ROOT]\n@=\"root\"\n"
                                      "\"Cut\"=hex:01,\\");
    EXPECT_TRUE(tree.Root(HKLM).subkeys.empty());
    const RegKeyNode* soft = tree.Root(HKCU).FindSubKey("SOFT");
    ASSERT_NE(soft, nullptr);
    EXPECT_EQ(soft->FindValue("")->data, "d");
    // A later line for the same value replaces the earlier one.
    EXPECT_EQ(soft->FindValue("SECOND")->data, "2");
    EXPECT_EQ(soft->values.size(), 2u);
    EXPECT_EQ(tree.Root(RegRoot::ClassesRoot).FindValue("")->data, "root");
    EXPECT_EQ(tree.Root(RegRoot::ClassesRoot).FindValue("Cut")->data, "\x01");
}

TEST(RegFormat, RootPaths) {
    EXPECT_EQ(SplitRegRootPath("HKEY_LOCAL_MACHINE\\Software\\X"), std::make_pair(HKLM, "Software\\X"s));
    EXPECT_EQ(SplitRegRootPath("hklm\\Software"), std::make_pair(HKLM, "Software"s));
    EXPECT_EQ(SplitRegRootPath("HKCU"), std::make_pair(HKCU, ""s));
    EXPECT_EQ(SplitRegRootPath("HKU\\S"), std::make_pair(RegRoot::Users, "S"s));
    EXPECT_EQ(SplitRegRootPath("HKCC"), std::make_pair(RegRoot::CurrentConfig, ""s));
    EXPECT_EQ(SplitRegRootPath("HKEY_CLASSES_ROOT\\.pdf"), std::make_pair(RegRoot::ClassesRoot, ".pdf"s));
    EXPECT_EQ(SplitRegRootPath("HKLMX\\Software"), std::nullopt);
    EXPECT_EQ(SplitRegRootPath("\\Software"), std::nullopt);
}

class RegistryFile : public ::testing::Test {
protected:
    TempDir dir_;
    std::string file_ = (dir_ / "registry.reg").string();
    RegFileRegistry reg_{file_};
};

TEST_F(RegistryFile, NamesAndPaths) {
    ASSERT_TRUE(reg_.WriteString(HKLM, "\\Software\\Kavlo\\\xc8\x65sk\xfd", "Dir", "C:\\Hry"));
    EXPECT_EQ(reg_.ReadString(HKLM, "software\\KAVLO\\\xe8\x65SK\xdd", "dir"), "C:\\Hry");
    EXPECT_EQ(reg_.ReadString(HKLM, "Software\\\\Kavlo\\\xc8\x65sk\xfd\\", "DIR"), "C:\\Hry");
    EXPECT_TRUE(reg_.KeyExists(HKLM, "SOFTWARE"));
    EXPECT_TRUE(reg_.KeyExists(HKLM, ""));
    EXPECT_FALSE(reg_.KeyExists(HKCU, "Software"));
    EXPECT_EQ(reg_.ReadString(HKLM, "Software\\Kavlo\\\xc8\x65sk\xfd", "Missing"), std::nullopt);
    EXPECT_EQ(reg_.ReadDword(HKLM, "Software\\Kavlo\\\xc8\x65sk\xfd", "Dir"), std::nullopt);
    // Writing again under another spelling keeps the stored names.
    ASSERT_TRUE(reg_.WriteDword(HKLM, "SOFTWARE\\KAVLO\\\xe8\x65sk\xfd", "DIR", 5));
    EXPECT_EQ(reg_.SubKeys(HKLM, "Software"), std::vector<std::string>{"Kavlo"});
    EXPECT_EQ(reg_.ValueNames(HKLM, "Software\\Kavlo\\\xc8\x65sk\xfd"), std::vector<std::string>{"Dir"});
    EXPECT_EQ(reg_.ReadDword(HKLM, "Software\\Kavlo\\\xc8\x65sk\xfd", "Dir"), 5u);
    // Names that would break the file are refused.
    EXPECT_FALSE(reg_.WriteString(HKLM, "Software\\A\nB", "x", "y"));
    EXPECT_FALSE(reg_.WriteString(HKLM, "Software", "x\r\ny", "y"));
    EXPECT_FALSE(reg_.CreateKey(HKLM, "Software\\A\rB"));
}

TEST_F(RegistryFile, CreateAndDeleteRules) {
    ASSERT_TRUE(reg_.CreateKey(HKLM, "A\\B\\C"));
    EXPECT_TRUE(reg_.KeyExists(HKLM, "A\\B"));
    ASSERT_TRUE(reg_.CreateKey(HKLM, "A\\B\\C")); // an existing key opens
    ASSERT_TRUE(reg_.WriteString(HKLM, "A\\B", "v", "1"));
    ASSERT_TRUE(reg_.WriteString(HKLM, "A", "w", "2"));

    EXPECT_FALSE(reg_.DeleteKey(HKLM, "A\\B")) << "a key with subkeys stays";
    EXPECT_TRUE(reg_.KeyExists(HKLM, "A\\B\\C"));
    EXPECT_TRUE(reg_.DeleteKey(HKLM, "a\\b\\c"));
    EXPECT_FALSE(reg_.DeleteKey(HKLM, "A\\B\\C"));
    EXPECT_TRUE(reg_.DeleteKey(HKLM, "A\\B")) << "values do not keep a key";
    EXPECT_FALSE(reg_.DeleteKey(HKLM, ""));
    EXPECT_FALSE(reg_.DeleteKey(HKLM, "Missing\\Deeper"));

    ASSERT_TRUE(reg_.CreateKey(HKLM, "A\\X\\Y\\Z"));
    EXPECT_TRUE(reg_.DeleteValue(HKLM, "A", "W"));
    EXPECT_FALSE(reg_.DeleteValue(HKLM, "A", "w"));
    EXPECT_FALSE(reg_.DeleteValue(HKLM, "Missing", "w"));
    EXPECT_TRUE(reg_.DeleteTree(HKLM, "A"));
    EXPECT_FALSE(reg_.KeyExists(HKLM, "A"));
    EXPECT_FALSE(reg_.DeleteTree(HKLM, "A"));
    EXPECT_FALSE(reg_.DeleteTree(HKLM, "\\"));

    RegFileRegistry again(file_);
    EXPECT_TRUE(again.SubKeys(HKLM, "").empty());
}

TEST_F(RegistryFile, SeesChangesOfAnotherWriter) {
    RegFileRegistry menu(file_);
    EXPECT_EQ(menu.ReadString(HKLM, "Software\\Game", "Dir"), std::nullopt);
    ASSERT_TRUE(reg_.WriteString(HKLM, "Software\\Game", "Dir", "C:\\Game"));
    EXPECT_EQ(menu.ReadString(HKLM, "Software\\Game", "Dir"), "C:\\Game");
    // A write by the menu must not lose what the other wrote meanwhile.
    ASSERT_TRUE(reg_.WriteString(HKLM, "Software\\Game", "Version", "2"));
    ASSERT_TRUE(menu.WriteString(HKLM, "Software\\Other", "x", "y"));
    EXPECT_EQ(RegFileRegistry(file_).ReadString(HKLM, "Software\\Game", "Version"), "2");

    WriteHostFile(file_, "REGEDIT4\n[HKEY_CURRENT_USER\\Edited]\n\"By\"=\"hand\"\n");
    EXPECT_EQ(menu.ReadString(HKCU, "Edited", "By"), "hand");
    EXPECT_FALSE(menu.KeyExists(HKLM, "Software\\Game"));
}

TEST_F(RegistryFile, FailedWriteChangesNothing) {
    ASSERT_TRUE(reg_.WriteString(HKLM, "Software\\Game", "Dir", "old"));
    const std::string before = ReadHostFile(file_);
    std::filesystem::permissions(file_,
                                 std::filesystem::perms::owner_write | std::filesystem::perms::group_write |
                                     std::filesystem::perms::others_write,
                                 std::filesystem::perm_options::remove);
    EXPECT_FALSE(reg_.WriteString(HKLM, "Software\\Game", "Dir", "new"));
    EXPECT_FALSE(reg_.DeleteTree(HKLM, "Software"));
    EXPECT_EQ(reg_.ReadString(HKLM, "Software\\Game", "Dir"), "old");
    EXPECT_EQ(ReadHostFile(file_), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.path()), {}), 1) << "no temporary left";

    RegFileRegistry nowhere((dir_ / "missing" / "registry.reg").string());
    EXPECT_FALSE(nowhere.CreateKey(HKLM, "Software"));
    EXPECT_FALSE(nowhere.KeyExists(HKLM, "Software"));
    EXPECT_FALSE(std::filesystem::exists(dir_ / "missing"));
}

} // namespace
} // namespace kavlo
