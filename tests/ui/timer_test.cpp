#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/application.h"
#include "ui/headless/headless_backend.h"

namespace kavlo {
namespace {

class TimerLoop : public ::testing::Test {
protected:
    HeadlessBackend backend;
    Application app{backend};
};

TEST_F(TimerLoop, PeriodicTimerKeepsItsGrid) {
    std::vector<uint64_t> ticks;
    app.SetTimer(50, [&] { ticks.push_back(app.NowMs()); });
    backend.RunFor(app, 1000);
    ASSERT_EQ(ticks.size(), 20u);
    for (size_t i = 0; i < ticks.size(); ++i) {
        EXPECT_EQ(ticks[i], 50 * (i + 1));
    }
}

TEST_F(TimerLoop, TimersTickInOrderOfDueTimeOlderFirstOnATie) {
    std::vector<std::string> ticks;
    app.SetTimer(30, [&] { ticks.push_back("a" + std::to_string(app.NowMs())); });
    app.SetTimer(50, [&] { ticks.push_back("b" + std::to_string(app.NowMs())); });
    backend.RunFor(app, 150);
    EXPECT_EQ(ticks, (std::vector<std::string>{"a30", "b50", "a60", "a90", "b100", "a120", "a150", "b150"}));
}

TEST_F(TimerLoop, ShortIntervalsAreRaisedToTheWindowsMinimum) {
    int ticks = 0;
    app.SetTimer(1, [&] { ++ticks; });
    backend.RunFor(app, 100);
    EXPECT_EQ(ticks, 10);
}

TEST_F(TimerLoop, HandlerRunningNestedLoopIsNotReentered) {
    int depth = 0;
    int max_depth = 0;
    int ticks = 0;
    int other_ticks = 0;
    app.SetTimer(50, [&] {
        ++ticks;
        max_depth = std::max(max_depth, ++depth);
        // A wait for a setup program: time passes and the loop is pumped from inside the handler.
        for (int i = 0; i < 5; ++i) {
            backend.AdvanceClock(40);
            app.ProcessMessages();
        }
        --depth;
    });
    app.SetTimer(70, [&] { ++other_ticks; });
    backend.RunFor(app, 500);
    EXPECT_EQ(max_depth, 1);
    EXPECT_GT(ticks, 1);
    // Other timers keep ticking inside the nested loop.
    EXPECT_GT(other_ticks, ticks);
}

TEST_F(TimerLoop, LateTimerGetsOneTickNotABurst) {
    std::vector<uint64_t> ticks;
    app.SetTimer(50, [&] {
        ticks.push_back(app.NowMs());
        if (ticks.size() == 1) {
            backend.AdvanceClock(230); // a slow handler: the ticks due at 100..250 are missed
        }
    });
    backend.RunFor(app, 400);
    EXPECT_EQ(ticks, (std::vector<uint64_t>{50, 280, 300, 350, 400}));
}

TEST_F(TimerLoop, ProcessMessagesTicksEachTimerOnceSoPollingLoopsEnd) {
    int ticks = 0;
    app.SetTimer(10, [&] {
        ++ticks;
        backend.AdvanceClock(10); // always due again by the time it returns
    });
    backend.AdvanceClock(10);
    app.ProcessMessages();
    EXPECT_EQ(ticks, 1);
    app.ProcessMessages();
    EXPECT_EQ(ticks, 2);
}

TEST_F(TimerLoop, TimerKilledOrResetInsideItsHandler) {
    std::vector<uint64_t> one_shot;
    std::optional<TimerId> id;
    id = app.SetTimer(100, [&] {
        one_shot.push_back(app.NowMs());
        app.KillTimer(*id);
    });
    std::vector<uint64_t> slowed;
    std::optional<TimerId> id2;
    id2 = app.SetTimer(20, [&] {
        slowed.push_back(app.NowMs());
        app.ResetTimer(*id2, 100, [&] { slowed.push_back(app.NowMs()); });
    });
    backend.RunFor(app, 350);
    EXPECT_EQ(one_shot, (std::vector<uint64_t>{100}));
    EXPECT_EQ(slowed, (std::vector<uint64_t>{20, 120, 220, 320}));
    EXPECT_EQ(app.LiveTimerCount(), 1u);
}

TEST_F(TimerLoop, ResetInsideHandlerStillBlocksReentry) {
    int depth = 0;
    int max_depth = 0;
    std::optional<TimerId> id;
    std::function<void()> handler = [&] {
        max_depth = std::max(max_depth, ++depth);
        app.ResetTimer(*id, 10, handler);
        backend.AdvanceClock(50);
        app.ProcessMessages();
        --depth;
    };
    id = app.SetTimer(10, handler);
    backend.RunFor(app, 100);
    EXPECT_EQ(max_depth, 1);
}

TEST_F(TimerLoop, LimitOfLiveTimers) {
    app.SetTimerLimit(2);
    auto first = app.SetTimer(100, [] {});
    auto second = app.SetTimer(100, [] {});
    EXPECT_TRUE(first && second);
    EXPECT_FALSE(app.SetTimer(100, [] {}));
    app.KillTimer(*first);
    EXPECT_TRUE(app.SetTimer(100, [] {}));
}

TEST_F(TimerLoop, TimerTicksOnlyWhenNothingElseIsPending) {
    std::vector<std::string> order;
    WindowId window = *backend.OpenWindow({"w", 0, 0, 10, 10, false, {}});
    app.SetWindowHandler(window, [&](const Event& event) {
        order.push_back(std::holds_alternative<PaintEvent>(event.data) ? "paint" : "input");
    });
    app.SetTimer(10, [&] { order.push_back("timer"); });
    backend.AdvanceClock(10);
    app.Invalidate(window, {0, 0, 5, 5});
    backend.QueueEvent({window, KeyDownEvent{vk::Down, {}}});
    app.Post([&] { order.push_back("posted"); });
    app.ProcessMessages();
    EXPECT_EQ(order, (std::vector<std::string>{"posted", "input", "paint", "timer"}));
}

} // namespace
} // namespace kavlo
