#include "ui_sdl/x11_probe.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/shape.h>

#include <chrono>
#include <thread>

namespace kavlo::test {

namespace {

std::string NetWmName(Display* display, Window window) {
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    const Atom name = XInternAtom(display, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    if (XGetWindowProperty(display, window, name, 0, 1024, False, utf8, &type, &format, &count, &after,
                           &data) != Success ||
        data == nullptr) {
        return {};
    }
    std::string text(reinterpret_cast<const char*>(data), count);
    XFree(data);
    return text;
}

SeenWindow Describe(Display* display, Window window) {
    XWindowAttributes attributes{};
    XGetWindowAttributes(display, window, &attributes);
    SeenWindow seen;
    Window child = 0;
    XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &seen.left, &seen.top, &child);
    seen.width = attributes.width;
    seen.height = attributes.height;
    int bounding_shaped = 0;
    int clip_shaped = 0;
    int x = 0;
    int y = 0;
    int clip_x = 0;
    int clip_y = 0;
    unsigned int w = 0;
    unsigned int h = 0;
    unsigned int clip_w = 0;
    unsigned int clip_h = 0;
    XShapeQueryExtents(display, window, &bounding_shaped, &x, &y, &w, &h, &clip_shaped, &clip_x, &clip_y,
                       &clip_w, &clip_h);
    seen.shaped = bounding_shaped != 0;
    int count = 0;
    int ordering = 0;
    if (XRectangle* rects = XShapeGetRectangles(display, window, ShapeBounding, &count, &ordering)) {
        for (int i = 0; i < count; ++i) {
            seen.shape.push_back(
                {rects[i].x, rects[i].y, rects[i].x + rects[i].width, rects[i].y + rects[i].height});
        }
        XFree(rects);
    }
    return seen;
}

} // namespace

X11Probe::X11Probe(const std::string& display) : display_(XOpenDisplay(display.c_str())) {}

X11Probe::~X11Probe() {
    if (display_ != nullptr) {
        XCloseDisplay(display_);
    }
}

std::optional<SeenWindow> X11Probe::Await(std::string_view title_utf8) {
    std::optional<SeenWindow> seen;
    for (int i = 0; i < 200 && !seen; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        seen = Find(title_utf8);
    }
    return seen;
}

std::optional<SeenWindow> X11Probe::Find(std::string_view title_utf8) {
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (XQueryTree(display_, DefaultRootWindow(display_), &root, &parent, &children, &count) == 0) {
        return std::nullopt;
    }
    std::optional<SeenWindow> found;
    for (unsigned int i = 0; i < count && !found; ++i) {
        XWindowAttributes attributes{};
        if (XGetWindowAttributes(display_, children[i], &attributes) != 0 &&
            attributes.map_state == IsViewable && NetWmName(display_, children[i]) == title_utf8) {
            found = Describe(display_, children[i]);
        }
    }
    if (children != nullptr) {
        XFree(children);
    }
    return found;
}

std::vector<uint32_t> X11Probe::Grab(const ScreenRect& rect) {
    XImage* image = XGetImage(display_, DefaultRootWindow(display_), rect.left, rect.top,
                              static_cast<unsigned int>(rect.Width()),
                              static_cast<unsigned int>(rect.Height()), AllPlanes, ZPixmap);
    if (image == nullptr) {
        return {};
    }
    std::vector<uint32_t> pixels;
    for (int y = 0; y < rect.Height(); ++y) {
        for (int x = 0; x < rect.Width(); ++x) {
            pixels.push_back(static_cast<uint32_t>(XGetPixel(image, x, y)) & 0xFFFFFFu);
        }
    }
    XDestroyImage(image);
    return pixels;
}

bool X11Probe::Click(int x, int y) {
    if (!Press(x, y)) {
        return false;
    }
    Release();
    return true;
}

bool X11Probe::Press(int x, int y) {
    int event_base = 0;
    int error_base = 0;
    int major = 0;
    int minor = 0;
    if (!XTestQueryExtension(display_, &event_base, &error_base, &major, &minor)) {
        return false;
    }
    XTestFakeMotionEvent(display_, -1, x, y, CurrentTime);
    XTestFakeButtonEvent(display_, 1, True, CurrentTime);
    XFlush(display_);
    return true;
}

void X11Probe::MoveTo(int x, int y) {
    XTestFakeMotionEvent(display_, -1, x, y, CurrentTime);
    XFlush(display_);
}

void X11Probe::Release() {
    XTestFakeButtonEvent(display_, 1, False, CurrentTime);
    XFlush(display_);
}

} // namespace kavlo::test
