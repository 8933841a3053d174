// The music player over the real decoder plug-in, on the headless front end's virtual clock: tracks
// made at test time by LAME from a synthesised wave, and files that are no tracks or no plug-ins.

#include "player/el_player.h"

#include <gtest/gtest.h>
#include <mpg123.h>

#include <SDL.h>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <dlfcn.h>
#include <filesystem>
#include <string>
#include <thread>

#include "platform/posix/posix_platform.h"
#include "player/el_player_form.h"
#include "player/el_plugin.h"
#include "skin/text/font_resolver.h"
#include "support/run_tool.h"
#include "support/temp_dir.h"
#include "ui/application.h"
#include "ui/headless/headless_backend.h"
#include "ui/sdl/sdl_audio.h"

namespace kavlo {
namespace {

using test::TempDir;
using test::WriteHostFile;

constexpr int kRate = 44100;

void PutLe(std::string& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
}

// A stereo chord of `seconds`, as a 16-bit wave file.
std::string ChordWave(double seconds) {
    const auto frames = static_cast<uint32_t>(seconds * kRate);
    std::string wave = "RIFF";
    PutLe(wave, 36 + frames * 4, 4);
    wave += "WAVEfmt ";
    PutLe(wave, 16, 4);
    PutLe(wave, 1, 2); // PCM
    PutLe(wave, 2, 2);
    PutLe(wave, kRate, 4);
    PutLe(wave, kRate * 4, 4);
    PutLe(wave, 4, 2);
    PutLe(wave, 16, 2);
    wave += "data";
    PutLe(wave, frames * 4, 4);
    for (uint32_t i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double left = 0.3 * std::sin(2 * M_PI * 440 * t) + 0.2 * std::sin(2 * M_PI * 554.37 * t);
        const double right = 0.3 * std::sin(2 * M_PI * 659.25 * t);
        PutLe(wave, static_cast<uint16_t>(static_cast<int16_t>(left * 32767)), 2);
        PutLe(wave, static_cast<uint16_t>(static_cast<int16_t>(right * 32767)), 2);
    }
    return wave;
}

class PlayerTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(disc_);
        std::filesystem::copy_file(KAVLO_PLUGIN_PATH, disc_ / "elamp.esp");
        WriteHostFile(dir_ / "chord.wav", ChordWave(2.0));
        const test::ToolRun lame = test::RunProgram(
            "lame", {"--quiet", "-b", "128", (dir_ / "chord.wav").string(), (disc_ / "music1.mp3").string()});
        ASSERT_EQ(lame.exit_code, 0) << lame.err;
    }

    // The player as the menu sets it up: the disc's folder with the name appended, back-slash and all.
    bool LoadAndOpen(const std::string& track) {
        player.ModuleName = "D:\\\\elamp.esp";
        player.InputMode = TInputMode::imFile;
        player.InputName = "D:\\\\" + track;
        player.OutputMode = TOutputMode::omDirectSound;
        return player.LoadModule() && player.Open() && player.InitStream();
    }

    int Mode() { return player.PlayerMode().value_or(-1); }

    TempDir dir_;
    std::filesystem::path disc_ = dir_ / "disc";
    PosixPlatform posix_{PosixPlatformOptions{
        .pc_root = (dir_ / "pc").string(), .disc_dir = disc_.string(), .scan_media = false}};
    HeadlessBackend backend_;
    TElPlayer player{posix_.platform(), backend_};
};

TEST_F(PlayerTest, PlaysATrackToItsEndOnTheVirtualClockAndPausesWithoutMoving) {
    ASSERT_EQ(posix_.disc_letter(), 'D');
    ASSERT_TRUE(LoadAndOpen("music1.mp3")) << player.LastError();
    EXPECT_TRUE(player.Initialized());
    EXPECT_EQ(Mode(), kPlayerOpen);
    EXPECT_EQ(backend_.AudioStreams(), 1u);

    // Open but not playing: time passes and nothing is used up.
    backend_.AdvanceClock(5000);
    EXPECT_EQ(Mode(), kPlayerOpen);

    ASSERT_TRUE(player.Play());
    EXPECT_EQ(Mode(), kPlayerPlaying);
    backend_.AdvanceClock(700);
    ASSERT_TRUE(player.Pause());
    EXPECT_EQ(Mode(), kPlayerPaused);
    backend_.AdvanceClock(10000);
    EXPECT_EQ(Mode(), kPlayerPaused);
    EXPECT_TRUE(player.Pause()) << "pausing twice keeps the place";

    // 1300 ms remain of the 2 s chord, to the millisecond.
    ASSERT_TRUE(player.Resume());
    EXPECT_EQ(Mode(), kPlayerPlaying);
    for (int step = 0; step < 129; ++step) {
        backend_.AdvanceClock(10);
    }
    EXPECT_EQ(Mode(), kPlayerPlaying);
    backend_.AdvanceClock(10);
    EXPECT_EQ(Mode(), kPlayerEnded);
    // Ended, it stays so; pausing it is no error (the menu pauses whenever it loses the focus).
    backend_.AdvanceClock(3000);
    EXPECT_TRUE(player.Pause());
    EXPECT_EQ(Mode(), kPlayerEnded);

    // Played again it starts from the top, and an end position cuts it short.
    player.EndPos = 500;
    ASSERT_TRUE(player.Play());
    EXPECT_EQ(Mode(), kPlayerPlaying);
    backend_.AdvanceClock(499);
    EXPECT_EQ(Mode(), kPlayerPlaying);
    backend_.AdvanceClock(1);
    EXPECT_EQ(Mode(), kPlayerEnded);

    player.EndPos = 0;
    ASSERT_TRUE(player.Play());
    ASSERT_TRUE(player.Stop());
    EXPECT_EQ(Mode(), kPlayerOpen);

    ASSERT_TRUE(player.UnloadModule());
    EXPECT_FALSE(player.Initialized());
    EXPECT_FALSE(player.PlayerMode().has_value());
    EXPECT_EQ(backend_.AudioStreams(), 0u);
    EXPECT_FALSE(player.Play());
    EXPECT_EQ(player.LastError(), kEsNotInitialized);
}

TEST_F(PlayerTest, BadTracksAndBadPluginsFailQuietly) {
    const std::string mp3 = test::ReadHostFile(disc_ / "music1.mp3");
    WriteHostFile(disc_ / "cut.mp3", mp3.substr(0, mp3.size() * 2 / 5 + 77)); // ends inside a frame
    WriteHostFile(disc_ / "text.mp3", std::string(3000, 'x') + "\nThis is no MP3 at all.\n");
    WriteHostFile(disc_ / "empty.mp3", "");

    // A truncated track plays what it has and ends early.
    ASSERT_TRUE(LoadAndOpen("cut.mp3")) << player.LastError();
    ASSERT_TRUE(player.Play());
    backend_.AdvanceClock(1200);
    EXPECT_EQ(Mode(), kPlayerEnded);

    for (const auto& [track, error] : {std::pair{"text.mp3", kEsBadInput},
                                       {"empty.mp3", kEsBadInput},
                                       {"missing.mp3", kEsNoInput},
                                       {"nofolder\\music1.mp3", kEsNoInput}}) {
        player.InputName = std::string("D:\\") + track;
        EXPECT_FALSE(player.Open()) << track;
        EXPECT_EQ(player.LastError(), error) << track;
        EXPECT_EQ(Mode(), kPlayerClosed) << track;
        EXPECT_FALSE(player.InitStream()) << track;
        EXPECT_FALSE(player.Play()) << track;
        backend_.AdvanceClock(100);
    }
    EXPECT_EQ(backend_.AudioStreams(), 0u) << "a failed open closes the earlier track's stream";

    // Files that are no plug-in: text, a real library without the entry points, nothing at all.
    WriteHostFile(disc_ / "text.esp", "MZ but not really a library");
    Dl_info decoder_library{};
    ASSERT_NE(dladdr(reinterpret_cast<void*>(&mpg123_open), &decoder_library), 0);
    std::filesystem::copy_file(decoder_library.dli_fname, disc_ / "lib.esp");
    for (const char* module : {"D:\\text.esp", "D:\\lib.esp", "D:\\none.esp", "Q:\\elamp.esp"}) {
        player.ModuleName = module;
        EXPECT_FALSE(player.LoadModule()) << module;
        EXPECT_FALSE(player.Initialized()) << module;
        EXPECT_FALSE(player.Open()) << module;
        EXPECT_FALSE(player.PlayerMode().has_value()) << module;
    }

    // The good plug-in still loads after all that, and reads a track through the PC's file system too.
    ASSERT_TRUE(LoadAndOpen("music1.mp3")) << player.LastError();
    player.InputMode = TInputMode::imStream;
    player.InputName = "D:\\cut.mp3";
    ASSERT_TRUE(player.Open() && player.InitStream()) << player.LastError();
    ASSERT_TRUE(player.Play());
    backend_.AdvanceClock(1200);
    EXPECT_EQ(Mode(), kPlayerEnded);
    player.InputName = "D:\\music1.mp3";
    ASSERT_TRUE(player.Open() && player.InitStream()) << player.LastError();
    ASSERT_TRUE(player.Play());
    backend_.AdvanceClock(1999);
    EXPECT_EQ(Mode(), kPlayerPlaying);
    backend_.AdvanceClock(1);
    EXPECT_EQ(Mode(), kPlayerEnded);
    player.InputName = "D:\\missing.mp3";
    EXPECT_FALSE(player.Open());
    EXPECT_EQ(player.LastError(), kEsNoInput);
    // And back to the plug-in's own reading.
    player.InputMode = TInputMode::imFile;
    player.InputName = "D:\\music1.mp3";
    ASSERT_TRUE(player.Open() && player.InitStream()) << player.LastError();
    ASSERT_TRUE(player.Play());
    backend_.AdvanceClock(2000);
    EXPECT_EQ(Mode(), kPlayerEnded);
}

TEST_F(PlayerTest, TheFormMakesPlayersFromItsStoredCollection) {
    FormCollectionItem item;
    item.properties = {
        {"InputMode", FormValue::Ident("imFile")}, {"OutputMode", FormValue::Ident("omWaveFile")},
        {"StartPos", FormValue::Int(250)},         {"EndPos", FormValue::Int(1500)},
        {"Priority", FormValue::Int(2)},           {"BuffersCount", FormValue::Int(4)},
        {"BufferSize", FormValue::Int(8192)},      {"OutputDevNum", FormValue::Int(0)},
        {"UseEqualizer", FormValue::Bool(true)},   {"Volume", FormValue::Int(3)}};
    FormCollectionItem bad;
    bad.properties = {{"InputMode", FormValue::Ident("imTape")}, {"EndPos", FormValue::Str("late")}};
    FormObject man;
    man.class_name = "TElPlayerMan";
    man.name = "ElPlayerMan1";
    man.properties = {{"Players", FormValue{FormCollection{{item, bad}}}}};
    FormObject root;
    root.class_name = "TForm1";
    root.name = "Form1";
    root.children = {man};

    Application app{backend_};
    FontResolver fonts{posix_.fonts()};
    ComponentFactory factory = ComponentFactory::Standard();
    RegisterPlayerClasses(factory, posix_.platform(), backend_);
    const FormLoadResult loaded =
        LoadSkinForm(root, factory, SkinServices{app, fonts}, CompressorRegistry::WithStandardCompressors());
    ASSERT_NE(loaded.form, nullptr);
    auto* players = loaded.form->Find<TElPlayerMan>("ElPlayerMan1");
    ASSERT_NE(players, nullptr);
    ASSERT_EQ(players->Players().size(), 2u);
    const TElPlayer& first = *players->Players()[0];
    EXPECT_EQ(first.OutputMode, TOutputMode::omWaveFile);
    EXPECT_EQ(first.StartPos, 250);
    EXPECT_EQ(first.EndPos, 1500);
    EXPECT_EQ(first.Priority, 2);
    EXPECT_EQ(first.BuffersCount, 4);
    EXPECT_EQ(first.BufferSize, 8192);
    EXPECT_TRUE(first.UseEqualizer);
    const TElPlayer& second = *players->Players()[1];
    EXPECT_EQ(second.InputMode, TInputMode::imFile);
    EXPECT_EQ(second.EndPos, 0);
    // The two bad values are errors; the unknown setting is a warning.
    EXPECT_EQ(loaded.errors.size(), 2u);
    ASSERT_EQ(loaded.warnings.size(), 1u);
    EXPECT_NE(loaded.warnings[0].find("Volume"), std::string::npos);

    // The stored settings reach the plug-in: a wave-file output and an equaliser it does not have.
    TElPlayer& stored = *players->Players()[0];
    stored.ModuleName = "D:\\elamp.esp";
    stored.InputName = "D:\\music1.mp3";
    ASSERT_TRUE(stored.LoadModule());
    EXPECT_FALSE(stored.Open());
    EXPECT_EQ(stored.LastError(), kEsBadArgument);
    stored.OutputMode = TOutputMode::omMMSystem;
    ASSERT_TRUE(stored.Open());
    EXPECT_FALSE(stored.InitStream());
    stored.UseEqualizer = false;
    ASSERT_TRUE(stored.InitStream());
    // StartPos 250 and EndPos 1500: 1250 ms of sound.
    ASSERT_TRUE(stored.Play());
    backend_.AdvanceClock(1249);
    EXPECT_EQ(stored.PlayerMode(), kPlayerPlaying);
    backend_.AdvanceClock(1);
    EXPECT_EQ(stored.PlayerMode(), kPlayerEnded);
}

// SDL's audio thread pulls while the program pauses and closes: no pull after close, none while paused.
TEST(SdlAudioTest, PullsOnItsOwnThreadUntilPausedOrClosed) {
    ASSERT_EQ(setenv("SDL_AUDIODRIVER", "dummy", 1), 0);
    std::atomic<uint64_t> pulled{0};
    std::unique_ptr<AudioStream> stream = OpenSdlAudio({kRate, 2}, [&](int16_t* samples, size_t frames) {
        std::fill_n(samples, frames * 2, int16_t{1000});
        pulled += frames;
    });
    ASSERT_NE(stream, nullptr) << SDL_GetError();
    EXPECT_TRUE(stream->Paused());
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(pulled.load(), 0u) << "a stream opens paused";
    stream->Resume();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (pulled.load() < kRate / 4 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_GE(pulled.load(), static_cast<uint64_t>(kRate / 4));
    stream->Pause();
    std::this_thread::sleep_for(std::chrono::milliseconds(50)); // a pull under way ends
    const uint64_t at_pause = pulled.load();
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_EQ(pulled.load(), at_pause);
    stream->Resume();
    stream.reset();
    const uint64_t at_close = pulled.load();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(pulled.load(), at_close);

    // A machine without sound: no stream, and the caller stays silent.
    ASSERT_EQ(setenv("SDL_AUDIODRIVER", "no-such-driver", 1), 0);
    EXPECT_EQ(OpenSdlAudio({kRate, 2}, [](int16_t*, size_t) {}), nullptr);
    unsetenv("SDL_AUDIODRIVER");
}

} // namespace
} // namespace kavlo
