// Any bytes as a form stream: reading must end in a tree or an error, never a crash; a tree that
// reads must write without error and read back as the same tree.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "skin/formats/form_stream.h"

namespace {

void Check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const kavlo::FormReadResult read =
        kavlo::ReadFormStream(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!read.ok()) {
        return 0;
    }
    const kavlo::FormWriteResult written = kavlo::WriteFormStream(read.root);
    Check(written.ok());
    const kavlo::FormReadResult again = kavlo::ReadFormStream(written.bytes);
    Check(again.ok() && again.root == read.root);
    return 0;
}
