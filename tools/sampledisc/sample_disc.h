#pragma once

#include <filesystem>
#include <string>

namespace kavlo::sample {

struct SampleDiscOptions {
    int language = 0; // the catalogue's Version: 0 English ... 6 Indonesian
    // Where the build put the music decoder plug-in and the two tracks (kDiscMusicFiles); those found
    // there are copied into the disc's KAVLO folder. Empty, or a file missing: the disc has no music of it.
    std::filesystem::path music_dir{};
};

// The music files of a disc's KAVLO folder: the decoder plug-in and the two tracks.
inline constexpr const char* kDiscMusicFiles[] = {"elamp.esp", "music1.mp3", "music2.mp3"};

// Writes the sample disc into `out` (created if missing). Returns false with `error` set on failure.
bool WriteSampleDisc(const std::filesystem::path& out, const SampleDiscOptions& options, std::string& error);

} // namespace kavlo::sample
