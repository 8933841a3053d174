#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "ui/application.h"
#include "ui/headless/headless_backend.h"

namespace kavlo {
namespace {

class Dialog : public ModalForm {
public:
    explicit Dialog(WindowId window) : window_(window) {}
    WindowId ModalWindow() const override { return window_; }

private:
    WindowId window_;
};

class AppLoop : public ::testing::Test {
protected:
    WindowId NewWindow() { return *backend.OpenWindow({"w", 0, 0, 100, 100, true, {}}); }

    HeadlessBackend backend;
    Application app{backend};
    std::vector<std::string> log;
};

TEST_F(AppLoop, TerminateInsideNestedProcessMessages) {
    app.Post([&] {
        log.push_back("outer");
        app.Post([&] {
            log.push_back("terminate");
            app.Terminate(3);
        });
        app.Post([&] { log.push_back("never"); });
        app.ProcessMessages();
        log.push_back("outer continues");
        app.ProcessMessages(); // returns at once after Terminate
        log.push_back("outer ends");
    });
    EXPECT_EQ(app.Run(), 3);
    EXPECT_EQ(log, (std::vector<std::string>{"outer", "terminate", "outer continues", "outer ends"}));
}

TEST_F(AppLoop, QuitFromTheWindowSystemEndsRunWithItsCode) {
    backend.QueueEvent({kNoWindow, QuitEvent{7}});
    EXPECT_EQ(app.Run(), 7);
    // A second request does not replace the first exit code.
    app.Terminate(1);
    EXPECT_EQ(app.ExitCode(), 7);
}

TEST_F(AppLoop, RunModalReturnsTheResultAndClearsAnOldOne) {
    Dialog dialog(NewWindow());
    dialog.SetModalResult(mrOk); // left over from an earlier showing
    app.SetTimer(100, [&] { dialog.SetModalResult(mrYes); });
    backend.BeginWait(1000);
    EXPECT_EQ(app.RunModal(dialog), mrYes);
    EXPECT_EQ(app.NowMs(), 100u);
    EXPECT_FALSE(app.ModalWindow());
}

TEST_F(AppLoop, NestedModalFormsEndInsideOut) {
    WindowId main = NewWindow();
    Dialog outer(NewWindow());
    Dialog inner(NewWindow());
    std::vector<std::string> seen;
    app.SetWindowHandler(main, [&](const Event& e) {
        if (IsUserInput(e.data)) {
            seen.push_back("main");
        }
    });
    app.SetWindowHandler(outer.ModalWindow(), [&](const Event& e) {
        if (std::holds_alternative<ClickEvent>(e.data)) {
            seen.push_back("outer click");
            int inner_result = app.RunModal(inner);
            seen.push_back("inner gave " + std::to_string(inner_result));
            outer.SetModalResult(20 + inner_result);
        }
    });
    app.SetWindowHandler(inner.ModalWindow(), [&](const Event& e) {
        if (std::holds_alternative<ClickEvent>(e.data)) {
            seen.push_back("inner click");
            inner.SetModalResult(11);
        }
    });
    // Input for the disabled windows is dropped, the modal window's own goes through.
    backend.SetScriptSource([&, step = 0]() mutable {
        switch (step++) {
            case 0:
                backend.QueueEvent({main, ClickEvent{}});
                backend.QueueEvent({outer.ModalWindow(), ClickEvent{}});
                return true;
            case 1:
                backend.QueueEvent({main, ClickEvent{}});
                backend.QueueEvent({outer.ModalWindow(), ClickEvent{}});
                backend.QueueEvent({inner.ModalWindow(), ClickEvent{}});
                return true;
            default:
                return false;
        }
    });
    EXPECT_EQ(app.RunModal(outer), 31);
    EXPECT_EQ(seen, (std::vector<std::string>{"outer click", "inner click", "inner gave 11"}));
}

TEST_F(AppLoop, TerminateEndsModalLoopsWithCancel) {
    Dialog dialog(NewWindow());
    dialog.SetModalResult(mrOk);
    app.Post([&] {
        dialog.SetModalResult(mrOk);
        app.Terminate();
    });
    EXPECT_EQ(app.RunModal(dialog), mrCancel);
    // Once terminated, a new modal loop does not wait for anything.
    EXPECT_EQ(app.RunModal(dialog), mrCancel);
}

TEST_F(AppLoop, PaintRequestsGatherIntoOneUnion) {
    WindowId window = NewWindow();
    std::vector<ScreenRect> painted;
    app.SetWindowHandler(window, [&](const Event& e) {
        if (const auto* paint = std::get_if<PaintEvent>(&e.data)) {
            painted.push_back(paint->rect);
        }
    });
    app.ProcessMessages(); // the first showing paints everything
    ASSERT_EQ(painted.size(), 1u);
    EXPECT_EQ(painted[0], (ScreenRect{0, 0, 100, 100}));
    app.Invalidate(window, {10, 10, 20, 20});
    app.Invalidate(window, {50, 5, 60, 15});
    app.Invalidate(window, {70, 70, 70, 90}); // empty: nothing to draw
    app.ProcessMessages();
    ASSERT_EQ(painted.size(), 2u);
    EXPECT_EQ(painted[1], (ScreenRect{10, 5, 60, 20}));
}

TEST_F(AppLoop, ExceptionsFromHandlersGoToTheExceptionHandler) {
    WindowId window = NewWindow();
    std::vector<std::string> errors;
    app.SetExceptionHandler([&](std::exception_ptr error) {
        try {
            std::rethrow_exception(error);
        } catch (const std::exception& e) {
            errors.push_back(e.what());
        }
    });
    app.SetWindowHandler(window, [&](const Event& e) {
        if (std::holds_alternative<KeyDownEvent>(e.data)) {
            throw std::runtime_error("key");
        }
    });
    app.Post([] { throw std::runtime_error("posted"); });
    app.Post([&] { log.push_back("after"); });
    backend.QueueEvent({window, KeyDownEvent{vk::Return, {}}});
    app.ProcessMessages();
    EXPECT_EQ(errors, (std::vector<std::string>{"posted", "key"}));
    EXPECT_EQ(log, (std::vector<std::string>{"after"}));
}

TEST_F(AppLoop, HandlerMayRemoveItselfWhileRunning) {
    WindowId window = NewWindow();
    int calls = 0;
    app.SetWindowHandler(window, [&, window](const Event&) {
        ++calls;
        app.RemoveWindowHandler(window);
        log.push_back("still alive"); // captures are intact after the removal
    });
    backend.QueueEvent({window, CharEvent{'a'}});
    backend.QueueEvent({window, CharEvent{'b'}});
    app.ProcessMessages();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(log, (std::vector<std::string>{"still alive"}));
}

TEST_F(AppLoop, ScreenCursorOverridesTheControlsCursor) {
    struct Step {
        Cursor screen;
        Cursor pointer;
        Cursor shown;
    };
    const Step steps[] = {
        {Cursor::Default, Cursor::Default, Cursor::Arrow},
        {Cursor::Default, Cursor::Hand, Cursor::Hand},
        {Cursor::HourGlass, Cursor::Hand, Cursor::HourGlass},
        {Cursor::HourGlass, Cursor::Arrow, Cursor::HourGlass},
        {Cursor::Default, Cursor::Hand, Cursor::Hand},
    };
    for (const Step& step : steps) {
        app.SetScreenCursor(step.screen);
        app.SetPointerCursor(step.pointer);
        EXPECT_EQ(backend.CursorShown(), step.shown);
    }
}

} // namespace
} // namespace kavlo
