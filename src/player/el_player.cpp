#include "player/el_player.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/platform.h"
#include "player/el_plugin.h"
#include "ui/backend.h"

namespace kavlo {

namespace {

// Every entry point a plug-in must export, in the order they are resolved.
#define KAVLO_ES_ENTRY_POINTS(X)                                                                             \
    X(ESInitModule)                                                                                          \
    X(ESDeInitModule)                                                                                        \
    X(ESOpen)                                                                                                \
    X(ESClose)                                                                                               \
    X(ESInitStream)                                                                                          \
    X(ESPlay)                                                                                                \
    X(ESCanPause)                                                                                            \
    X(ESPause)                                                                                               \
    X(ESResume)                                                                                              \
    X(ESStop)                                                                                                \
    X(ESCanSetPos)                                                                                           \
    X(ESGetPos)                                                                                              \
    X(ESSetPos)                                                                                              \
    X(ESGetAbout)                                                                                            \
    X(ESGetName)                                                                                             \
    X(ESGetVersion)                                                                                          \
    X(ESGetSize)                                                                                             \
    X(ESSetInputMode)                                                                                        \
    X(ESSetOutputMode)                                                                                       \
    X(ESSetInputName)                                                                                        \
    X(ESSetOutputName)                                                                                       \
    X(ESSetOutputDev)                                                                                        \
    X(ESGetPlayerMode)                                                                                       \
    X(ESLastError)                                                                                           \
    X(ESSetBuffers)                                                                                          \
    X(ESSetPriority)                                                                                         \
    X(ESSetLimits)                                                                                           \
    X(ESSetOutCB)                                                                                            \
    X(ESGetVolume)                                                                                           \
    X(ESSetVolume)                                                                                           \
    X(ESCanSetVolume)                                                                                        \
    X(ESGetExts)                                                                                             \
    X(ESGetInfo1)                                                                                            \
    X(ESGetInfo2)                                                                                            \
    X(ESSetDevNum)                                                                                           \
    X(ESSetInCB)                                                                                             \
    X(ESSetWindow)                                                                                           \
    X(ESUseOutCB)                                                                                            \
    X(ESUseEQ)                                                                                               \
    X(ESHasEQ)                                                                                               \
    X(ESEQ)

struct EntryPoints {
#define KAVLO_ES_FIELD(name) name##Fn name = nullptr;
    KAVLO_ES_ENTRY_POINTS(KAVLO_ES_FIELD)
#undef KAVLO_ES_FIELD
};

// Resolves every entry point; false at the first one missing.
bool ResolveAll(Libraries& libraries, LibraryHandle library, EntryPoints& es) {
#define KAVLO_ES_RESOLVE(name)                                                                               \
    es.name = reinterpret_cast<name##Fn>(libraries.Resolve(library, #name));                                 \
    if (es.name == nullptr) {                                                                                \
        return false;                                                                                        \
    }
    KAVLO_ES_ENTRY_POINTS(KAVLO_ES_RESOLVE)
#undef KAVLO_ES_RESOLVE
    return true;
}

#undef KAVLO_ES_ENTRY_POINTS

} // namespace

struct TElPlayer::Impl {
    Impl(Platform& p, Backend& b) : platform(p), backend(b) {}

    Platform& platform;
    Backend& backend;
    LibraryHandle library = 0;
    EntryPoints es;
    bool initialized = false;
    int last_error = kEsOk;
    // The plug-in's sound, on the front end's audio.
    std::unique_ptr<AudioStream> stream;
    EsOutCallbacks callbacks{this, &Impl::OpenOutput, &Impl::PauseOutput, &Impl::ResumeOutput,
                             &Impl::CloseOutput};

    static int OpenOutput(void* host, int rate_hz, int channels, EsPullFn pull, void* context) {
        auto* self = static_cast<Impl*>(host);
        self->stream.reset();
        if (pull == nullptr) {
            return 0;
        }
        self->stream = self->backend.OpenAudio(
            AudioFormat{rate_hz, channels},
            [pull, context](int16_t* samples, size_t frames) { pull(context, samples, frames); });
        return self->stream != nullptr ? 1 : 0;
    }
    static void PauseOutput(void* host) {
        if (auto* self = static_cast<Impl*>(host); self->stream != nullptr) {
            self->stream->Pause();
        }
    }
    static void ResumeOutput(void* host) {
        if (auto* self = static_cast<Impl*>(host); self->stream != nullptr) {
            self->stream->Resume();
        }
    }
    static void CloseOutput(void* host) { static_cast<Impl*>(host)->stream.reset(); }

    // The stream input: the track's bytes read through the PC's file system, handed over on request.
    std::string input_bytes;
    size_t input_at = 0;
    EsInCallbacks input_callbacks{this, &Impl::ReadInput, &Impl::SeekInput};

    static long ReadInput(void* host, void* buffer, size_t bytes) {
        auto* self = static_cast<Impl*>(host);
        const size_t count = std::min(bytes, self->input_bytes.size() - self->input_at);
        std::memcpy(buffer, self->input_bytes.data() + self->input_at, count);
        self->input_at += count;
        return static_cast<long>(count);
    }
    static long SeekInput(void* host, long offset, int whence) {
        auto* self = static_cast<Impl*>(host);
        const long size = static_cast<long>(self->input_bytes.size());
        const long base = whence == SEEK_SET   ? 0
                          : whence == SEEK_CUR ? static_cast<long>(self->input_at)
                                               : size;
        if (offset < -base || offset > size - base) {
            return -1;
        }
        self->input_at = static_cast<size_t>(base + offset);
        return static_cast<long>(self->input_at);
    }

    // The plug-in's answer to a call: false leaves its error code.
    bool Check(int result) {
        last_error = result != 0 ? kEsOk : es.ESLastError();
        return result != 0;
    }
    bool Ready() {
        if (!initialized) {
            last_error = kEsNotInitialized;
        }
        return initialized;
    }
    void Release() {
        // The stream pulls through the plug-in's code: it goes before the library does.
        stream.reset();
        platform.libraries.Release(library);
        library = 0;
        es = {};
        initialized = false;
    }
};

TElPlayer::TElPlayer(Platform& platform, Backend& backend)
    : impl_(std::make_unique<Impl>(platform, backend)) {}

TElPlayer::~TElPlayer() {
    UnloadModule();
}

bool TElPlayer::LoadModule() {
    UnloadModule();
    Impl& p = *impl_;
    p.library = p.platform.libraries.Load(ModuleName);
    if (p.library == 0) {
        p.last_error = kEsNotInitialized;
        return false;
    }
    if (!ResolveAll(p.platform.libraries, p.library, p.es)) {
        p.Release();
        p.last_error = kEsNotInitialized;
        return false;
    }
    if (!p.Check(p.es.ESInitModule())) {
        p.Release();
        return false;
    }
    // A plug-in that will not sound through our functions would want a sound device of its own.
    if (!p.Check(p.es.ESSetOutCB(&p.callbacks)) || p.es.ESUseOutCB() == 0) {
        p.last_error = p.last_error != kEsOk ? p.last_error : kEsNoOutput;
        p.es.ESDeInitModule();
        p.Release();
        return false;
    }
    p.initialized = true;
    return true;
}

bool TElPlayer::UnloadModule() {
    Impl& p = *impl_;
    if (p.library == 0) {
        return true;
    }
    if (p.initialized) {
        p.es.ESStop();
        p.es.ESDeInitModule();
    }
    p.Release();
    p.last_error = kEsOk;
    return true;
}

bool TElPlayer::Initialized() const {
    return impl_->initialized;
}

bool TElPlayer::Open() {
    Impl& p = *impl_;
    if (!p.Ready()) {
        return false;
    }
    // A file the plug-in reads itself, by the host file behind the Windows path (empty when there is none,
    // which the plug-in cannot open); a stream it reads through us.
    std::string input;
    if (InputMode == TInputMode::imFile) {
        input = p.platform.fs.HostPath(InputName).value_or(std::string());
    } else {
        // The old input goes first: the plug-in may still be reading it.
        if (!p.Check(p.es.ESClose())) {
            return false;
        }
        std::optional<std::string> bytes = p.platform.fs.ReadFile(InputName);
        if (!bytes) {
            p.last_error = kEsNoInput;
            return false;
        }
        p.input_bytes = std::move(*bytes);
        p.input_at = 0;
        if (!p.Check(p.es.ESSetInCB(&p.input_callbacks))) {
            return false;
        }
    }
    return p.Check(p.es.ESSetInputMode(static_cast<int>(InputMode))) &&
           p.Check(p.es.ESSetInputName(input.c_str())) &&
           p.Check(p.es.ESSetOutputMode(static_cast<int>(OutputMode))) && p.Check(p.es.ESSetOutputName("")) &&
           p.Check(p.es.ESSetPriority(Priority)) && p.Check(p.es.ESOpen());
}

bool TElPlayer::InitStream() {
    Impl& p = *impl_;
    return p.Ready() && p.Check(p.es.ESSetOutputDev(OutputDevNum)) &&
           p.Check(p.es.ESSetBuffers(BuffersCount, BufferSize)) &&
           p.Check(p.es.ESUseEQ(UseEqualizer ? 1 : 0)) && p.Check(p.es.ESInitStream());
}

bool TElPlayer::Play() {
    Impl& p = *impl_;
    return p.Ready() && p.Check(p.es.ESSetLimits(StartPos, EndPos)) && p.Check(p.es.ESPlay());
}

bool TElPlayer::Pause() {
    Impl& p = *impl_;
    return p.Ready() && p.Check(p.es.ESPause());
}

bool TElPlayer::Resume() {
    Impl& p = *impl_;
    return p.Ready() && p.Check(p.es.ESResume());
}

bool TElPlayer::Stop() {
    Impl& p = *impl_;
    return p.Ready() && p.Check(p.es.ESStop());
}

std::optional<int> TElPlayer::PlayerMode() {
    Impl& p = *impl_;
    if (!p.initialized) {
        return std::nullopt;
    }
    return p.es.ESGetPlayerMode();
}

int TElPlayer::LastError() const {
    return impl_->last_error;
}

TElPlayer& TElPlayerMan::AddPlayer() {
    players_.push_back(std::make_unique<TElPlayer>(platform_, backend_));
    return *players_.back();
}

} // namespace kavlo
