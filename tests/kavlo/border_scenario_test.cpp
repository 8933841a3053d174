// The border's clips over a minute of the headless menu's virtual clock with a fixed seed: the start
// delay, which clip the scheduler starts at each 300 ms tick (its draws from the seeded generator), each
// clip playing its 15 frames at 67 ms once and resting on the last, a clip asked again while it plays
// going on undisturbed; and a border panel off at start, whose first tick ends the scheduler.

#include <gtest/gtest.h>

#include <array>
#include <random>

#include "kavlo/menu_run.h"

namespace kavlo {
namespace {

using test::json;
using test::Menu;
using test::SampleDisc;

constexpr int kFirstTick = 5300; // the start timer's 5 s, then the scheduler's first 300 ms
constexpr int kTick = 300;
constexpr int kFrameMs = 67; // 66 667 us a frame, rounded to the timer's milliseconds
constexpr int kFrames = 15;

// What a clip window shows at a moment: its frame and whether it plays.
struct ClipState {
    int frame = 1;
    bool playing = false;
    bool operator==(const ClipState&) const = default;
};

std::ostream& operator<<(std::ostream& out, const ClipState& state) {
    return out << "frame " << state.frame << (state.playing ? " playing" : "");
}

// The border as the menu should run it: a draw of 0 ... 14 at every tick, draws below 10 starting the
// clip window of that number + 1 unless it is still playing.
class BorderModel {
public:
    explicit BorderModel(uint32_t seed) : random_(seed) {}

    // Runs the ticks up to `ms` and tells each window's state then.
    std::array<ClipState, 10> At(int ms) {
        while (next_tick_ <= ms) {
            const int r = std::uniform_int_distribution<int>(0, 14)(random_);
            if (r < 10 && Playing(r, next_tick_)) {
                ++asked_again_;
            } else if (r < 10) {
                started_[static_cast<size_t>(r)] = next_tick_;
                ++starts_;
            }
            next_tick_ += kTick;
        }
        std::array<ClipState, 10> states;
        for (size_t i = 0; i < states.size(); ++i) {
            if (started_[i] >= 0) {
                const int frame = 1 + (ms - started_[i]) / kFrameMs;
                states[i] = {std::min(frame, kFrames), frame <= kFrames};
            }
        }
        return states;
    }

    int Starts() const { return starts_; }
    int AskedAgain() const { return asked_again_; }

private:
    bool Playing(int r, int ms) const {
        const int started = started_[static_cast<size_t>(r)];
        return started >= 0 && ms < started + kFrames * kFrameMs;
    }

    std::mt19937 random_;
    int next_tick_ = kFirstTick;
    int starts_ = 0;
    int asked_again_ = 0;
    std::array<int, 10> started_ = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
};

std::array<ClipState, 10> Clips(const json& dump) {
    std::array<ClipState, 10> states;
    for (size_t i = 0; i < states.size(); ++i) {
        const json& animate = dump["components"]["Animate" + std::to_string(i + 1)];
        states[i] = {animate["frame"].get<int>(), animate["playing"].get<bool>()};
    }
    return states;
}

// Runs the menu with dumps at the given moments (ms of virtual time) and reads them back.
std::vector<json> DumpsAt(Menu& menu, const std::vector<int>& moments, std::vector<std::string> options) {
    std::vector<std::string> waits;
    int now = 0;
    for (const int moment : moments) {
        waits.push_back("wait " + std::to_string(moment - now));
        now = moment;
    }
    return menu.Steps(SampleDisc(), waits, std::move(options), "quit\n");
}

TEST(BorderScenario, OverAMinuteTheSeededSchedulerStartsEachClipAtItsTickForOneSecond) {
    // A look every third tick, 150 ms after it: a clip started by that tick shows its third frame, one
    // started by either tick before its 7th or 12th; no start goes unseen.
    std::vector<int> moments = {4990};
    for (int ms = kFirstTick + 150; ms < 65000; ms += 3 * kTick) {
        moments.push_back(ms);
    }
    Menu menu;
    const std::vector<json> dumps = DumpsAt(menu, moments, {"--seed", "7"});
    ASSERT_EQ(dumps.size(), moments.size());

    // Before the start delay is over: every window shows its clip's first frame, none plays.
    const json& before = dumps.front()["components"];
    EXPECT_TRUE(before["StartTimer"]["enabled"]);
    EXPECT_FALSE(before["AnimationTimer"]["enabled"]);
    EXPECT_EQ(before["AnimationTimer"]["interval"], 300);
    const std::array<const char*, 10> clips = {"AVI4", "AVI5", "AVI1",  "AVI3", "AVI7",
                                               "AVI6", "AVI9", "AVI10", "AVI2", "AVI8"};
    for (size_t i = 0; i < clips.size(); ++i) {
        const json& animate = before["Animate" + std::to_string(i + 1)];
        EXPECT_EQ(animate["clip"], clips[i]);
        EXPECT_TRUE(animate["visible"]);
        EXPECT_EQ(animate["frame"], 1);
        EXPECT_FALSE(animate["playing"]);
    }

    BorderModel model(7);
    for (size_t i = 1; i < dumps.size(); ++i) {
        SCOPED_TRACE("at " + std::to_string(moments[i]) + " ms");
        const std::array<ClipState, 10> expected = model.At(moments[i]);
        const std::array<ClipState, 10> shown = Clips(dumps[i]);
        for (size_t c = 0; c < shown.size(); ++c) {
            EXPECT_EQ(shown[c], expected[c]) << "Animate" << c + 1;
        }
        EXPECT_TRUE(dumps[i]["components"]["AnimationTimer"]["enabled"]);
        EXPECT_FALSE(dumps[i]["components"]["StartTimer"]["enabled"]);
    }
    // The seed's first draws, fixed: Animate2 at the first tick, Animate4 at the second. Over the minute
    // it also asks clips that are still playing.
    EXPECT_EQ(Clips(dumps[1])[1], (ClipState{3, true}));
    EXPECT_EQ(Clips(dumps[2])[1], (ClipState{15, false}));
    EXPECT_EQ(Clips(dumps[2])[3], (ClipState{12, true}));
    EXPECT_GT(model.Starts(), 100);
    EXPECT_GT(model.AskedAgain(), 5);
}

TEST(BorderScenario, ABorderPanelOffAtStartEndsTheSchedulerAtItsFirstTick) {
    Menu menu;
    menu.WriteSettings("[Main]\r\nEnhanced=0\r\n");
    const std::vector<json> dumps = DumpsAt(menu, {5100, 5400, 30000}, {"--seed", "7"});
    ASSERT_EQ(dumps.size(), 3u);
    EXPECT_TRUE(dumps[0]["components"]["AnimationTimer"]["enabled"]);
    for (const json& dump : {dumps[1], dumps[2]}) {
        EXPECT_FALSE(dump["components"]["AnimationTimer"]["enabled"]);
        EXPECT_FALSE(dump["components"]["StartTimer"]["enabled"]);
        for (int n = 1; n <= 10; ++n) {
            const json& animate = dump["components"]["Animate" + std::to_string(n)];
            EXPECT_FALSE(animate["visible"]) << n;
            EXPECT_EQ(animate["clip"], "") << n;
            EXPECT_EQ(animate["frame"], 0) << n;
            EXPECT_FALSE(animate["playing"]) << n;
        }
    }
}

} // namespace
} // namespace kavlo
