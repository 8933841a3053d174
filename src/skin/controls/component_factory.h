#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "skin/controls/component.h"
#include "skin/controls/dib_site.h"
#include "skin/controls/skin_form.h"
#include "skin/formats/compressor.h"
#include "skin/formats/form_stream.h"
#include "skin/formats/picture.h"

namespace kavlo {

class TDIBContainer;

// What reading one form needs and what it finds on the way.
class LoadState {
public:
    LoadState(SkinServices skin_services, const CompressorRegistry& registry, SkinForm& target)
        : services(skin_services), compressors(registry), form(target) {}

    SkinServices services;
    const CompressorRegistry& compressors;
    SkinForm& form;
    // Data that could not be taken (a picture that does not decode, a value out of range, a reference
    // to no component): the form is built without it.
    std::vector<std::string> errors;
    // Classes and properties this program does not know; they are kept or skipped, never fatal.
    std::vector<std::string> warnings;
    // The pixel memory the whole form may take: its images and pictures draw on it as they are read.
    PixelBudget pixels{kMaxFormPixelBytes};

    // Work that waits until every component exists: references between components by name.
    void AfterCreation(std::function<void()> fixup) { fixups_.push_back(std::move(fixup)); }
    void RunFixups();
    // Calls `assign` with the component the name refers to ("Form1.DIBImageList1" names it too); an
    // error when there is none or it has another class.
    template <class T>
    void Refer(const TComponent& from, std::string_view property, std::string name,
               std::function<void(T*)> assign) {
        AfterCreation([this, &from, property = std::string(property), name = std::move(name), assign] {
            const std::string_view own = std::string_view(name).substr(name.rfind('.') + 1);
            T* target = form.Find<T>(own);
            if (target == nullptr) {
                errors.push_back(from.Name() + "." + property + ": no component " + name +
                                 " of the right kind");
                return;
            }
            assign(target);
        });
    }

private:
    std::vector<std::function<void()>> fixups_;
};

// Where a new component goes: on the form, or into the DIB container whose stream object holds it.
struct Placement {
    SkinForm& form;
    TDIBContainer* container = nullptr;
};

// The classes a form stream may name, each with how to make one and how to take its properties.
class ComponentFactory {
public:
    // Makes the component in its place (the form or container owns it); null when it cannot live
    // there, with an error in the state.
    using Creator = std::function<TComponent*(const Placement& where, LoadState& state)>;
    // Takes one stored property; false when the class has no such property.
    using Applier =
        std::function<bool(TComponent& component, const FormProperty& property, LoadState& state)>;

    void Register(std::string class_name, Creator create, Applier apply);
    bool Knows(std::string_view class_name) const;

    // The skin controls, the non-visual skin components and the plain form controls the window uses.
    static ComponentFactory Standard();

    struct Entry {
        std::string class_name;
        Creator create;
        Applier apply;
    };
    const Entry* Find(std::string_view class_name) const;

private:
    std::vector<Entry> entries_;
};

struct FormLoadResult {
    std::unique_ptr<SkinForm> form;
    std::vector<std::string> errors;
    std::vector<std::string> warnings;
    // False when the stream could not be read at all (no form) or some data was lost.
    bool ok() const { return form != nullptr && errors.empty(); }
};

// Builds the window and every component below it from a form object: each is made by its class name,
// given its stored properties by name (unknown ones kept with the component), placed in its parent,
// its references resolved; then every component is told that loading has ended. A form whose images
// and pictures ask for more pixel memory than kMaxFormPixelBytes in all is no skin: no form, and the
// first error says so.
FormLoadResult LoadSkinForm(const FormObject& root, const ComponentFactory& factory, SkinServices services,
                            const CompressorRegistry& compressors);
// The same from the bytes of a "TPF0" stream.
FormLoadResult LoadSkinForm(std::string_view stream, const ComponentFactory& factory, SkinServices services,
                            const CompressorRegistry& compressors);

// Property values as the appliers read them (also used for the form itself).
namespace form_value {
std::optional<int64_t> Int(const FormValue& value);
std::optional<bool> Bool(const FormValue& value);
std::optional<std::string> Text(const FormValue& value);
std::optional<std::string> Ident(const FormValue& value);
std::optional<double> Real(const FormValue& value);
std::optional<TColor> Color(const FormValue& value);
std::optional<TCursor> Cursor(const FormValue& value);
} // namespace form_value

} // namespace kavlo
