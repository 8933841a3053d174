// Background music: two tracks from the disc in turn through the decoder plug-in. The menu never reports
// a music failure: the player is marked not ready and the menu stays silent until the next load.

#include "main_f/form1.h"

namespace kavlo {

namespace {

constexpr uint32_t kMusicPollMs = 5000;

} // namespace

TElPlayer* TForm1::Player() const {
    TElPlayerMan* manager = controls.ElPlayerMan1;
    if (manager == nullptr || manager->Players().empty()) {
        return nullptr;
    }
    return manager->Players().front().get();
}

void TForm1::MusicFailed() {
    player_ready_ = false;
    MusicPlaying = false;
}

// The plug-in is loaded afresh for every track; the names keep the disc folder's own back-slash, so the
// path holds a doubled one, which the file system takes as one.
void TForm1::LoadTrack(int track) {
    if (!state.Music) {
        return;
    }
    player_ready_ = true;
    MusicPlaying = false;
    TElPlayer* player = Player();
    if (player == nullptr) {
        MusicFailed();
        return;
    }
    player->ModuleName = state.DiscDir + "\\elamp.esp";
    if (!player->LoadModule()) {
        MusicFailed();
        return;
    }
    player->InputMode = TInputMode::imFile;
    player->InputName = state.DiscDir + (track == 1 ? "\\music1.mp3" : "\\music2.mp3");
    player->OutputMode = TOutputMode::omDirectSound;
    if (!player->Open() || !player->InitStream()) {
        MusicFailed();
        return;
    }
    music_track_ = track;
}

void TForm1::LoadMusic() {
    LoadTrack(1);
}

void TForm1::LoadMusic2() {
    LoadTrack(2);
}

void TForm1::PlayMusic() {
    if (!state.Music || !player_ready_) {
        return;
    }
    TElPlayer* player = Player();
    if (player == nullptr || !player->Play()) {
        MusicFailed();
        return;
    }
    MusicPlaying = true;
}

// Pauses, keeping the place. With the switch off it does nothing: turning the music off pauses first.
void TForm1::StopMusic() {
    TElPlayer* player = Player();
    if (!state.Music || player == nullptr || !player->Initialized()) {
        return;
    }
    if (!player->Pause()) {
        MusicFailed();
        return;
    }
    MusicPlaying = false;
}

// The menu learns of a track's end only here, so the next track can start up to one interval late.
void TForm1::MusicTimerTimer() {
    if (!player_ready_ || !state.Music) {
        return;
    }
    TElPlayer* player = Player();
    const std::optional<int> mode = player != nullptr ? player->PlayerMode() : std::nullopt;
    if (!mode) {
        MusicFailed();
        return;
    }
    switch (*mode) {
        case kPlayerOpen:
            PlayMusic();
            break;
        case kPlayerEnded:
            if (music_track_ == 1) {
                LoadMusic2();
            } else {
                LoadMusic();
            }
            PlayMusic();
            break;
        case kPlayerPaused:
            // The Extra page keeps the music paused until the reader leaves it.
            if (state.CurrentPage == PageKind::Extra) {
                break;
            }
            if (!player->Resume()) {
                MusicFailed();
                break;
            }
            MusicPlaying = true;
            break;
        default:
            break;
    }
}

TForm1::MusicStatus TForm1::PlayerStatus() const {
    MusicStatus status;
    status.ready = player_ready_;
    status.track = music_track_;
    if (TElPlayer* player = Player()) {
        status.loaded = player->Initialized();
        status.mode = player->PlayerMode().value_or(kPlayerClosed);
    }
    return status;
}

void TForm1::RestartMusicPoll() {
    TimerHandle& poll = controls.MusicTimer->Timer();
    poll.SetEnabled(false);
    if (minimised_) {
        return;
    }
    poll.SetInterval(kMusicPollMs);
    poll.SetEnabled(true);
}

// The menu out of use (another program active, or the window minimised): the music pauses and its poll
// waits until the menu is back.
void TForm1::HoldMusic() {
    StopMusic();
    controls.MusicTimer->Timer().SetEnabled(false);
}

// Minimised, the menu is out of sight: the music pauses as when another program takes over.
void TForm1::ApplicationMinimize() {
    minimised_ = true;
    HoldMusic();
}

void TForm1::ApplicationRestore() {
    minimised_ = false;
    if (app_active_) {
        RestartMusicPoll();
    }
}

void TForm1::UnloadMusic() {
    TElPlayer* player = Player();
    MusicPlaying = false;
    if (!player_ready_ || player == nullptr) {
        return;
    }
    if (!player->Stop() || !player->UnloadModule()) {
        player_ready_ = false;
    }
}

} // namespace kavlo
