#pragma once

// The decoder plug-in's entry points as the player calls them, shared by both sides. Every entry point
// has C linkage and is exported under its own name; a plug-in lacking any of them is refused. Booleans
// are ints (0 false); file names are host paths in UTF-8; positions are milliseconds.

#include <stddef.h>
#include <stdint.h>

extern "C" {

// ESLastError's codes.
enum {
    kEsOk = 0,
    kEsNotInitialized = 1, // ESInitModule was not called
    kEsNoInput = 2,        // the input file cannot be opened
    kEsBadInput = 3,       // the input is no stream the plug-in decodes
    kEsNoOutput = 4,       // no output stream: no host functions, or the host has no sound
    kEsWrongState = 5,     // nothing open, or no stream for play
    kEsBadArgument = 6,    // a mode, device or position out of range
    kEsNoMemory = 7,
};

// Fills `frames` frames of interleaved signed 16-bit samples; silence past the end.
typedef void (*EsPullFn)(void* context, int16_t* samples, size_t frames);

// The host's sound output, handed over with ESSetOutCB. `open` starts a stream, paused, that calls
// `pull` (on any thread, never two at once) while it runs; the host keeps one stream per plug-in.
struct EsOutCallbacks {
    void* host;
    int (*open)(void* host, int rate_hz, int channels, EsPullFn pull, void* context);
    void (*pause)(void* host);
    void (*resume)(void* host);
    void (*close)(void* host);
};

// The host's reader for the stream input mode, handed over with ESSetInCB. `read` returns the bytes read
// (0 at the end, negative on error); `seek` takes SEEK_SET/SEEK_CUR/SEEK_END and returns the new offset
// or a negative number.
struct EsInCallbacks {
    void* host;
    long (*read)(void* host, void* buffer, size_t bytes);
    long (*seek)(void* host, long offset, int whence);
};

typedef int (*ESInitModuleFn)(void);
typedef void (*ESDeInitModuleFn)(void);
typedef int (*ESOpenFn)(void);
typedef int (*ESCloseFn)(void);
typedef int (*ESInitStreamFn)(void);
typedef int (*ESPlayFn)(void);
typedef int (*ESCanPauseFn)(void);
typedef int (*ESPauseFn)(void);
typedef int (*ESResumeFn)(void);
typedef int (*ESStopFn)(void);
typedef int (*ESCanSetPosFn)(void);
typedef int (*ESGetPosFn)(void);
typedef int (*ESSetPosFn)(int position_ms);
typedef const char* (*ESGetAboutFn)(void);
typedef const char* (*ESGetNameFn)(void);
typedef const char* (*ESGetVersionFn)(void);
typedef int (*ESGetSizeFn)(void);
typedef int (*ESSetInputModeFn)(int mode);
typedef int (*ESSetOutputModeFn)(int mode);
typedef int (*ESSetInputNameFn)(const char* name);
typedef int (*ESSetOutputNameFn)(const char* name);
typedef int (*ESSetOutputDevFn)(int device);
typedef int (*ESGetPlayerModeFn)(void);
typedef int (*ESLastErrorFn)(void);
typedef int (*ESSetBuffersFn)(int count, int size);
typedef int (*ESSetPriorityFn)(int priority);
typedef int (*ESSetLimitsFn)(int start_ms, int end_ms);
typedef int (*ESSetOutCBFn)(const EsOutCallbacks* callbacks);
typedef int (*ESGetVolumeFn)(void);
typedef int (*ESSetVolumeFn)(int volume);
typedef int (*ESCanSetVolumeFn)(void);
typedef const char* (*ESGetExtsFn)(void);
typedef const char* (*ESGetInfo1Fn)(void);
typedef const char* (*ESGetInfo2Fn)(void);
typedef int (*ESSetDevNumFn)(int device);
typedef int (*ESSetInCBFn)(const EsInCallbacks* callbacks);
typedef int (*ESSetWindowFn)(void* window);
typedef int (*ESUseOutCBFn)(void);
typedef int (*ESUseEQFn)(int on);
typedef int (*ESHasEQFn)(void);
typedef int (*ESEQFn)(const int* bands, int count);
}
