#pragma once

#include <filesystem>
#include <string>

namespace kavlo::sample {

struct SampleDiscOptions {
    int language = 0; // the catalogue's Version: 0 English ... 6 Indonesian
};

// Writes the sample disc into `out` (created if missing). Returns false with `error` set on failure.
bool WriteSampleDisc(const std::filesystem::path& out, const SampleDiscOptions& options, std::string& error);

} // namespace kavlo::sample
