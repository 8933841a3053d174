#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "skin/controls/dib_timer.h"
#include "ui/application.h"
#include "ui/headless/headless_backend.h"
#include "ui/timer.h"

namespace kavlo {
namespace {

class DIBTimerTest : public ::testing::Test {
protected:
    DIBTimerTest() {
        app.SetExceptionHandler([this](std::exception_ptr error) {
            try {
                std::rethrow_exception(error);
            } catch (const std::exception& e) {
                errors.push_back(e.what());
            }
        });
    }

    HeadlessBackend backend;
    Application app{backend};
    std::vector<std::string> errors;
};

TEST_F(DIBTimerTest, DefaultsDifferFromTTimer) {
    TDIBTimer dib(app);
    TTimer plain(app);
    EXPECT_FALSE(dib.Enabled());
    EXPECT_TRUE(plain.Enabled());
    EXPECT_EQ(dib.Interval(), 1000u);
    EXPECT_EQ(plain.Interval(), 1000u);
    // Neither ticks without a handler.
    EXPECT_FALSE(dib.Active());
    EXPECT_FALSE(plain.Active());
    plain.SetOnTimer([](TTimer&) {});
    EXPECT_TRUE(plain.Active());
}

TEST_F(DIBTimerTest, TimerExistsOnlyWithEnabledIntervalAndHandler) {
    TDIBTimer timer(app);
    struct Step {
        const char* change;
        bool active;
    };
    const Step steps[] = {
        {"enable", false},        {"handler", true}, {"interval 0", false}, {"interval 50", true},
        {"clear handler", false}, {"handler", true}, {"disable", false},
    };
    for (const Step& step : steps) {
        std::string change = step.change;
        if (change == "enable") {
            timer.SetEnabled(true);
        } else if (change == "disable") {
            timer.SetEnabled(false);
        } else if (change == "handler") {
            timer.SetOnTimer([](TDIBTimer&) {});
        } else if (change == "clear handler") {
            timer.SetOnTimer(nullptr);
        } else if (change == "interval 0") {
            timer.SetInterval(0);
        } else {
            timer.SetInterval(50);
        }
        EXPECT_EQ(timer.Active(), step.active) << step.change;
        EXPECT_EQ(app.LiveTimerCount(), step.active ? 1u : 0u) << step.change;
    }
}

TEST_F(DIBTimerTest, ChangingAPropertyRestartsTheCountButSettingTheSameValueDoesNot) {
    TDIBTimer timer(app);
    std::vector<uint64_t> ticks;
    timer.SetInterval(100);
    timer.SetOnTimer([&](TDIBTimer& sender) {
        EXPECT_EQ(&sender, &timer);
        ticks.push_back(app.NowMs());
    });
    timer.SetEnabled(true);
    backend.RunFor(app, 60);
    timer.SetEnabled(true);  // unchanged: the count goes on
    timer.SetInterval(100);  // likewise
    backend.RunFor(app, 60); // tick at 100
    timer.SetInterval(50);   // restarts at 120: ticks at 170, 220
    backend.RunFor(app, 100);
    timer.SetOnTimer([&](TDIBTimer&) { ticks.push_back(app.NowMs() + 1); }); // restarts at 220
    backend.RunFor(app, 50);
    EXPECT_EQ(ticks, (std::vector<uint64_t>{100, 170, 220, 271}));
}

TEST_F(DIBTimerTest, ExceptionFromTheHandlerIsReportedAndTheTimerKeepsRunning) {
    TDIBTimer timer(app);
    int calls = 0;
    timer.SetInterval(50);
    timer.SetOnTimer([&](TDIBTimer&) {
        ++calls;
        throw std::runtime_error("fade failed " + std::to_string(calls));
    });
    timer.SetEnabled(true);
    backend.RunFor(app, 150);
    EXPECT_EQ(calls, 3);
    EXPECT_EQ(errors, (std::vector<std::string>{"fade failed 1", "fade failed 2", "fade failed 3"}));
    EXPECT_TRUE(timer.Enabled());
}

TEST_F(DIBTimerTest, NoTimerLeftReportsAndLeavesTheComponentDisabled) {
    app.SetTimerLimit(1);
    TDIBTimer first(app);
    TDIBTimer second(app);
    first.SetOnTimer([](TDIBTimer&) {});
    second.SetOnTimer([](TDIBTimer&) {});
    EXPECT_TRUE(first.SetEnabled(true));
    EXPECT_FALSE(second.SetEnabled(true));
    EXPECT_FALSE(second.Enabled());
    EXPECT_FALSE(second.Active());
    EXPECT_EQ(errors, (std::vector<std::string>{"Not enough timers available"}));
    // Once the first lets its timer go, the second can have one.
    first.SetEnabled(false);
    EXPECT_TRUE(second.SetEnabled(true));
    EXPECT_TRUE(second.Active());
}

TEST_F(DIBTimerTest, ComponentFreedByItsOwnHandler) {
    auto timer = std::make_unique<TDIBTimer>(app);
    int calls = 0;
    timer->SetInterval(10);
    timer->SetOnTimer([&](TDIBTimer&) {
        ++calls;
        timer.reset();
    });
    timer->SetEnabled(true);
    backend.RunFor(app, 100);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(app.LiveTimerCount(), 0u);
}

} // namespace
} // namespace kavlo
