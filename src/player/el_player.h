#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "skin/controls/component.h"

namespace kavlo {

class Backend;
struct Platform;

enum class TInputMode : uint8_t { imFile, imStream };
enum class TOutputMode : uint8_t { omMMSystem, omDirectSound, omWaveFile };

// What the player reports of the open track (the plug-in's own numbers).
inline constexpr int kPlayerClosed = 0;  // nothing open
inline constexpr int kPlayerOpen = 2;    // open, not playing
inline constexpr int kPlayerEnded = 3;   // played to its end
inline constexpr int kPlayerPlaying = 4; // playing
inline constexpr int kPlayerPaused = 5;  // paused, keeping its place

// One music player: a decoder plug-in loaded by file name, fed a track and sounding through the front
// end's audio. Every operation that can fail returns false and leaves the plug-in's code in LastError;
// nothing throws.
class TElPlayer {
public:
    TElPlayer(Platform& platform, Backend& backend);
    ~TElPlayer(); // stops and unloads
    TElPlayer(const TElPlayer&) = delete;
    TElPlayer& operator=(const TElPlayer&) = delete;

    // The stored settings.
    TInputMode InputMode = TInputMode::imFile;
    TOutputMode OutputMode = TOutputMode::omMMSystem;
    int StartPos = 0;
    int EndPos = 0;
    int Priority = 0;
    int BuffersCount = 8;
    int BufferSize = 16384;
    int OutputDevNum = 0;
    bool UseEqualizer = false;
    // The plug-in file and the track, as Windows paths.
    std::string ModuleName;
    std::string InputName;

    // Loads ModuleName, resolves every entry point and initialises the plug-in; a module already loaded
    // is unloaded first. False when the file is no library or lacks an entry point.
    bool LoadModule();
    // Stops, de-initialises the plug-in and releases the library; the initialized flag clears.
    bool UnloadModule();
    bool Initialized() const;

    bool Open();       // hands input and output settings to the plug-in and opens the input
    bool InitStream(); // the output device, OutputDevNum first
    bool Play();       // StartPos and EndPos, then plays
    bool Pause();
    bool Resume();
    bool Stop();
    // The plug-in's player mode (constants above); nothing when no module is loaded.
    std::optional<int> PlayerMode();
    int LastError() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// The form's player manager component: owns the players its stored collection describes.
class TElPlayerMan : public TComponent {
public:
    TElPlayerMan(Platform& platform, Backend& backend) : platform_(platform), backend_(backend) {}
    std::vector<std::unique_ptr<TElPlayer>>& Players() { return players_; }
    TElPlayer& AddPlayer();

private:
    Platform& platform_;
    Backend& backend_;
    std::vector<std::unique_ptr<TElPlayer>> players_;
};

} // namespace kavlo
