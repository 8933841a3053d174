// The background music, headless on the virtual clock, over a sample disc written by kavlo-tool with the
// build's plug-in and two short tracks (about 4 s and 3 s): the start delay, the tracks in turn at the
// 5-second poll, pauses on leaving the menu, minimising and each action button, resuming only at the
// poll after the menu is active again and never on the Extra page, the settings switch, and discs whose
// plug-in or tracks are missing or broken, which leave the menu silent and otherwise the same.

#include <gtest/gtest.h>

#include <functional>

#include "kavlo/menu_run.h"

namespace kavlo {
namespace {

namespace fs = std::filesystem;
using test::json;
using test::Menu;
using test::MenuResult;
using test::ReadHostFile;
using test::TempDir;

// The sample disc as kavlo-tool writes it, with the music the build placed beside the tool.
const fs::path& MusicDisc() {
    static TempDir dir;
    static const fs::path disc = [] {
        const fs::path out = dir / "disc";
        const test::ToolRun run = test::RunTool({"sample-disc", out.string()});
        EXPECT_EQ(run.exit_code, 0) << run.err;
        return out;
    }();
    return disc;
}

fs::path MusicFile(const char* name) {
    return MusicDisc() / "KAVLO" / name;
}

// A step of a timeline and the state after it.
struct Step {
    std::string commands;
    json state;
};

// Runs the steps as one script, dumping after each, and gives the state once the menu has closed; the
// fixed seed keeps the border's clips the same from run to run.
json RunSteps(Menu& menu, std::vector<Step>& steps) {
    std::vector<std::string> commands;
    for (const Step& step : steps) {
        commands.push_back(step.commands);
    }
    ::setenv("KAVLO_OPEN", "true", 1); // the shell's opener does nothing on the test machine
    MenuResult r;
    const std::vector<json> states = menu.Steps(MusicDisc().string(), commands, {"--seed", "7"}, "", &r);
    ::unsetenv("KAVLO_OPEN");
    for (size_t i = 0; i < steps.size(); ++i) {
        steps[i].state = states[i];
    }
    return r.dump;
}

// What the music is doing: the player's four values, whether the menu counts it as playing, whether the
// poll runs.
std::string Music(const json& state) {
    const json& p = state["player"];
    return std::string(p["loaded"].get<bool>() ? "loaded" : "unloaded") +
           (p["ready"].get<bool>() ? " ready" : "") + " track " + std::to_string(p["track"].get<int>()) +
           " mode " + std::to_string(p["mode"].get<int>()) +
           (state["MenuState"]["MusicPlaying"] == 1 ? " playing" : "") +
           (state["components"]["MusicTimer"]["enabled"].get<bool>() ? "" : " no-poll");
}

constexpr const char* kSilent = "unloaded track 1 mode 0";
constexpr const char* kTrack1 = "loaded ready track 1 mode 4 playing";
constexpr const char* kTrack2 = "loaded ready track 2 mode 4 playing";

// Mode 3: the track has played to its end; the menu learns of it at the next poll and counts it as
// playing until then.
std::string Ended(int track) {
    return "loaded ready track " + std::to_string(track) + " mode 3 playing";
}

std::string Paused(int track, bool poll = true) {
    return "loaded ready track " + std::to_string(track) + " mode 5" + (poll ? "" : " no-poll");
}

// The poll runs every 5 s from the last activation (the window's first show at 0 here); the start delay
// loads track 1 at 5 s. Track 1 lasts about 4.05 s, track 2 about 3.05 s.
TEST(MusicScenario, TracksInTurnPausesAndResumesOnlyAtThePoll) {
    Menu menu;
    struct Expected {
        std::string commands;
        std::string music;
    };
    const std::vector<Expected> timeline = {
        {"wait 4900", kSilent},  // 4.9 s: the start delay has not passed
        {"wait 200", kTrack1},   // 5.1
        {"wait 4500", Ended(1)}, // 9.6: not yet noticed
        {"wait 1000", kTrack2},  // 10.6: the poll at 10 s started track 2
        {"wait 4000", Ended(2)}, // 14.6
        {"wait 1000", kTrack1},  // 15.6: and track 1 again at 15 s
        {"deactivate", Paused(1, false)},
        {"wait 10000", Paused(1, false)},   // 25.6
        {"activate\nwait 4900", Paused(1)}, // 30.5: active again, the poll not yet come
        {"wait 200", kTrack1},              // 30.7: resumed by the poll at 30.6, the same track
        // Each action button pauses before it acts; the poll after it resumes.
        {"click ReadmeImage", Paused(1)},
        {"wait 5000", kTrack1}, // 35.7
        {"click WebImage", Paused(1)},
        {"wait 5000", kTrack1},                            // 40.7
        {"click DIBSection4\nclick PlayImage", Paused(1)}, // the trailers page: the film opens
        {"wait 5000", kTrack1},                            // 45.7
        {"click DIBSection1\nclick StopImage", Paused(1)}, // nothing to uninstall, still a pause
        {"wait 5000", kTrack1},                            // 50.7
        // The icon column scrolls the Extra icon into reach; the pointer on the description stops it.
        {"move Down2\nwait 500\nmove TextLabel", kTrack1},
        {"click DibSection7\ndeactivate", Paused(1, false)}, // 51.2: the Extra page
        {"activate\nwait 5100", Paused(1)},                  // 56.3: the poll at 56.2 left it paused
        {"click DIBSection8\nwait 5000", kTrack1},           // 61.3: the software page, resumed at 61.2
        // Track 1 (1.6 s of it played before) ended at about 63.6 s; the poll at 66.2 began track 2.
        {"wait 5000", kTrack2},                      // 66.3
        {"click SetupSpot\nclick Play3", Paused(2)}, // the switch off
        {"wait 10000", Paused(2)},                   // 76.3: the polls leave it paused
        {"click Play3", kTrack1},                    // and on: track 1 from its start
        {"wait 3000", kTrack1},                      // 79.3: 3 s into a track of 4, not track 2 resumed
    };
    std::vector<Step> steps;
    for (const Expected& step : timeline) {
        steps.push_back({step.commands, {}});
    }
    RunSteps(menu, steps);
    if (HasFailure()) {
        return;
    }
    for (size_t i = 0; i < steps.size(); ++i) {
        EXPECT_EQ(Music(steps[i].state), timeline[i].music)
            << "after step " << i << ": " << steps[i].commands;
        EXPECT_EQ(steps[i].state["MenuState"]["Music"], i == 23 || i == 24 ? 0 : 1) << "after step " << i;
    }
    // The buttons acted as well: the readme and the web page through the shell, the film by the player.
    size_t shell_verbs = 0;
    for (const json& event : steps.back().state["events"]) {
        shell_verbs += event["kind"] == "shell" ? 1 : 0;
    }
    EXPECT_EQ(shell_verbs, 3u) << steps.back().state["events"].dump();
    EXPECT_NE(ReadHostFile(menu.Settings()).find("Music=1"), std::string::npos);
}

// Music=0 at start loads nothing; switched on it starts track 1 at once. Minimised, the music stays
// paused even when the menu is activated, until the window is restored and the poll comes.
TEST(MusicScenario, SwitchedOffAtStartThenOnAndMinimised) {
    Menu menu;
    menu.WriteSettings("[Main]\r\nMusic=0\r\n");
    std::vector<Step> steps = {
        {"wait 12000", {}},                   // past the start delay and two polls
        {"click SetupSpot\nclick Play3", {}}, // switched on at 12 s
        {"minimize", {}},
        {"activate\nwait 10000", {}}, // 22 s, activated while minimised
        {"restore\nwait 4900", {}},   // 26.9 s
        {"wait 200", {}},             // 27.1 s: the poll at 27 s resumed it
    };
    const json closed = RunSteps(menu, steps);
    if (HasFailure()) {
        return;
    }
    EXPECT_EQ(Music(steps[0].state), kSilent);
    EXPECT_EQ(steps[0].state["MenuState"]["Music"], 0);
    EXPECT_EQ(Music(steps[1].state), kTrack1);
    EXPECT_EQ(Music(steps[2].state), Paused(1, false));
    EXPECT_EQ(Music(steps[3].state), Paused(1, false));
    EXPECT_EQ(Music(steps[4].state), Paused(1));
    EXPECT_EQ(Music(steps[5].state), kTrack1);
    // Closing stopped the music and released the plug-in.
    EXPECT_EQ(closed["player"]["loaded"], false);
    EXPECT_EQ(closed["MenuState"]["MusicPlaying"], 0);
    EXPECT_NE(ReadHostFile(menu.Settings()).find("Music=1"), std::string::npos);
}

// The same short timeline on the whole disc and on damaged ones: the music fails silently (or, cut
// short, ends early), the switch stays on, no box is shown, and apart from the music the state is the
// same as on the whole disc.
TEST(MusicScenario, MissingOrBrokenMusicFilesLeaveTheMenuSilentAndOtherwiseUnchanged) {
    auto timeline = [] {
        Menu menu;
        // 5.1 s: track 1; 10.6: track 2; 20.6: track 2 again, after track 1 from 15 to 19.
        std::vector<Step> steps = {{"wait 5100", {}}, {"wait 5500", {}}, {"wait 10000", {}}};
        RunSteps(menu, steps);
        std::vector<json> states;
        for (const Step& step : steps) {
            states.push_back(step.state);
        }
        return states;
    };
    auto without_music = [](json state) {
        state.erase("player");
        state["MenuState"].erase("MusicPlaying");
        return state;
    };
    const std::vector<json> whole = timeline();
    ASSERT_EQ(whole.size(), 3u);
    ASSERT_EQ(Music(whole[0]), kTrack1);
    ASSERT_EQ(Music(whole[1]), kTrack2);
    ASSERT_EQ(Music(whole[2]), kTrack2);

    struct Damage {
        const char* file;
        // The file's new bytes made from its old ones; nothing: the file is removed.
        std::function<std::string(const std::string&)> replacement;
        std::vector<std::string> expected;
    };
    const std::string no_player = "unloaded track 1 mode 0";
    // The plug-in loads, but the track does not open: nothing is open, and nothing is tried again.
    const std::string no_track = "loaded track 1 mode 0";
    const Damage damages[] = {
        {"elamp.esp", nullptr, {no_player, no_player, no_player}},
        {"elamp.esp",
         [](const std::string&) { return std::string("MZ this is no library\r\n"); },
         {no_player, no_player, no_player}},
        {"music1.mp3", nullptr, {no_track, no_track, no_track}},
        // Track 1 plays; the switch to track 2 at 10 s fails and the music stays silent after it.
        {"music2.mp3", nullptr, {kTrack1, no_track, no_track}},
        // A track that is no MP3 at all opens as nothing the decoder knows.
        {"music2.mp3",
         [](const std::string&) { return std::string(20000, '\x5A'); },
         {kTrack1, no_track, no_track}},
        // A track cut short plays what there is and ends early; the turns go on.
        {"music2.mp3",
         [](const std::string& mp3) { return mp3.substr(0, mp3.size() / 10); },
         {kTrack1, Ended(2), Ended(2)}},
    };
    for (const Damage& damage : damages) {
        SCOPED_TRACE(std::string(damage.file) + (damage.replacement ? " replaced" : " removed"));
        const fs::path file = MusicFile(damage.file);
        const std::string original = ReadHostFile(file);
        ASSERT_FALSE(original.empty());
        fs::remove(file);
        if (damage.replacement) {
            test::WriteHostFile(file, damage.replacement(original));
        }
        const std::vector<json> states = timeline();
        test::WriteHostFile(file, original);
        ASSERT_EQ(states.size(), whole.size());
        for (size_t i = 0; i < states.size(); ++i) {
            EXPECT_EQ(Music(states[i]), damage.expected[i]) << "dump " << i;
            EXPECT_EQ(states[i]["MenuState"]["Music"], 1);
            EXPECT_EQ(without_music(states[i]), without_music(whole[i])) << "dump " << i;
        }
    }
}

} // namespace
} // namespace kavlo
