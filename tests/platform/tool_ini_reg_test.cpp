#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "platform/reg_file_registry.h"
#include "support/run_tool.h"
#include "support/temp_dir.h"

namespace kavlo {
namespace {

using test::ReadHostFile;
using test::RunTool;
using test::TempDir;
using test::ToolRun;
using test::WriteHostFile;

class ToolIni : public ::testing::Test {
protected:
    ToolRun Ini(std::vector<std::string> args) {
        args.insert(args.begin(), {"ini", file_});
        return RunTool(args);
    }
    TempDir dir_;
    std::string file_ = (dir_ / "kavlo.ini").string();
};

TEST_F(ToolIni, WritesWindows1250AndPrintsUtf8) {
    WriteHostFile(file_, "; mine\n[Main]\nEnhanced=1\n");
    EXPECT_EQ(Ini({"set", "Hlavní", "Klíč", "Žluťoučký kůň"}).exit_code, 0);
    EXPECT_EQ(Ini({"set", "main", "Neg", "-5"}).exit_code, 0);
    EXPECT_EQ(ReadHostFile(file_), "; mine\r\n[Main]\r\nEnhanced=1\r\nNeg=-5\r\n"
                                   "[Hlavn\xed]\r\nKl\xed\xe8=\x8elu\x9dou\xe8k\xfd k\xf9\xf2\r\n");
    EXPECT_EQ(Ini({"get", "HLAVNÍ", "klíč"}).out, "Žluťoučký kůň\n");
    EXPECT_EQ(Ini({"get", "Main", "Neg"}).out, "-5\n");
    EXPECT_EQ(Ini({"sections"}).out, "Main\nHlavní\n");
    EXPECT_EQ(Ini({"keys", "MAIN"}).out, "Enhanced\nNeg\n");
}

TEST_F(ToolIni, MissingValuesAndDeletes) {
    const std::vector<std::tuple<std::vector<std::string>, int, std::string>> runs = {
        {{"get", "Main", "Missing"}, 1, ""},
        {{"get", "Main", "Missing", "fallback"}, 0, "fallback\n"},
        {{"sections"}, 0, ""},
        {{"set", "Main", "a=b", "c"}, 1, ""},
        {{"set", "Main", "a", "line\nbreak"}, 1, ""},
        {{"frobnicate"}, 2, ""},
        {{"get", "Main"}, 2, ""},
    };
    for (const auto& [args, code, out] : runs) {
        const auto run = Ini(args);
        EXPECT_EQ(run.exit_code, code) << args[0];
        EXPECT_EQ(run.out, out) << args[0];
    }
    EXPECT_FALSE(std::filesystem::exists(file_)) << "failed commands create no file";

    ASSERT_EQ(Ini({"set", "A", "k", "1"}).exit_code, 0);
    ASSERT_EQ(Ini({"set", "A", "j", "2"}).exit_code, 0);
    ASSERT_EQ(Ini({"set", "B", "k", "3"}).exit_code, 0);
    EXPECT_EQ(Ini({"delete", "a", "K"}).exit_code, 0);
    EXPECT_EQ(Ini({"delete", "a", "K"}).exit_code, 0) << "nothing to delete";
    EXPECT_EQ(Ini({"delete", "B"}).exit_code, 0);
    EXPECT_EQ(ReadHostFile(file_), "[A]\r\nj=2\r\n");
    EXPECT_EQ(RunTool({"ini", (dir_ / "no" / "x.ini").string(), "set", "S", "k", "v"}).exit_code, 1);
}

class ToolReg : public ::testing::Test {
protected:
    ToolRun Reg(std::vector<std::string> args) {
        args.insert(args.begin(), {"reg", "--pc", dir_.path().string()});
        return RunTool(args);
    }
    TempDir dir_;
    std::string file_ = (dir_ / "registry.reg").string();
};

TEST_F(ToolReg, SetupScriptWritesWhatTheRunningMenuReads) {
    RegFileRegistry menu(file_);
    const std::string key = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Hra";
    EXPECT_FALSE(menu.KeyExists(RegRoot::LocalMachine, key));
    ASSERT_EQ(Reg({"add", "HKLM\\" + key, "UninstallString", "C:\\Hry\\Odinstalovat \"ř\".exe"}).exit_code,
              0);
    EXPECT_EQ(menu.ReadString(RegRoot::LocalMachine, key, "UninstallString"),
              "C:\\Hry\\Odinstalovat \"\xf8\".exe");
    ASSERT_EQ(Reg({"add", "HKEY_LOCAL_MACHINE\\" + key, "", "výchozí"}).exit_code, 0);
    ASSERT_TRUE(menu.WriteDword(RegRoot::LocalMachine, key, "Size", 31));
    ASSERT_EQ(Reg({"add", "HKCU\\Software\\Empty"}).exit_code, 0);
    EXPECT_TRUE(menu.KeyExists(RegRoot::CurrentUser, "Software\\Empty"));

    EXPECT_EQ(Reg({"query", "hklm\\" + key, "uninstallstring"}).out, "C:\\Hry\\Odinstalovat \"ř\".exe\n");
    EXPECT_EQ(Reg({"query", "HKLM\\" + key}).out,
              "UninstallString=C:\\Hry\\Odinstalovat \"ř\".exe\n@=výchozí\nSize=31\n");
    EXPECT_EQ(Reg({"query", "HKCU\\Software\\Empty"}).out, "");
}

TEST_F(ToolReg, FailuresExitWithOne) {
    ASSERT_EQ(Reg({"add", "HKLM\\Software\\A\\B", "v", "1"}).exit_code, 0);
    const std::vector<std::pair<std::vector<std::string>, int>> runs = {
        {{"query", "HKLM\\Software\\Missing"}, 1},
        {{"query", "HKLM\\Software\\A\\B", "missing"}, 1},
        {{"delete", "HKLM\\Software\\A\\B", "missing"}, 1},
        {{"delete", "HKLM\\Software\\Missing"}, 1},
        {{"delete", "HKLM"}, 1},
        {{"query", "HKXX\\Software"}, 2},
        {{"add", "HKLM\\Software", "only-name"}, 2},
        {{"rename", "HKLM\\Software"}, 2},
    };
    for (const auto& [args, code] : runs) {
        EXPECT_EQ(Reg(args).exit_code, code) << args[0] << " " << args[1];
    }
    EXPECT_EQ(Reg({"delete", "HKLM\\Software\\A\\B", "V"}).exit_code, 0);
    EXPECT_EQ(Reg({"query", "HKLM\\Software\\A\\B", "v"}).exit_code, 1);
    EXPECT_EQ(Reg({"delete", "HKLM\\Software\\A"}).exit_code, 0) << "the tree goes with its subkeys";
    EXPECT_EQ(Reg({"query", "HKLM\\Software\\A\\B"}).exit_code, 1);
    EXPECT_EQ(Reg({"query", "HKLM\\Software"}).exit_code, 0);
    EXPECT_EQ(RunTool({"reg", "--pc", (dir_ / "missing").string(), "add", "HKLM\\X"}).exit_code, 1);
}

} // namespace
} // namespace kavlo
