#include "player/el_player_form.h"

#include <array>
#include <climits>
#include <functional>
#include <utility>

#include "platform/codepage.h"
#include "player/el_player.h"

namespace kavlo {

namespace {

template <class Mode, size_t N>
std::optional<Mode> ModeNamed(const FormValue& value, const std::array<const char*, N>& names) {
    const std::optional<std::string> ident = form_value::Ident(value);
    for (size_t i = 0; ident && i < N; ++i) {
        if (EqualsNoCase1250(*ident, names[i])) {
            return static_cast<Mode>(i);
        }
    }
    return std::nullopt;
}

// One stored player setting; false for a name the player does not have. A value of the wrong kind is
// an error and the setting keeps its default.
bool ApplySetting(TElPlayer& player, const FormProperty& property, std::string& error) {
    const FormValue& value = property.value;
    auto integer = [&](int& field) {
        const std::optional<int64_t> v = form_value::Int(value);
        if (!v || *v < INT_MIN || *v > INT_MAX) {
            error = "is no integer";
        } else {
            field = static_cast<int>(*v);
        }
        return true;
    };
    const std::string& name = property.name;
    if (EqualsNoCase1250(name, "InputMode")) {
        if (const auto mode = ModeNamed<TInputMode>(value, std::array{"imFile", "imStream"})) {
            player.InputMode = *mode;
        } else {
            error = "is no input mode";
        }
        return true;
    }
    if (EqualsNoCase1250(name, "OutputMode")) {
        if (const auto mode =
                ModeNamed<TOutputMode>(value, std::array{"omMMSystem", "omDirectSound", "omWaveFile"})) {
            player.OutputMode = *mode;
        } else {
            error = "is no output mode";
        }
        return true;
    }
    if (EqualsNoCase1250(name, "UseEqualizer")) {
        if (const std::optional<bool> on = form_value::Bool(value)) {
            player.UseEqualizer = *on;
        } else {
            error = "is no boolean";
        }
        return true;
    }
    for (auto [field, field_name] : {std::pair{&player.StartPos, "StartPos"},
                                     {&player.EndPos, "EndPos"},
                                     {&player.Priority, "Priority"},
                                     {&player.BuffersCount, "BuffersCount"},
                                     {&player.BufferSize, "BufferSize"},
                                     {&player.OutputDevNum, "OutputDevNum"}}) {
        if (EqualsNoCase1250(name, field_name)) {
            return integer(*field);
        }
    }
    return false;
}

bool ApplyPlayerMan(TElPlayerMan& man, const FormProperty& property, LoadState& state) {
    if (!EqualsNoCase1250(property.name, "Players")) {
        return false;
    }
    const auto* players = std::get_if<FormCollection>(&property.value.data);
    if (players == nullptr) {
        state.errors.push_back(man.Name() + ".Players is no collection");
        return true;
    }
    for (const FormCollectionItem& item : players->items) {
        TElPlayer& player = man.AddPlayer();
        for (const FormProperty& setting : item.properties) {
            std::string error;
            const std::string where =
                man.Name() + ".Players[" + std::to_string(man.Players().size() - 1) + "]." + setting.name;
            if (!ApplySetting(player, setting, error)) {
                state.warnings.push_back(where + " is not a setting of a player; skipped");
            } else if (!error.empty()) {
                state.errors.push_back(where + " " + error);
            }
        }
    }
    return true;
}

} // namespace

void RegisterPlayerClasses(ComponentFactory& factory, Platform& platform, Backend& backend) {
    factory.Register(
        "TElPlayerMan",
        [&platform, &backend](const Placement& where, LoadState&) -> TComponent* {
            return &where.form.Adopt(std::make_unique<TElPlayerMan>(platform, backend));
        },
        [](TComponent& component, const FormProperty& property, LoadState& state) {
            return ApplyPlayerMan(static_cast<TElPlayerMan&>(component), property, state);
        });
}

} // namespace kavlo
