#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "skin/formats/form_stream.h"

namespace kavlo::skingen {

// Properties written the way the form designer writes them, in the order they are added.
class Props {
public:
    Props& Int(std::string_view name, int64_t value);
    Props& Str(std::string_view name, std::string_view text);
    Props& Bool(std::string_view name, bool value);
    Props& Ident(std::string_view name, std::string_view ident);
    Props& Set(std::string_view name, std::vector<std::string> members);
    Props& Binary(std::string_view name, std::string bytes);
    Props& Value(std::string_view name, FormValue value);
    // Left, Top, Width, Height.
    Props& Bounds(int left, int top, int width, int height);
    // Font.Charset, Font.Color, Font.Height, Font.Name, Font.Style; `colour` a TColor or a cl... name.
    Props& Font(std::string_view face, int height, std::string_view colour, bool bold = false);
    // An event wired to a handler of the form.
    Props& On(std::string_view event, std::string_view handler) { return Ident(event, handler); }

    FormProperties Take() { return std::move(list_); }

private:
    FormProperties list_;
};

FormObject Component(std::string_view class_name, std::string_view name, Props props,
                     std::vector<FormObject> children = {});

} // namespace kavlo::skingen
