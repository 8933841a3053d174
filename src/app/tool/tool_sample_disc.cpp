#include <iostream>

#include "sampledisc/sample_disc.h"
#include "tool/tool_commands.h"

namespace kavlo::tool {

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
        std::string error;
        if (!sample::WriteSampleDisc(*out, sample::SampleDiscOptions{*language}, error)) {
            std::cerr << "sample-disc: " << error << "\n";
            throw CLI::RuntimeError(1);
        }
    });
}

} // namespace kavlo::tool
