#include "skin/controls/component_factory.h"

#include "platform/codepage.h"
#include "skin/controls/dib_container.h"

namespace kavlo {

namespace form_value {

namespace {

// The lookups of form_stream read a property list; a list of one property reads one value.
FormProperties One(const FormValue& value) {
    return {FormProperty{"V", value}};
}

struct NamedCursor {
    const char* name;
    TCursor cursor;
};

constexpr NamedCursor kCursors[] = {
    {"crDefault", 0},     {"crNone", -1},     {"crArrow", -2},    {"crCross", -3},     {"crIBeam", -4},
    {"crSizeNESW", -6},   {"crSizeNS", -7},   {"crSizeNWSE", -8}, {"crSizeWE", -9},    {"crUpArrow", -10},
    {"crHourGlass", -11}, {"crDrag", -12},    {"crNoDrop", -13},  {"crHSplit", -14},   {"crVSplit", -15},
    {"crMultiDrag", -16}, {"crSQLWait", -17}, {"crNo", -18},      {"crAppStart", -19}, {"crHelp", -20},
    {"crHandPoint", -21}, {"crSizeAll", -22},
};

} // namespace

std::optional<int64_t> Int(const FormValue& value) {
    if (const auto* integer = std::get_if<FormInteger>(&value.data)) {
        return integer->value;
    }
    return std::nullopt;
}

std::optional<bool> Bool(const FormValue& value) {
    const FormProperties one = One(value);
    if (FormBool(one, "V", false) == FormBool(one, "V", true)) {
        return FormBool(one, "V", false);
    }
    return std::nullopt;
}

std::optional<std::string> Text(const FormValue& value) {
    if (!std::holds_alternative<FormString>(value.data) && !std::holds_alternative<FormWString>(value.data)) {
        return std::nullopt;
    }
    return FormText(One(value), "V", "");
}

std::optional<std::string> Ident(const FormValue& value) {
    if (const auto* ident = std::get_if<FormIdent>(&value.data)) {
        return ident->name;
    }
    return std::nullopt;
}

std::optional<double> Real(const FormValue& value) {
    if (std::holds_alternative<Extended80>(value.data) || std::holds_alternative<FormSingle>(value.data) ||
        std::holds_alternative<FormInteger>(value.data) || std::holds_alternative<FormCurrency>(value.data)) {
        return FormReal(One(value), "V", 0);
    }
    return std::nullopt;
}

std::optional<TColor> Color(const FormValue& value) {
    return FormColor(One(value), "V");
}

std::optional<TCursor> Cursor(const FormValue& value) {
    if (const auto integer = Int(value)) {
        return static_cast<TCursor>(*integer);
    }
    if (const auto name = Ident(value)) {
        for (const NamedCursor& named : kCursors) {
            if (EqualsNoCase1250(*name, named.name)) {
                return named.cursor;
            }
        }
    }
    return std::nullopt;
}

} // namespace form_value

void LoadState::RunFixups() {
    // A fix-up may add others (none do today); run until none are left.
    while (!fixups_.empty()) {
        std::vector<std::function<void()>> pending = std::move(fixups_);
        fixups_.clear();
        for (const auto& fixup : pending) {
            fixup();
        }
    }
}

void ComponentFactory::Register(std::string class_name, Creator create, Applier apply) {
    for (Entry& entry : entries_) {
        if (EqualsNoCase1250(entry.class_name, class_name)) {
            entry = Entry{std::move(class_name), std::move(create), std::move(apply)};
            return;
        }
    }
    entries_.push_back(Entry{std::move(class_name), std::move(create), std::move(apply)});
}

const ComponentFactory::Entry* ComponentFactory::Find(std::string_view class_name) const {
    for (const Entry& entry : entries_) {
        if (EqualsNoCase1250(entry.class_name, class_name)) {
            return &entry;
        }
    }
    return nullptr;
}

bool ComponentFactory::Knows(std::string_view class_name) const {
    return Find(class_name) != nullptr;
}

namespace {

// The window's own designed properties.
bool ApplyFormProperty(SkinForm& form, const FormProperty& property, LoadState& state) {
    const std::string& name = property.name;
    const FormValue& value = property.value;
    auto is = [&name](std::string_view wanted) { return EqualsNoCase1250(name, wanted); };
    if (is("ClientWidth") || is("ClientHeight")) {
        const auto size = form_value::Int(value);
        if (!size || *size < 0 || *size > 0xFFFF) {
            state.errors.push_back(form.Name() + "." + name + " is not a window size");
            return true;
        }
        if (is("ClientWidth")) {
            form.SetClientSize(static_cast<int>(*size), form.ClientHeight());
        } else {
            form.SetClientSize(form.ClientWidth(), static_cast<int>(*size));
        }
        return true;
    }
    if (is("Color")) {
        if (const auto color = form_value::Color(value)) {
            form.SetColor(*color);
            return true;
        }
    }
    if (is("Caption")) {
        if (const auto text = form_value::Text(value)) {
            form.SetCaption(*text);
            return true;
        }
    }
    if (is("Tag")) {
        if (const auto tag = form_value::Int(value)) {
            form.SetTag(static_cast<int>(*tag));
            return true;
        }
    }
    return false;
}

class FormLoader {
public:
    FormLoader(const ComponentFactory& factory, LoadState& state) : factory_(factory), state_(state) {}

    void LoadChildren(const FormObject& parent, TDIBContainer* container) {
        for (const FormObject& child : parent.children) {
            LoadObject(child, container);
        }
    }

    void EndLoading() {
        for (TComponent* component : made_) {
            component->EndLoading();
        }
    }

private:
    void LoadObject(const FormObject& object, TDIBContainer* container) {
        if (!object.name.empty() && state_.form.FindComponent(object.name) != nullptr) {
            state_.errors.push_back("A component named " + object.name + " already exists");
            return;
        }
        const ComponentFactory::Entry* entry = factory_.Find(object.class_name);
        TComponent* component = nullptr;
        if (entry == nullptr) {
            state_.warnings.push_back("Class " + object.class_name + " not known: " + object.name +
                                      " is kept with its properties only");
            component = &state_.form.Adopt(std::make_unique<TComponent>());
        } else {
            component = entry->create(Placement{state_.form, container}, state_);
        }
        if (component == nullptr) {
            return;
        }
        component->BeginLoading();
        component->SetName(object.name);
        component->SetClassName(object.class_name);
        for (const FormProperty& property : object.properties) {
            Apply(*component, entry, property);
        }
        made_.push_back(component);
        auto* inner = dynamic_cast<TDIBContainer*>(component);
        LoadChildren(object, inner != nullptr ? inner : container);
    }

    void Apply(TComponent& component, const ComponentFactory::Entry* entry, const FormProperty& property) {
        // Event handlers are wired by the window by their names: they stay with the component.
        const bool event = property.name.size() > 2 && property.name.compare(0, 2, "On") == 0 &&
                           std::holds_alternative<FormIdent>(property.value.data);
        if (!event && entry != nullptr && entry->apply(component, property, state_)) {
            return;
        }
        if (!event && entry != nullptr) {
            state_.warnings.push_back(component.Name() + "." + property.name + " is not a property of " +
                                      component.ClassName() + "; kept");
        }
        component.Kept().push_back(property);
    }

    const ComponentFactory& factory_;
    LoadState& state_;
    std::vector<TComponent*> made_;
};

} // namespace

FormLoadResult LoadSkinForm(const FormObject& root, const ComponentFactory& factory, SkinServices services,
                            const CompressorRegistry& compressors) {
    FormLoadResult result;
    result.form = std::make_unique<SkinForm>(services);
    SkinForm& form = *result.form;
    LoadState state(services, compressors, form);
    form.BeginLoading();
    form.SetName(root.name);
    form.SetClassName(root.class_name);
    for (const FormProperty& property : root.properties) {
        if (!ApplyFormProperty(form, property, state)) {
            form.Kept().push_back(property);
        }
    }
    FormLoader loader(factory, state);
    loader.LoadChildren(root, nullptr);
    state.RunFixups();
    loader.EndLoading();
    form.EndLoading();
    result.errors = std::move(state.errors);
    result.warnings = std::move(state.warnings);
    if (state.pixels.Refused()) {
        result.form.reset();
        result.errors.insert(result.errors.begin(), state.pixels.Refusal());
    }
    return result;
}

FormLoadResult LoadSkinForm(std::string_view stream, const ComponentFactory& factory, SkinServices services,
                            const CompressorRegistry& compressors) {
    FormReadResult read = ReadFormStream(stream);
    if (!read.ok()) {
        FormLoadResult failed;
        failed.errors.push_back(read.error);
        return failed;
    }
    return LoadSkinForm(read.root, factory, services, compressors);
}

} // namespace kavlo
