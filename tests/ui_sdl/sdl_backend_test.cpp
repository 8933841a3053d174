#include "ui/sdl/sdl_backend.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <ctime>
#include <functional>
#include <memory>
#include <set>
#include <thread>
#include <utility>

#include "support/xvfb.h"
#include "ui_sdl/x11_probe.h"

namespace kavlo {
namespace {

using test::SeenWindow;

// An L: a bar across the top and a leg down the left.
const std::vector<ScreenRect> kLShape{{0, 0, 200, 50}, {0, 50, 80, 150}};

// Every pixel a colour of its own: red counts columns, green rows.
uint32_t PatternColour(int x, int y) {
    return (static_cast<uint32_t>(x) << 16) | (static_cast<uint32_t>(y) << 8) | 0x40u;
}

// A bottom-up BGRA surface, as the skin keeps its pixels.
struct PatternSurface {
    int width = 200;
    int height = 150;
    std::vector<uint32_t> stored;

    PatternSurface() : stored(static_cast<size_t>(width) * height) {
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                stored[static_cast<size_t>(height - 1 - y) * width + x] = 0xFF000000u | PatternColour(x, y);
            }
        }
    }
    PixelView View() const {
        return {reinterpret_cast<const uint8_t*>(stored.data()), width * 4, width, height, true};
    }
};

std::set<std::pair<int, int>> Covered(const std::vector<ScreenRect>& rects) {
    std::set<std::pair<int, int>> pixels;
    for (const ScreenRect& r : rects) {
        for (int y = r.top; y < r.bottom; ++y) {
            for (int x = r.left; x < r.right; ++x) {
                pixels.insert({x, y});
            }
        }
    }
    return pixels;
}

class SdlBackendTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        server_ = std::make_unique<test::Xvfb>();
        if (server_->Running()) {
            server_->UseForSdl();
        }
    }
    static void TearDownTestSuite() { server_.reset(); }

    void SetUp() override {
        ASSERT_TRUE(server_->Running()) << server_->Error();
        SdlBackendStart start = SdlBackend::Start();
        ASSERT_NE(start.backend, nullptr) << start.error;
        backend_ = std::move(start.backend);
        probe_ = std::make_unique<test::X11Probe>(server_->Display());
        ASSERT_TRUE(probe_->Connected());
    }

    std::vector<Event> Drain() {
        std::vector<Event> events;
        while (std::optional<Event> event = backend_->PollEvent()) {
            events.push_back(std::move(*event));
        }
        return events;
    }

    // Pumps the backend until the X server shows what `check` wants, for at most five seconds.
    bool Eventually(const std::function<bool()>& check) {
        for (int attempt = 0; attempt < 250; ++attempt) {
            Drain();
            if (check()) {
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }

    static inline std::unique_ptr<test::Xvfb> server_;
    std::unique_ptr<SdlBackend> backend_;
    std::unique_ptr<test::X11Probe> probe_;
};

TEST_F(SdlBackendTest, ShapedWindowShowsPresentedPixelsWhereItWasPut) {
    WindowSpec wanted{"Kavlo \x9E", 100, 80, 200, 150, true, kLShape};
    std::optional<WindowId> id = backend_->OpenWindow(wanted);
    ASSERT_TRUE(id);
    bool painted = false;
    for (const Event& event : Drain()) {
        const auto* paint = std::get_if<PaintEvent>(&event.data);
        painted =
            painted || (event.window == *id && paint != nullptr && paint->rect == ScreenRect{0, 0, 200, 150});
    }
    EXPECT_TRUE(painted) << "a shown window asks for all of its client area";

    PatternSurface surface;
    backend_->Present(*id, surface.View(), {0, 0, 200, 150}, 0, 0);
    // A part of the picture put elsewhere; the source runs past the surface and is clipped.
    backend_->Present(*id, surface.View(), {150, 100, 250, 130}, 120, 10);

    std::optional<SeenWindow> seen;
    ASSERT_TRUE(Eventually([&] { return (seen = probe_->Find("Kavlo \xC5\xBE")).has_value(); }))
        << "no window titled in UTF-8";
    EXPECT_EQ(seen->left, 100);
    EXPECT_EQ(seen->top, 80);
    EXPECT_EQ(seen->width, 200);
    EXPECT_EQ(seen->height, 150);
    EXPECT_TRUE(seen->shaped);
    EXPECT_EQ(Covered(seen->shape), Covered(kLShape));

    const std::vector<uint32_t> screen = probe_->Grab({100, 80, 300, 230});
    ASSERT_EQ(screen.size(), 200u * 150u);
    auto at = [&](int x, int y) { return screen[static_cast<size_t>(y) * 200 + x]; };
    for (auto [x, y] : {std::pair{0, 0}, {199, 49}, {79, 149}, {10, 120}, {119, 45}}) {
        EXPECT_EQ(at(x, y), PatternColour(x, y)) << x << "," << y;
    }
    for (auto [x, y] : {std::pair{120, 10}, {169, 39}}) {
        EXPECT_EQ(at(x, y), PatternColour(x + 30, y + 90)) << x << "," << y;
    }
    EXPECT_EQ(at(170, 10), PatternColour(170, 10)) << "the clipped source reached past the surface";
    EXPECT_NE(at(150, 100), PatternColour(150, 100)) << "the window shows outside its shape";

    std::optional<WindowSpec> info = backend_->WindowInfo(*id);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->left, 100);
    EXPECT_EQ(info->top, 80);
    EXPECT_TRUE(info->visible);
    EXPECT_EQ(info->shape, kLShape);
}

TEST_F(SdlBackendTest, ShapeOutlivesNewBoundsAndAnEmptyShapeRemovesIt) {
    std::optional<WindowId> id = backend_->OpenWindow({"bounds", 40, 30, 200, 150, true, kLShape});
    ASSERT_TRUE(id);
    backend_->SetWindowBounds(*id, 300, 200, 240, 160);
    std::optional<SeenWindow> seen;
    ASSERT_TRUE(Eventually([&] {
        seen = probe_->Find("bounds");
        return seen && seen->left == 300 && seen->top == 200 && seen->width == 240 && seen->height == 160;
    }));
    EXPECT_EQ(Covered(seen->shape), Covered(kLShape));
    std::optional<WindowSpec> info = backend_->WindowInfo(*id);
    ASSERT_TRUE(info);
    EXPECT_EQ(std::pair(info->left, info->top), std::pair(300, 200));
    EXPECT_EQ(std::pair(info->client_width, info->client_height), std::pair(240, 160));

    backend_->SetWindowShape(*id, {});
    ASSERT_TRUE(Eventually([&] { return (seen = probe_->Find("bounds")) && !seen->shaped; }));
    EXPECT_EQ(Covered(seen->shape), Covered({{0, 0, 240, 160}}));
}

TEST_F(SdlBackendTest, WaitingWithNothingToDoSleeps) {
    ASSERT_TRUE(backend_->OpenWindow({"idle", 500, 500, 64, 64, true, {}}));
    // Let the showing's own events (map, expose, focus) pass first.
    for (int settle = 0; settle < 20 && !Drain().empty(); ++settle) {
        backend_->WaitEvents(100);
    }
    timespec cpu_before{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu_before);
    const auto wall_before = std::chrono::steady_clock::now();
    const uint64_t clock_before = backend_->NowMs();
    backend_->WaitEvents(500);
    const auto wall_ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - wall_before)
            .count();
    timespec cpu_after{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu_after);
    const double cpu_ms =
        (cpu_after.tv_sec - cpu_before.tv_sec) * 1e3 + (cpu_after.tv_nsec - cpu_before.tv_nsec) / 1e6;
    EXPECT_GE(wall_ms, 480);
    EXPECT_LT(wall_ms, 2000);
    EXPECT_GE(backend_->NowMs() - clock_before, 480u);
    EXPECT_LT(cpu_ms, 50.0);
}

template <class... F> struct Overload : F... { using F::operator()...; };

// What the translation decides about an event, in a line.
std::string Describe(const EventData& data) {
    auto shift = [](const ShiftState& s) {
        return std::string(s.shift ? " shift" : "") + (s.left ? " left" : "") +
               (s.double_click ? " double" : "");
    };
    auto at = [](int x, int y) { return " " + std::to_string(x) + "," + std::to_string(y); };
    return std::visit(
        Overload{
            [&](const KeyDownEvent& e) { return "down " + VirtualKeyName(e.key) + shift(e.shift); },
            [&](const KeyUpEvent& e) { return "up " + VirtualKeyName(e.key); },
            [&](const CharEvent& e) { return "char " + std::to_string(static_cast<unsigned char>(e.ch)); },
            [&](const MouseDownEvent& e) { return "press" + at(e.x, e.y) + shift(e.shift); },
            [&](const WheelEvent& e) { return "wheel " + std::to_string(e.delta) + at(e.x, e.y); },
            [](const auto&) { return std::string(); }},
        data);
}

TEST_F(SdlBackendTest, InputArrivesInWindowsTerms) {
    std::optional<WindowId> id = backend_->OpenWindow({"input", 900, 0, 64, 64, true, {}});
    ASSERT_TRUE(id);
    Drain();
    auto push = [](SDL_Event e) { SDL_PushEvent(&e); };
    auto key = [&](uint32_t type, SDL_Keycode sym, SDL_Scancode place, uint16_t mod, WindowId window) {
        SDL_Event e{};
        e.key = {type, 0, window, 0, 0, 0, 0, {place, sym, mod, 0}};
        push(e);
    };
    key(SDL_KEYDOWN, SDLK_PAGEDOWN, SDL_SCANCODE_PAGEDOWN, KMOD_LSHIFT, *id);
    key(SDL_KEYDOWN, SDLK_s, SDL_SCANCODE_S, 0, *id);
    key(SDL_KEYDOWN, 0x11B, SDL_SCANCODE_2, 0, *id); // "ě" on a Czech digit row
    key(SDL_KEYDOWN, SDLK_KP_8, SDL_SCANCODE_KP_8, 0, *id);
    key(SDL_KEYDOWN, SDLK_KP_8, SDL_SCANCODE_KP_8, KMOD_NUM, *id);
    key(SDL_KEYDOWN, SDLK_F5, SDL_SCANCODE_F5, 0, *id);
    key(SDL_KEYDOWN, SDLK_RETURN, SDL_SCANCODE_RETURN, 0, *id);
    key(SDL_KEYUP, SDLK_ESCAPE, SDL_SCANCODE_ESCAPE, 0, *id);
    key(SDL_KEYDOWN, SDLK_a, SDL_SCANCODE_A, 0, *id + 100); // no window of ours
    SDL_Event e{};
    e.text = {SDL_TEXTINPUT, 0, *id, "a\xC3\xA9\xE2\x82\xAC\xE4\xB8\xAD?"}; // a é € 中 ?
    push(e);
    e.button = {SDL_MOUSEBUTTONDOWN, 0, *id, 0, SDL_BUTTON_LEFT, SDL_PRESSED, 2, 0, 7, 9};
    push(e);
    e.wheel = {SDL_MOUSEWHEEL, 0, *id, 0, 0, -1, SDL_MOUSEWHEEL_NORMAL, 0, 0, 30, 40};
    push(e);
    e.wheel.y = 2;
    e.wheel.direction = SDL_MOUSEWHEEL_FLIPPED;
    push(e);

    std::vector<std::string> seen;
    for (const Event& event : Drain()) {
        if (std::string line = Describe(event.data); !line.empty()) {
            seen.push_back(line);
        }
    }
    const std::vector<std::string> expected{"down PageDown shift",
                                            "down S",
                                            "down 2",
                                            "down Up",
                                            "down 0x68",
                                            "down F5",
                                            "down Return",
                                            "char 13",
                                            "up Escape",
                                            "char 97",
                                            "char 233",
                                            "char 128",
                                            "char 63",
                                            "press 7,9 left double",
                                            "wheel -120 30,40",
                                            "wheel -240 30,40"};
    EXPECT_EQ(seen, expected);
}

} // namespace
} // namespace kavlo
