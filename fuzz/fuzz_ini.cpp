// Any bytes as an INI file, then edits taken from the same input: nothing may crash, and what is
// written must read back with the same sections, keys and values.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include <fuzzer/FuzzedDataProvider.h>

#include "platform/profile_document.h"

namespace {

void Check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

void CheckSameLookups(const kavlo::ProfileDocument& a, const kavlo::ProfileDocument& b) {
    Check(a.Sections() == b.Sections());
    for (const std::string& section : a.Sections()) {
        Check(a.Keys(section) == b.Keys(section));
        for (const std::string& key : a.Keys(section)) {
            Check(a.Get(section, key) == b.Get(section, key));
        }
    }
}

// A name from the document when there is one, so edits hit existing lines as often as new ones.
std::string PickName(FuzzedDataProvider& input, const std::vector<std::string>& names) {
    if (!names.empty() && input.ConsumeBool()) {
        return names[input.ConsumeIntegralInRange<size_t>(0, names.size() - 1)];
    }
    return input.ConsumeRandomLengthString(12);
}

void Edit(FuzzedDataProvider& input, kavlo::ProfileDocument& doc) {
    const std::string section = PickName(input, doc.Sections());
    const std::string key = PickName(input, doc.Keys(section));
    switch (input.ConsumeIntegralInRange(0, 2)) {
        case 0: {
            const std::string value = input.ConsumeRandomLengthString(24);
            if (doc.Set(section, key, value)) {
                Check(doc.Get(section, key).has_value());
            }
            break;
        }
        case 1:
            if (doc.DeleteKey(section, key)) {
                Check(doc.HasSection(section));
            }
            break;
        default:
            doc.DeleteSection(section);
            break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string text = input.ConsumeRandomLengthString(size);
    auto doc = kavlo::ProfileDocument::Parse(text);

    const auto untouched = kavlo::ProfileDocument::Parse(doc.Serialize());
    CheckSameLookups(doc, untouched);

    for (int i = 0; i < 8 && input.remaining_bytes() > 0; ++i) {
        Edit(input, doc);
    }
    const std::string written = doc.Serialize();
    const auto reread = kavlo::ProfileDocument::Parse(written);
    CheckSameLookups(doc, reread);
    Check(reread.Serialize() == written);
    return 0;
}
