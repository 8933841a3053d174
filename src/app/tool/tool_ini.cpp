#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "platform/codepage.h"
#include "platform/profile_document.h"
#include "platform/reg_file_registry.h"
#include "tool/tool_commands.h"

namespace kavlo::tool {

namespace {

// `kavlo-tool ini FILE OPERATION ARGS...` on a host INI file, with the rules the menu reads it by.
struct IniOptions {
    std::string file; // host path, UTF-8
    std::string operation;
    std::vector<std::string> arguments; // UTF-8
};

[[noreturn]] void Fail(const std::string& message, int code = 1) {
    std::cerr << "ini: " << message << '\n';
    throw CLI::RuntimeError(code);
}

void ExpectArguments(const IniOptions& options, size_t min, size_t max, const char* usage) {
    if (options.arguments.size() < min || options.arguments.size() > max) {
        Fail(std::string("usage: ini FILE ") + usage, 2);
    }
}

ProfileDocument Load(const std::string& file) {
    std::error_code ec;
    auto bytes = ReadHostBytes(file);
    if (!bytes &&
        std::filesystem::exists(std::filesystem::path(std::u8string(file.begin(), file.end())), ec)) {
        Fail("cannot read " + file); // never overwrite what we could not read
    }
    // A missing file reads as empty and is created by the first write.
    return ProfileDocument::Parse(bytes.value_or(""));
}

void Save(const std::string& file, const ProfileDocument& doc) {
    if (!ReplaceHostFile(file, doc.Serialize())) {
        Fail("cannot write " + file);
    }
}

void PrintLines(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
        std::cout << ToUtf8(line) << '\n';
    }
}

void Get(const IniOptions& options) {
    ExpectArguments(options, 2, 3, "get SECTION KEY [DEFAULT]");
    const auto& args = options.arguments;
    const auto value = Load(options.file).Get(FromUtf8(args[0]), FromUtf8(args[1]));
    if (!value && args.size() < 3) {
        Fail("no value " + args[0] + "/" + args[1]);
    }
    std::cout << (value ? ToUtf8(*value) : args[2]) << '\n';
}

void Set(const IniOptions& options) {
    ExpectArguments(options, 3, 3, "set SECTION KEY VALUE");
    const auto& args = options.arguments;
    ProfileDocument doc = Load(options.file);
    if (!doc.Set(FromUtf8(args[0]), FromUtf8(args[1]), FromUtf8(args[2]))) {
        Fail("the key or value cannot be stored in an INI file");
    }
    Save(options.file, doc);
}

void Delete(const IniOptions& options) {
    ExpectArguments(options, 1, 2, "delete SECTION [KEY]");
    const auto& args = options.arguments;
    ProfileDocument doc = Load(options.file);
    const bool changed = args.size() == 1 ? doc.DeleteSection(FromUtf8(args[0]))
                                          : doc.DeleteKey(FromUtf8(args[0]), FromUtf8(args[1]));
    // Deleting what is not there succeeds and leaves the file alone, as on Windows.
    if (changed) {
        Save(options.file, doc);
    }
}

void RunIni(const IniOptions& options) {
    if (options.operation == "get") {
        Get(options);
    } else if (options.operation == "set") {
        Set(options);
    } else if (options.operation == "delete") {
        Delete(options);
    } else if (options.operation == "sections") {
        ExpectArguments(options, 0, 0, "sections");
        PrintLines(Load(options.file).Sections());
    } else if (options.operation == "keys") {
        ExpectArguments(options, 1, 1, "keys SECTION");
        PrintLines(Load(options.file).Keys(FromUtf8(options.arguments[0])));
    } else {
        Fail("unknown operation " + options.operation + " (get, set, delete, sections, keys)", 2);
    }
}

} // namespace

void AddIniCommand(CLI::App& app) {
    auto options = std::make_shared<IniOptions>();
    CLI::App* ini =
        app.add_subcommand("ini", "Read or change a host INI file with the Windows private-profile rules");
    ini->add_option("file", options->file, "The INI file (host path)")->required();
    ini->add_option("operation", options->operation, "get, set, delete, sections or keys")->required();
    ini->add_option("arguments", options->arguments,
                    "SECTION, KEY, VALUE or DEFAULT as the operation needs (UTF-8)");
    ini->callback([options] { RunIni(*options); });
}

} // namespace kavlo::tool
