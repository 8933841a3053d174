#include "ui/sdl/x11_shape.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/extensions/shape.h>

#include <algorithm>
#include <limits>
#include <optional>

namespace kavlo {

namespace {

struct X11Target {
    Display* display = nullptr;
    ::Window window = 0;
};

std::optional<X11Target> TargetOf(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11) {
        return std::nullopt;
    }
    return X11Target{info.info.x11.display, info.info.x11.window};
}

template <class T> T Narrow(int value) {
    return static_cast<T>(
        std::clamp<int>(value, std::numeric_limits<T>::min(), std::numeric_limits<T>::max()));
}

} // namespace

uintptr_t X11WindowOf(SDL_Window* window) {
    std::optional<X11Target> target = TargetOf(window);
    return target ? static_cast<uintptr_t>(target->window) : 0;
}

uintptr_t SetX11Shape(SDL_Window* window, const std::vector<ScreenRect>& shape) {
    std::optional<X11Target> target = TargetOf(window);
    if (!target) {
        return 0;
    }
    int event_base = 0;
    int error_base = 0;
    if (!XShapeQueryExtension(target->display, &event_base, &error_base)) {
        return static_cast<uintptr_t>(target->window);
    }
    if (shape.empty()) {
        XShapeCombineMask(target->display, target->window, ShapeBounding, 0, 0, None, ShapeSet);
    } else {
        std::vector<XRectangle> rects;
        rects.reserve(shape.size());
        for (const ScreenRect& r : shape) {
            if (!r.Empty()) {
                rects.push_back({Narrow<short>(r.left), Narrow<short>(r.top),
                                 Narrow<unsigned short>(r.Width()), Narrow<unsigned short>(r.Height())});
            }
        }
        XShapeCombineRectangles(target->display, target->window, ShapeBounding, 0, 0, rects.data(),
                                static_cast<int>(rects.size()), ShapeSet, Unsorted);
    }
    XFlush(target->display);
    return static_cast<uintptr_t>(target->window);
}

} // namespace kavlo
