#include <iostream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "engine/command_lines.h"
#include "engine/paths.h"
#include "platform/codepage.h"
#include "platform/posix/posix_platform.h"
#include "tool/tool_commands.h"

namespace kavlo::tool {

namespace {

using TextOperation = std::string (*)(std::string_view);

const std::map<std::string, TextOperation>& TextOperations() {
    static const std::map<std::string, TextOperation> operations = {
        {"PostFixDir", PostFixDir},
        {"RemoveEndSlash", RemoveEndSlash},
        {"GetParentDir", GetParentDir},
        {"TextBeforeColon", TextBeforeColon},
        {"StripQuotes", StripQuotes},
        {"CutAfterExtension", CutAfterExtension},
        {"DoubleAmpersands", DoubleAmpersands},
        {"UCase", UCase},
        {"UninstallerDirOf", UninstallerDirOf},
    };
    return operations;
}

struct PathsOptions {
    std::string operation;
    std::vector<std::string> arguments;
    std::string pc_root;
    std::string disc_dir;
};

void PrintList(const std::vector<std::string>& items) {
    nlohmann::json list = nlohmann::json::array();
    for (const std::string& item : items) {
        list.push_back(ToUtf8(item));
    }
    std::cout << list.dump() << '\n';
}

// WorkingDirOf looks for the program file, so it runs against the PC (and disc) of the options.
std::string WorkingDirOfOnPc(const std::string& command_line, const PathsOptions& options) {
    PosixPlatformOptions pc_options;
    pc_options.pc_root = options.pc_root;
    if (!options.disc_dir.empty()) {
        pc_options.disc_dir = options.disc_dir;
    }
    PosixPlatform pc(pc_options);
    if (!pc.ok()) {
        std::cerr << "paths WorkingDirOf: " << pc.error() << '\n';
        throw CLI::RuntimeError(1);
    }
    return WorkingDirOf(pc.fs(), command_line);
}

void RunPaths(const PathsOptions& options) {
    if (options.arguments.size() != 1) {
        std::cerr << "paths " << options.operation << ": exactly one argument expected\n";
        throw CLI::RuntimeError(2);
    }
    const std::string argument = FromUtf8(options.arguments.front());
    if (options.operation == "SplitList") {
        PrintList(SplitList(argument));
        return;
    }
    if (options.operation == "WorkingDirOf") {
        std::cout << ToUtf8(WorkingDirOfOnPc(argument, options)) << '\n';
        return;
    }
    const auto found = TextOperations().find(options.operation);
    if (found == TextOperations().end()) {
        std::cerr << "paths: unknown operation " << options.operation << '\n';
        throw CLI::RuntimeError(2);
    }
    std::cout << ToUtf8(found->second(argument)) << '\n';
}

} // namespace

void AddPathsCommand(CLI::App& app) {
    auto options = std::make_shared<PathsOptions>();
    CLI::App* paths =
        app.add_subcommand("paths", "Run one path or text operation of the menu and print its result");
    paths
        ->add_option("operation", options->operation,
                     "PostFixDir, GetParentDir, SplitList, WorkingDirOf, ...")
        ->required();
    paths->add_option("arguments", options->arguments, "The operation's argument (UTF-8)");
    paths->add_option("--pc", options->pc_root, "PC root directory (WorkingDirOf)");
    paths->add_option("--disc", options->disc_dir, "Directory mapped as the disc drive (WorkingDirOf)");
    paths->callback([options] { RunPaths(*options); });
}

} // namespace kavlo::tool
