#include "ui/sdl/sdl_audio.h"

#include <SDL.h>

#include <cstring>

namespace kavlo {

namespace {

// About 46 ms at 44.1 kHz: short enough for a pause to be heard at once, long enough not to starve.
constexpr Uint16 kDeviceFrames = 2048;

class SdlAudioStream final : public AudioStream {
public:
    SdlAudioStream(int channels, AudioPull pull) : channels_(channels), pull_(std::move(pull)) {}
    ~SdlAudioStream() override {
        if (device_ != 0) {
            // Waits for the audio thread, so the pull is never called after this.
            SDL_CloseAudioDevice(device_);
        }
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    SdlAudioStream(const SdlAudioStream&) = delete;
    SdlAudioStream& operator=(const SdlAudioStream&) = delete;

    bool Open(const AudioFormat& format) {
        SDL_AudioSpec want{};
        want.freq = format.rate_hz;
        want.format = AUDIO_S16SYS;
        want.channels = static_cast<Uint8>(format.channels);
        want.samples = kDeviceFrames;
        want.callback = &SdlAudioStream::Fill;
        want.userdata = this;
        SDL_AudioSpec have{};
        // No changes allowed: SDL converts to whatever the device wants, and the pull keeps our format.
        device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
        return device_ != 0;
    }

    void Pause() override {
        SDL_PauseAudioDevice(device_, 1);
        paused_ = true;
    }
    void Resume() override {
        SDL_PauseAudioDevice(device_, 0);
        paused_ = false;
    }
    bool Paused() const override { return paused_; }

private:
    static void SDLCALL Fill(void* self, Uint8* bytes, int length) {
        auto* stream = static_cast<SdlAudioStream*>(self);
        const size_t frame_bytes = sizeof(int16_t) * static_cast<size_t>(stream->channels_);
        const size_t frames = static_cast<size_t>(length) / frame_bytes;
        stream->pull_(reinterpret_cast<int16_t*>(bytes), frames);
        // A length that is not whole frames leaves a tail the pull never saw.
        std::memset(bytes + frames * frame_bytes, 0, static_cast<size_t>(length) - frames * frame_bytes);
    }

    int channels_;
    AudioPull pull_;
    SDL_AudioDeviceID device_ = 0;
    bool paused_ = true;
};

} // namespace

std::unique_ptr<AudioStream> OpenSdlAudio(const AudioFormat& format, AudioPull pull) {
    if (format.rate_hz <= 0 || format.channels <= 0 || format.channels > 8 || !pull) {
        return nullptr;
    }
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        return nullptr;
    }
    // From here the stream owns one hold on the audio subsystem, released with it.
    auto stream = std::make_unique<SdlAudioStream>(format.channels, std::move(pull));
    if (!stream->Open(format)) {
        return nullptr;
    }
    return stream;
}

} // namespace kavlo
