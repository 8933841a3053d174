#pragma once

// Runs of the headless menu over discs and PC roots made for a test, and their state dumps.

#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "sampledisc/sample_disc.h"
#include "support/run_tool.h"
#include "support/temp_dir.h"

namespace kavlo::test {

using nlohmann::json;

inline std::filesystem::path WriteDisc(const std::filesystem::path& where) {
    std::string error;
    EXPECT_TRUE(sample::WriteSampleDisc(where, {}, error)) << error;
    return where;
}

// One sample disc for the tests that leave it as it is.
inline std::string SampleDisc() {
    static TempDir dir;
    static const std::filesystem::path disc = WriteDisc(dir / "disc");
    return disc.string();
}

inline void SetCatalogueKey(const std::filesystem::path& disc, const std::string& key,
                            const std::string& value) {
    const ToolRun run =
        RunTool({"ini", (disc / "KAVLO" / "kavloxp.ini").string(), "set", "Main", key, value});
    ASSERT_EQ(run.exit_code, 0) << run.err;
}

struct MenuResult {
    ToolRun run;
    json dump;
};

// A PC of its own and a run of the menu on it.
class Menu {
public:
    std::filesystem::path Settings() const { return dir_ / "pc" / "drive_c" / "WINDOWS" / "kavlo.ini"; }
    void WriteSettings(const std::string& text) const { WriteHostFile(Settings(), text); }

    MenuResult Run(const std::string& disc, std::vector<std::string> options = {},
                   const std::string& script = "", const std::string& now = "2026-12-08T12:00") {
        std::vector<std::string> args{"--headless", "--pc",         (dir_ / "pc").string(),       "--now",
                                      now,          "--dump-state", (dir_ / "dump.json").string()};
        if (!disc.empty()) {
            args.insert(args.end(), {"--disc", disc});
        }
        if (!script.empty()) {
            WriteHostFile(dir_ / "script.txt", script);
            args.insert(args.end(), {"--script", (dir_ / "script.txt").string()});
        }
        args.insert(args.end(), options.begin(), options.end());
        MenuResult result{RunMenu(args), json()};
        const std::string text = ReadHostFile(dir_ / "dump.json");
        if (!text.empty()) {
            result.dump = json::parse(text);
        }
        std::filesystem::remove(dir_ / "dump.json");
        return result;
    }

    // Runs the steps as one script (a step is one or more script lines, `tail` follows the last),
    // dumping after each, and gives the dumps; one the run never took fails the test and reads as null.
    std::vector<json> Steps(const std::string& disc, const std::vector<std::string>& steps,
                            std::vector<std::string> options = {}, const std::string& tail = "",
                            MenuResult* result = nullptr) {
        std::string script;
        std::vector<std::filesystem::path> dumps;
        for (size_t i = 0; i < steps.size(); ++i) {
            dumps.push_back(dir_ / ("step" + std::to_string(i) + ".json"));
            script += steps[i] + "\ndump " + dumps.back().string() + "\n";
        }
        MenuResult r = Run(disc, std::move(options), script + tail);
        EXPECT_EQ(r.run.exit_code, 0) << r.run.err;
        std::vector<json> states;
        for (size_t i = 0; i < dumps.size(); ++i) {
            const std::string text = ReadHostFile(dumps[i]);
            EXPECT_FALSE(text.empty()) << "no dump after step " << i << ": " << steps[i];
            states.push_back(text.empty() ? json() : json::parse(text));
            std::filesystem::remove(dumps[i]);
        }
        if (result != nullptr) {
            *result = std::move(r);
        }
        return states;
    }

    const TempDir& Dir() const { return dir_; }

private:
    TempDir dir_;
};

inline std::vector<json> Boxes(const json& dump) {
    std::vector<json> boxes;
    for (const json& event : dump["events"]) {
        if (event["kind"] == "messagebox") {
            boxes.push_back(event);
        }
    }
    return boxes;
}

} // namespace kavlo::test
