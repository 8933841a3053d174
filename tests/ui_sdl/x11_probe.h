#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/geometry.h"

struct _XDisplay;

namespace kavlo::test {

// A top-level window as the X server shows it.
struct SeenWindow {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool shaped = false;
    std::vector<ScreenRect> shape; // the bounding shape's rectangles, window coordinates
};

// Looks at the screen through a connection of its own, apart from Xlib's macros (None, Bool, Status)
// that collide with the program's names.
class X11Probe {
public:
    explicit X11Probe(const std::string& display);
    ~X11Probe();
    X11Probe(const X11Probe&) = delete;
    X11Probe& operator=(const X11Probe&) = delete;

    bool Connected() const { return display_ != nullptr; }
    // The mapped top-level window whose _NET_WM_NAME is `title_utf8`.
    std::optional<SeenWindow> Find(std::string_view title_utf8);
    // Find, tried for up to ten seconds while the window comes up.
    std::optional<SeenWindow> Await(std::string_view title_utf8);
    // The screen's pixels in `rect` as 0xRRGGBB, row by row.
    std::vector<uint32_t> Grab(const ScreenRect& rect);
    // A left click at a screen point, as the user's mouse gives it (XTest); false without the extension.
    bool Click(int x, int y);
    // The parts of a drag, as Click: the left button down at a point, the pointer moved, the button up.
    bool Press(int x, int y);
    void MoveTo(int x, int y);
    void Release();

private:
    _XDisplay* display_ = nullptr;
};

} // namespace kavlo::test
