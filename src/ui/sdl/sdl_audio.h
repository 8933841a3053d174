#pragma once

#include <memory>

#include "ui/backend.h"

namespace kavlo {

// A sound stream on SDL's default output device, pulled from SDL's audio thread. SDL's audio starts
// with the first stream and stops with the last, so a program that never plays a sound never opens the
// device. Nothing when the machine has no sound output.
std::unique_ptr<AudioStream> OpenSdlAudio(const AudioFormat& format, AudioPull pull);

} // namespace kavlo
