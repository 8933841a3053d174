#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "platform/codepage.h"
#include "platform/posix/posix_platform.h"
#include "platform/reg_file_registry.h"
#include "tool/tool_commands.h"

namespace kavlo::tool {

namespace {

// `kavlo-tool reg --pc DIR add|query|delete KEY [NAME [VALUE]]` on the PC's registry.reg, so that a
// setup script can leave uninstall keys that the running menu then finds.
struct RegOptions {
    std::string pc_root; // host directory, UTF-8
    std::string operation;
    std::string key; // "HKEY_LOCAL_MACHINE\Software\X" or "HKLM\Software\X", UTF-8
    std::vector<std::string> arguments;
};

struct KeyPath {
    RegRoot root;
    std::string path; // Windows-1250
};

[[noreturn]] void Fail(const std::string& message, int code = 1) {
    std::cerr << "reg: " << message << '\n';
    throw CLI::RuntimeError(code);
}

KeyPath ParseKey(const std::string& key) {
    auto split = SplitRegRootPath(FromUtf8(key));
    if (!split) {
        Fail("unknown root in " + key + " (HKEY_LOCAL_MACHINE, HKLM, HKEY_CURRENT_USER, HKCU, ...)", 2);
    }
    return KeyPath{split->first, split->second};
}

// Texts as they are; numbers in decimal; other data as the file writes it.
std::string ValueText(const RegValue& value) {
    if (value.type == RegType::String || value.type == RegType::ExpandString) {
        return ToUtf8(value.data);
    }
    if (value.type == RegType::Dword) {
        return std::to_string(value.dword);
    }
    return FormatRegData(value);
}

void Add(RegFileRegistry& registry, const KeyPath& key, const RegOptions& options) {
    const auto& args = options.arguments;
    if (args.size() != 0 && args.size() != 2) {
        Fail("usage: reg add KEY [NAME VALUE]", 2);
    }
    const bool done = args.empty()
                          ? registry.CreateKey(key.root, key.path)
                          : registry.WriteString(key.root, key.path, FromUtf8(args[0]), FromUtf8(args[1]));
    if (!done) {
        Fail("cannot write " + options.key);
    }
}

void Query(const RegFileRegistry& registry, const KeyPath& key, const RegOptions& options) {
    const auto& args = options.arguments;
    if (args.size() > 1) {
        Fail("usage: reg query KEY [NAME]", 2);
    }
    if (!registry.KeyExists(key.root, key.path)) {
        Fail("no key " + options.key);
    }
    if (args.size() == 1) {
        const auto value = registry.ReadValue(key.root, key.path, FromUtf8(args[0]));
        if (!value) {
            Fail("no value " + args[0] + " in " + options.key);
        }
        std::cout << ValueText(*value) << '\n';
        return;
    }
    for (const std::string& name : registry.ValueNames(key.root, key.path)) {
        const auto value = registry.ReadValue(key.root, key.path, name);
        std::cout << (name.empty() ? "@" : ToUtf8(name)) << '=' << ValueText(*value) << '\n';
    }
}

void Delete(RegFileRegistry& registry, const KeyPath& key, const RegOptions& options) {
    const auto& args = options.arguments;
    if (args.size() > 1) {
        Fail("usage: reg delete KEY [NAME]", 2);
    }
    const bool done = args.empty() ? registry.DeleteTree(key.root, key.path)
                                   : registry.DeleteValue(key.root, key.path, FromUtf8(args[0]));
    if (!done) {
        const std::string name = args.empty() ? "" : (args[0].empty() ? "@" : args[0]) + " in ";
        Fail("cannot delete " + name + options.key);
    }
}

void RunReg(const RegOptions& options) {
    const KeyPath key = ParseKey(options.key);
    const std::string root = options.pc_root.empty() ? DefaultPcRoot() : options.pc_root;
    RegFileRegistry registry(root + "/registry.reg");
    if (options.operation == "add") {
        Add(registry, key, options);
    } else if (options.operation == "query") {
        Query(registry, key, options);
    } else if (options.operation == "delete") {
        Delete(registry, key, options);
    } else {
        Fail("unknown operation " + options.operation + " (add, query, delete)", 2);
    }
}

} // namespace

void AddRegCommand(CLI::App& app) {
    auto options = std::make_shared<RegOptions>();
    CLI::App* reg = app.add_subcommand("reg", "Add, query or delete keys and values of the PC's registry");
    reg->add_option("--pc", options->pc_root, "PC root directory (default: the menu's own)");
    reg->add_option("operation", options->operation, "add, query or delete")->required();
    reg->add_option("key", options->key, "HKEY_LOCAL_MACHINE\\Software\\X or HKLM\\Software\\X")->required();
    reg->add_option("arguments", options->arguments,
                    "NAME and VALUE as the operation needs (UTF-8, \"\" = default)");
    reg->callback([options] { RunReg(*options); });
}

} // namespace kavlo::tool
