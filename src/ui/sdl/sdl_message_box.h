#pragma once

#include <functional>
#include <string_view>

#include "ui/message_box.h"

struct SDL_Window;

namespace kavlo {

// Message boxes drawn by SDL, each modal to the window `parent` names when it opens (none: free).
class SdlMessageBoxes final : public MessageBoxes {
public:
    explicit SdlMessageBoxes(std::function<SDL_Window*()> parent) : parent_(std::move(parent)) {}

    MbResult Show(std::string_view text, std::string_view caption, MbButtons buttons, MbIcon icon) override;

private:
    std::function<SDL_Window*()> parent_;
};

} // namespace kavlo
