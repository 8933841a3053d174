#include <filesystem>
#include <iostream>

#include "sampledisc/sample_disc.h"
#include "tool/tool_commands.h"

namespace kavlo::tool {

namespace {

// The build places the music plug-in and the tracks beside this tool.
std::filesystem::path OwnFolder() {
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::path() : self.parent_path();
}

} // namespace

void AddSampleDiscCommand(CLI::App& app) {
    auto* cmd = app.add_subcommand("sample-disc", "Write the sample disc into a folder");
    auto out = std::make_shared<std::string>();
    auto language = std::make_shared<int>(0);
    cmd->add_option("OUT", *out, "Folder of the disc (created when missing)")->required();
    cmd->add_option("--lang", *language,
                    "Disc language: 0 English, 1 Czech, 2 Turkish, 3 Romanian, 4 Slovak, "
                    "5 German, 6 Indonesian")
        ->check(CLI::Range(0, 6));
    cmd->callback([out, language] {
        const sample::SampleDiscOptions options{*language, OwnFolder()};
        // A disc without its music still works: the menu stays silent.
        for (const char* name : sample::kDiscMusicFiles) {
            if (!std::filesystem::is_regular_file(options.music_dir / name)) {
                std::cerr << "sample-disc: no " << name << " beside kavlo-tool; the disc goes without it\n";
            }
        }
        std::string error;
        if (!sample::WriteSampleDisc(*out, options, error)) {
            std::cerr << "sample-disc: " << error << "\n";
            throw CLI::RuntimeError(1);
        }
    });
}

} // namespace kavlo::tool
