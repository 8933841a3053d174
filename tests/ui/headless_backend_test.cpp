#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "ui/application.h"
#include "ui/headless/headless_backend.h"

namespace kavlo {
namespace {

uint32_t PixelAt(const PixelView& view, int x, int y) {
    uint32_t value = 0;
    std::memcpy(&value, view.Row(y) + x * 4, 4);
    return value;
}

// A surface whose pixel (x, y) holds 0xFF00YYXX, stored bottom-up as skin surfaces are.
struct BottomUpSurface {
    BottomUpSurface(int w, int h) : width(w), height(h), pixels(static_cast<size_t>(w) * h) {
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                pixels[static_cast<size_t>(h - 1 - y) * w + x] = 0xFF000000u | (y << 8) | x;
            }
        }
    }
    PixelView View() const {
        return {reinterpret_cast<const uint8_t*>(pixels.data()), width * 4, width, height, true};
    }
    int width;
    int height;
    std::vector<uint32_t> pixels;
};

TEST(HeadlessBackend, PresentCopiesAClippedRectangle) {
    HeadlessBackend backend;
    WindowId window = *backend.OpenWindow({"w", 0, 0, 8, 6, true, {}});
    BottomUpSurface surface(10, 10);
    // Source partly off the surface's left edge; destination partly off the window's right edge.
    backend.Present(window, surface.View(), {-2, 3, 4, 5}, 4, 1);
    PixelView frame = *backend.Frame(window);
    struct Case {
        int x, y;
        uint32_t expected;
    };
    const Case cases[] = {
        {5, 1, 0},           // lay off the surface
        {6, 1, 0xFF000300u}, // surface (0, 3)
        {7, 2, 0xFF000401u}, // surface (1, 4)
        {6, 3, 0},           // below the source rectangle
        {3, 1, 0},           // left of the destination
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PixelAt(frame, c.x, c.y), c.expected) << c.x << "," << c.y;
    }
    // An invalid surface changes nothing.
    backend.Present(window, PixelView{nullptr, 0, 4, 4, false}, {0, 0, 4, 4}, 0, 0);
    EXPECT_EQ(PixelAt(*backend.Frame(window), 0, 0), 0u);
}

TEST(HeadlessBackend, ResizeKeepsTheOverlapAndAsksForAPaint) {
    HeadlessBackend backend;
    WindowId window = *backend.OpenWindow({"w", 0, 0, 4, 4, false, {}});
    BottomUpSurface surface(4, 4);
    backend.Present(window, surface.View(), {0, 0, 4, 4}, 0, 0);
    backend.SetWindowBounds(window, 30, 40, 6, 2);
    PixelView frame = *backend.Frame(window);
    EXPECT_EQ(frame.width, 6);
    EXPECT_EQ(PixelAt(frame, 3, 1), 0xFF000103u);
    EXPECT_EQ(PixelAt(frame, 5, 1), 0u);
    WindowSpec info = *backend.WindowInfo(window);
    EXPECT_EQ(info.left, 30);
    EXPECT_EQ(info.top, 40);
    // Hidden windows are not painted; showing one paints all of it.
    EXPECT_FALSE(backend.PollEvent());
    backend.SetWindowVisible(window, true);
    std::optional<Event> paint = backend.PollEvent();
    ASSERT_TRUE(paint && std::holds_alternative<PaintEvent>(paint->data));
    EXPECT_EQ(std::get<PaintEvent>(paint->data).rect, (ScreenRect{0, 0, 6, 2}));
}

TEST(HeadlessBackend, ActivationMovesFocusBetweenWindows) {
    HeadlessBackend backend;
    WindowId main = *backend.OpenWindow({"main", 0, 0, 2, 2, true, {}});
    WindowId dialog = *backend.OpenWindow({"dialog", 0, 0, 2, 2, true, {}});
    backend.SetWindowVisible(dialog, false);
    std::vector<std::string> focus;
    while (std::optional<Event> e = backend.PollEvent()) {
        std::string who = e->window == main ? "main" : "dialog";
        if (std::holds_alternative<FocusGainedEvent>(e->data)) {
            focus.push_back(who + "+");
        } else if (std::holds_alternative<FocusLostEvent>(e->data)) {
            focus.push_back(who + "-");
        }
    }
    EXPECT_EQ(focus, (std::vector<std::string>{"main+", "main-", "dialog+", "dialog-", "main+"}));
    EXPECT_EQ(backend.ActiveWindow(), main);
}

TEST(HeadlessBackend, DraggedWindowFollowsThePointerUntilRelease) {
    HeadlessBackend backend;
    WindowId window = *backend.OpenWindow({"w", 100, 50, 20, 20, false, {}});
    backend.QueueEvent({window, MouseDownEvent{MouseButton::Left, 5, 6, {}}});
    ASSERT_TRUE(backend.PollEvent());
    backend.StartWindowDrag(window);
    backend.QueueEvent({window, MouseMoveEvent{15, 16, {}}});
    backend.QueueEvent({window, MouseMoveEvent{3, 6, {}}});
    backend.QueueEvent({window, MouseUpEvent{MouseButton::Left, 3, 6, {}}});
    backend.QueueEvent({window, MouseMoveEvent{9, 9, {}}});
    std::optional<Event> after = backend.PollEvent();
    ASSERT_TRUE(after && std::holds_alternative<MouseMoveEvent>(after->data));
    EXPECT_EQ(std::get<MouseMoveEvent>(after->data).x, 9);
    WindowSpec info = *backend.WindowInfo(window);
    EXPECT_EQ(info.left, 100 + 10 - 2);
    EXPECT_EQ(info.top, 50 + 10 + 0);
}

TEST(HeadlessBackend, ScriptStepsDriveTheMainLoopAndTimeOnlyPassesInWaits) {
    HeadlessBackend backend;
    Application app(backend);
    WindowId window = *backend.OpenWindow({"w", 0, 0, 10, 10, true, {}});
    std::vector<std::string> log;
    app.SetWindowHandler(window, [&](const Event& e) {
        if (const auto* key = std::get_if<KeyDownEvent>(&e.data)) {
            log.push_back(VirtualKeyName(key->key) + "@" + std::to_string(app.NowMs()));
        }
    });
    app.SetTimer(300, [&] { log.push_back("tick@" + std::to_string(app.NowMs())); });
    int step = 0;
    backend.SetScriptSource([&] {
        switch (step++) {
            case 0:
                backend.QueueEvent({window, KeyDownEvent{vk::Down, {}}});
                return true;
            case 1:
                backend.BeginWait(700);
                return true;
            case 2:
                backend.QueueEvent({window, KeyDownEvent{vk::Next, {}}});
                return true;
            case 3:
                return true; // a step that neither waits nor types (an answer, a dump)
            default:
                return false;
        }
    });
    EXPECT_EQ(app.Run(), 0);
    EXPECT_EQ(log, (std::vector<std::string>{"Down@0", "tick@300", "tick@600", "PageDown@700"}));
    EXPECT_EQ(step, 5);
}

} // namespace
} // namespace kavlo
