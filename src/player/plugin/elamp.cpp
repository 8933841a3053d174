// The music decoder plug-in: MP3 through libmpg123, sounding through the host's output functions. The
// host calls the entry points from one thread; the host's sound device calls Pull from its own, so all
// state sits behind one mutex, and the host's functions are called with the mutex released (closing a
// device waits for a Pull that may be waiting for the mutex).

#include <mpg123.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>

#include "player/el_plugin.h"

#define ES_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

constexpr int kInputFile = 0;
constexpr int kInputStream = 1;
// Both sound through the host; a wave file is no output of ours.
constexpr int kOutputMMSystem = 0;
constexpr int kOutputDirectSound = 1;

// The modes ESGetPlayerMode reports.
constexpr int kClosed = 0;
constexpr int kOpen = 2;
constexpr int kEnded = 3;
constexpr int kPlaying = 4;
constexpr int kPaused = 5;

struct State {
    std::mutex mutex;
    bool initialized = false;
    mpg123_handle* decoder = nullptr;
    int error = kEsOk;

    int input_mode = kInputFile;
    std::string input_name;
    EsInCallbacks input{};
    bool has_input = false;
    int start_ms = 0;
    int end_ms = 0;
    int volume = 100; // percent
    EsOutCallbacks output{};
    bool has_output = false;
    bool stream_open = false;

    int mode = kClosed;
    long rate_hz = 0;
    int channels = 0;
    int64_t length_frames = -1; // -1: unknown
    int64_t position_frames = 0;
    int64_t end_frames = -1; // where play stops; -1: the end of the track
    std::string info1;
    std::string info2;
};

State state;

using Lock = std::unique_lock<std::mutex>;

int Fail(int error) {
    state.error = error;
    return 0;
}

int Succeed() {
    state.error = kEsOk;
    return 1;
}

int64_t FramesOf(int64_t ms) {
    return ms * state.rate_hz / 1000;
}

// Calls one of the host's stream controls (pause, resume, close) with the mutex released.
void CallOutput(Lock& lock, void (*EsOutCallbacks::*control)(void* host)) {
    const EsOutCallbacks output = state.output;
    lock.unlock();
    (output.*control)(output.host);
    lock.lock();
}

// Closes the host's stream; the caller has left the playing mode, so a Pull meanwhile gives silence.
void CloseOutput(Lock& lock) {
    if (!state.stream_open) {
        return;
    }
    state.stream_open = false;
    CallOutput(lock, &EsOutCallbacks::close);
}

void CloseInput(Lock& lock) {
    state.mode = kClosed;
    CloseOutput(lock);
    if (state.decoder != nullptr) {
        mpg123_close(state.decoder);
    }
    state.rate_hz = 0;
    state.channels = 0;
    state.length_frames = -1;
    state.position_frames = 0;
    state.info1.clear();
    state.info2.clear();
}

// Every rate in 16-bit mono or stereo: what the stream has is what is played.
void AcceptAnyRate() {
    mpg123_format_none(state.decoder);
    const long* rates = nullptr;
    size_t count = 0;
    mpg123_rates(&rates, &count);
    for (size_t i = 0; i < count; ++i) {
        mpg123_format(state.decoder, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
    }
}

mpg123_ssize_t ReadInput(void* handle, void* buffer, size_t bytes) {
    const auto* input = static_cast<const EsInCallbacks*>(handle);
    return input->read(input->host, buffer, bytes);
}

off_t SeekInput(void* handle, off_t offset, int whence) {
    const auto* input = static_cast<const EsInCallbacks*>(handle);
    if (input->seek == nullptr) {
        return -1;
    }
    return static_cast<off_t>(input->seek(input->host, static_cast<long>(offset), whence));
}

bool OpenDecoderInput() {
    if (state.input_mode == kInputStream) {
        if (!state.has_input ||
            mpg123_replace_reader_handle(state.decoder, ReadInput, SeekInput, nullptr) != MPG123_OK) {
            return false;
        }
        return mpg123_open_handle(state.decoder, &state.input) == MPG123_OK;
    }
    // A file is read by the library's own reader, even after a stream was read.
    if (mpg123_replace_reader(state.decoder, nullptr, nullptr) != MPG123_OK) {
        return false;
    }
    return !state.input_name.empty() && mpg123_open(state.decoder, state.input_name.c_str()) == MPG123_OK;
}

void DescribeInput() {
    char text[96];
    std::snprintf(text, sizeof text, "%ld Hz, %s", state.rate_hz, state.channels == 1 ? "mono" : "stereo");
    state.info1 = text;
    mpg123_frameinfo2 info{};
    if (mpg123_info2(state.decoder, &info) == MPG123_OK) {
        static const char* const kVersions[] = {"1", "2", "2.5"};
        const char* version = info.version >= 0 && info.version < 3 ? kVersions[info.version] : "?";
        std::snprintf(text, sizeof text, "MPEG %s layer %d, %d kbit/s%s", version, info.layer, info.bitrate,
                      info.vbr == MPG123_CBR ? "" : " (variable)");
        state.info2 = text;
    }
}

// Decodes up to `frames` frames; false when the decoder has nothing more (the end, or damage).
bool Decode(int16_t* samples, size_t frames, size_t& got_frames) {
    const size_t frame_bytes = sizeof(int16_t) * static_cast<size_t>(state.channels);
    auto* bytes = reinterpret_cast<unsigned char*>(samples);
    size_t wanted = frames * frame_bytes;
    size_t filled = 0;
    while (filled < wanted) {
        size_t done = 0;
        const int result = mpg123_read(state.decoder, bytes + filled, wanted - filled, &done);
        filled += done;
        if (result == MPG123_NEW_FORMAT || (result == MPG123_OK && done > 0)) {
            continue;
        }
        if (result != MPG123_OK || done == 0) {
            got_frames = filled / frame_bytes;
            return false;
        }
    }
    got_frames = filled / frame_bytes;
    return true;
}

void Pull(void*, int16_t* samples, size_t frames) {
    Lock lock(state.mutex);
    size_t got = 0;
    if (state.mode == kPlaying && state.decoder != nullptr && state.channels > 0) {
        size_t room = frames;
        if (state.end_frames >= 0) {
            room = static_cast<size_t>(std::clamp<int64_t>(state.end_frames - state.position_frames, 0,
                                                           static_cast<int64_t>(frames)));
        }
        bool more = room > 0 && Decode(samples, room, got);
        state.position_frames += static_cast<int64_t>(got);
        const int64_t last = state.end_frames >= 0 ? state.end_frames : state.length_frames;
        if (last >= 0 && state.position_frames >= last) {
            more = false; // the last samples are out now: the end need not wait for the next pull
        }
        if (!more) {
            state.mode = kEnded;
        }
        if (state.volume < 100) {
            for (size_t i = 0; i < got * static_cast<size_t>(state.channels); ++i) {
                samples[i] = static_cast<int16_t>(samples[i] * state.volume / 100);
            }
        }
    }
    const size_t channels = state.channels > 0 ? static_cast<size_t>(state.channels) : 1;
    std::memset(samples + got * channels, 0, (frames - got) * channels * sizeof(int16_t));
}

// Back to StartPos, with the end EndPos sets.
bool Rewind() {
    const int64_t start = FramesOf(state.start_ms);
    if (start != state.position_frames || state.mode == kEnded) {
        const off_t at = mpg123_seek(state.decoder, static_cast<off_t>(start), SEEK_SET);
        if (at < 0) {
            return false;
        }
        state.position_frames = at;
    }
    state.end_frames = state.end_ms > 0 ? FramesOf(state.end_ms) : -1;
    return true;
}

// Only a playing track pauses and only a paused one resumes; one that is open or has ended stays as it
// is, since nothing sounds.
int PauseOrResume(int from, int to, void (*EsOutCallbacks::*control)(void* host)) {
    Lock lock(state.mutex);
    if (state.mode == kClosed) {
        return Fail(kEsWrongState);
    }
    if (state.mode != from) {
        return Succeed();
    }
    state.mode = to;
    CallOutput(lock, control);
    return Succeed();
}

} // namespace

ES_EXPORT int ESInitModule(void) {
    Lock lock(state.mutex);
    if (state.initialized) {
        return Succeed();
    }
    mpg123_init();
    int result = MPG123_OK;
    state.decoder = mpg123_new(nullptr, &result);
    if (state.decoder == nullptr) {
        return Fail(kEsNoMemory);
    }
    // Damaged tracks are expected; the decoder's complaints have no reader.
    mpg123_param(state.decoder, MPG123_ADD_FLAGS, MPG123_QUIET, 0);
    state.initialized = true;
    return Succeed();
}

ES_EXPORT void ESDeInitModule(void) {
    Lock lock(state.mutex);
    CloseInput(lock);
    if (state.decoder != nullptr) {
        mpg123_delete(state.decoder);
        state.decoder = nullptr;
    }
    state.initialized = false;
    state.has_output = false;
    state.has_input = false;
    state.error = kEsOk;
}

ES_EXPORT int ESOpen(void) {
    Lock lock(state.mutex);
    if (!state.initialized) {
        return Fail(kEsNotInitialized);
    }
    CloseInput(lock);
    AcceptAnyRate();
    if (!OpenDecoderInput()) {
        return Fail(kEsNoInput);
    }
    // The whole track is walked once so its length is exact, not guessed from the first frame.
    mpg123_scan(state.decoder);
    long rate = 0;
    int channels = 0;
    int encoding = 0;
    if (mpg123_getformat(state.decoder, &rate, &channels, &encoding) != MPG123_OK || rate <= 0 ||
        (channels != 1 && channels != 2)) {
        mpg123_close(state.decoder);
        return Fail(kEsBadInput);
    }
    // From here the format is fixed: a damaged frame claiming another is converted or ends the track.
    mpg123_format_none(state.decoder);
    mpg123_format(state.decoder, rate, channels, MPG123_ENC_SIGNED_16);
    state.rate_hz = rate;
    state.channels = channels;
    const off_t length = mpg123_length(state.decoder);
    state.length_frames = length >= 0 ? static_cast<int64_t>(length) : -1;
    state.position_frames = 0;
    state.end_frames = -1;
    DescribeInput();
    state.mode = kOpen;
    return Succeed();
}

ES_EXPORT int ESClose(void) {
    Lock lock(state.mutex);
    CloseInput(lock);
    return Succeed();
}

ES_EXPORT int ESInitStream(void) {
    Lock lock(state.mutex);
    if (state.mode == kClosed) {
        return Fail(kEsWrongState);
    }
    if (!state.has_output) {
        return Fail(kEsNoOutput);
    }
    if (state.mode == kPlaying || state.mode == kPaused) {
        state.mode = kOpen;
    }
    CloseOutput(lock);
    const EsOutCallbacks output = state.output;
    const long rate = state.rate_hz;
    const int channels = state.channels;
    lock.unlock();
    const bool opened = output.open(output.host, static_cast<int>(rate), channels, Pull, nullptr) != 0;
    lock.lock();
    state.stream_open = opened;
    return opened ? Succeed() : Fail(kEsNoOutput);
}

ES_EXPORT int ESPlay(void) {
    Lock lock(state.mutex);
    if (!state.stream_open || state.mode == kClosed) {
        return Fail(kEsWrongState);
    }
    if (state.mode == kOpen || state.mode == kEnded) {
        if (!Rewind()) {
            return Fail(kEsBadInput);
        }
    }
    state.mode = kPlaying;
    CallOutput(lock, &EsOutCallbacks::resume);
    return Succeed();
}

ES_EXPORT int ESCanPause(void) {
    return 1;
}

ES_EXPORT int ESPause(void) {
    return PauseOrResume(kPlaying, kPaused, &EsOutCallbacks::pause);
}

ES_EXPORT int ESResume(void) {
    return PauseOrResume(kPaused, kPlaying, &EsOutCallbacks::resume);
}

ES_EXPORT int ESStop(void) {
    Lock lock(state.mutex);
    if (state.mode == kClosed || state.mode == kOpen) {
        return Succeed();
    }
    state.mode = kOpen;
    if (state.stream_open) {
        CallOutput(lock, &EsOutCallbacks::pause);
    }
    return Rewind() ? Succeed() : Fail(kEsBadInput);
}

ES_EXPORT int ESCanSetPos(void) {
    Lock lock(state.mutex);
    return state.mode != kClosed && (state.input_mode == kInputFile || state.input.seek != nullptr);
}

ES_EXPORT int ESGetPos(void) {
    Lock lock(state.mutex);
    return state.rate_hz > 0 ? static_cast<int>(state.position_frames * 1000 / state.rate_hz) : 0;
}

ES_EXPORT int ESSetPos(int position_ms) {
    Lock lock(state.mutex);
    if (state.mode == kClosed) {
        return Fail(kEsWrongState);
    }
    if (position_ms < 0) {
        return Fail(kEsBadArgument);
    }
    const off_t at = mpg123_seek(state.decoder, static_cast<off_t>(FramesOf(position_ms)), SEEK_SET);
    if (at < 0) {
        return Fail(kEsBadArgument);
    }
    state.position_frames = at;
    if (state.mode == kEnded) {
        state.mode = kOpen;
    }
    return Succeed();
}

ES_EXPORT const char* ESGetAbout(void) {
    return "MP3 decoder plug-in of the kavlo disc menu, decoding with libmpg123";
}

ES_EXPORT const char* ESGetName(void) {
    return "elamp MP3";
}

ES_EXPORT const char* ESGetVersion(void) {
    return "1.0";
}

ES_EXPORT int ESGetSize(void) {
    Lock lock(state.mutex);
    return state.rate_hz > 0 && state.length_frames >= 0
               ? static_cast<int>(state.length_frames * 1000 / state.rate_hz)
               : 0;
}

ES_EXPORT int ESSetInputMode(int mode) {
    Lock lock(state.mutex);
    if (mode != kInputFile && mode != kInputStream) {
        return Fail(kEsBadArgument);
    }
    state.input_mode = mode;
    return Succeed();
}

// Both sound through the host's output.
ES_EXPORT int ESSetOutputMode(int mode) {
    Lock lock(state.mutex);
    return mode == kOutputMMSystem || mode == kOutputDirectSound ? Succeed() : Fail(kEsBadArgument);
}

ES_EXPORT int ESSetInputName(const char* name) {
    Lock lock(state.mutex);
    if (name == nullptr) {
        return Fail(kEsBadArgument);
    }
    state.input_name = name;
    return Succeed();
}

// An output name names a wave file to write; there is no wave-file output, so only no name is right.
ES_EXPORT int ESSetOutputName(const char* name) {
    Lock lock(state.mutex);
    return name == nullptr || name[0] == '\0' ? Succeed() : Fail(kEsBadArgument);
}

// The host gives one output, device 0.
ES_EXPORT int ESSetOutputDev(int device) {
    Lock lock(state.mutex);
    return device == 0 ? Succeed() : Fail(kEsBadArgument);
}

ES_EXPORT int ESSetDevNum(int device) {
    return ESSetOutputDev(device);
}

ES_EXPORT int ESGetPlayerMode(void) {
    Lock lock(state.mutex);
    return state.mode;
}

ES_EXPORT int ESLastError(void) {
    Lock lock(state.mutex);
    return state.error;
}

// Decoding happens as the host's device asks for sound, so the device's buffers are the only ones:
// sizes are only checked.
ES_EXPORT int ESSetBuffers(int count, int size) {
    Lock lock(state.mutex);
    return count >= 1 && count <= 256 && size >= 512 && size <= (1 << 24) ? Succeed() : Fail(kEsBadArgument);
}

// Thread priorities as Windows numbers them (idle -15 .. time-critical 15); decoding runs on the host's
// sound thread, whose priority the host sets, so a priority is only checked.
ES_EXPORT int ESSetPriority(int priority) {
    Lock lock(state.mutex);
    return priority >= -15 && priority <= 15 ? Succeed() : Fail(kEsBadArgument);
}

// Where the next play starts and where it ends (0: the end of the track).
ES_EXPORT int ESSetLimits(int start_ms, int end_ms) {
    Lock lock(state.mutex);
    if (start_ms < 0 || end_ms < 0 || (end_ms > 0 && end_ms <= start_ms)) {
        return Fail(kEsBadArgument);
    }
    state.start_ms = start_ms;
    state.end_ms = end_ms;
    return Succeed();
}

ES_EXPORT int ESSetOutCB(const EsOutCallbacks* callbacks) {
    Lock lock(state.mutex);
    if (callbacks == nullptr || callbacks->open == nullptr || callbacks->pause == nullptr ||
        callbacks->resume == nullptr || callbacks->close == nullptr) {
        return Fail(kEsBadArgument);
    }
    if (state.stream_open) {
        return Fail(kEsWrongState); // the open stream belongs to the old host functions
    }
    state.output = *callbacks;
    state.has_output = true;
    return Succeed();
}

ES_EXPORT int ESGetVolume(void) {
    Lock lock(state.mutex);
    return state.volume;
}

ES_EXPORT int ESSetVolume(int volume) {
    Lock lock(state.mutex);
    if (volume < 0 || volume > 100) {
        return Fail(kEsBadArgument);
    }
    state.volume = volume;
    return Succeed();
}

ES_EXPORT int ESCanSetVolume(void) {
    return 1;
}

ES_EXPORT const char* ESGetExts(void) {
    return "mp3";
}

// "44100 Hz, stereo" of the open track; empty with nothing open.
ES_EXPORT const char* ESGetInfo1(void) {
    Lock lock(state.mutex);
    return state.info1.c_str();
}

// "MPEG 1 layer 3, 128 kbit/s" of the open track; empty with nothing open.
ES_EXPORT const char* ESGetInfo2(void) {
    Lock lock(state.mutex);
    return state.info2.c_str();
}

ES_EXPORT int ESSetInCB(const EsInCallbacks* callbacks) {
    Lock lock(state.mutex);
    if (callbacks == nullptr || callbacks->read == nullptr) {
        return Fail(kEsBadArgument);
    }
    if (state.mode != kClosed && state.input_mode == kInputStream) {
        return Fail(kEsWrongState); // the open input reads through the old ones
    }
    state.input = *callbacks;
    state.has_input = true;
    return Succeed();
}

// The plug-in shows no window and posts no messages: the host polls the player mode.
ES_EXPORT int ESSetWindow(void*) {
    return 1;
}

ES_EXPORT int ESUseOutCB(void) {
    return 1;
}

// There is no equaliser: it cannot be switched on, and bands are refused.
ES_EXPORT int ESUseEQ(int on) {
    Lock lock(state.mutex);
    return on == 0 ? Succeed() : Fail(kEsBadArgument);
}

ES_EXPORT int ESHasEQ(void) {
    return 0;
}

ES_EXPORT int ESEQ(const int*, int) {
    Lock lock(state.mutex);
    return Fail(kEsBadArgument);
}
