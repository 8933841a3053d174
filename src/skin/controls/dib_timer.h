#pragma once

#include "ui/timer.h"

namespace kavlo {

// The skin's non-visual timer: disabled and 1000 ms until the form says otherwise. It ticks through the
// application's message loop like any window-message timer (see TimerBase); the fade labels own one
// each and the form has four for its picture fades.
class TDIBTimer final : public NotifyTimer<TDIBTimer> {
public:
    explicit TDIBTimer(Application& app) : NotifyTimer(app, false) {}
};

} // namespace kavlo
