#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "skin/controls/dib_site.h"
#include "skin/controls/form_control.h"
#include "skin/formats/avi.h"
#include "skin/surface/dib.h"

namespace kavlo {

// Where a control finds the program's clips by resource name; an empty span when there is none.
using ClipSource = std::function<std::span<const uint8_t>(std::string_view name)>;

// What opening or playing a clip that cannot be read reports.
inline constexpr std::string_view kCannotOpenAvi = "Cannot open AVI";

// The window an AVI clip plays in (Delphi's TAnimate). A clip is opened by resource name from the
// source its owner gives it and played on a window-message timer at the clip's frame rate, each frame
// drawn through the form's surface. Transparent (the default) it leaves out the clip's background (the
// colour of its bottom-left pixel) and lets the form show through; opaque it fills itself with its
// colour first. A hidden control plays nothing.
class TAnimate : public TFormControl {
public:
    explicit TAnimate(Application& app);

    bool Windowed() const override { return true; }

    void SetClipSource(ClipSource source) { source_ = std::move(source); }
    bool HasClipSource() const { return static_cast<bool>(source_); }

    // Closes the open clip and opens the named one, showing its first frame: StartFrame 1, StopFrame
    // its frame count, its size when AutoSize is on, then OnOpen. Empty on success, else
    // kCannotOpenAvi (the control then has no clip open). An empty name only closes.
    const std::string& ClipName() const { return clip_name_; }
    std::string SetClipName(std::string name);
    bool Open() const { return clip_.has_value(); }
    // Why the last open failed, for whoever wants the details; empty after a good open.
    const std::string& OpenError() const { return open_error_; }
    // The open clip's frame count, width and height as its main header gives them; 0 when closed.
    int FrameCount() const { return frame_count_; }
    // The frame shown, from 1; 0 when no clip is open.
    int Frame() const { return shown_frame_; }

    // True plays StartFrame ... StopFrame Repetitions times (0: endlessly), opening the clip first if
    // needed; false stops. Asking a playing control again changes nothing. Empty on success, else
    // kCannotOpenAvi with Active left false. A hidden control opens its clip but does not play.
    bool Active() const { return active_; }
    std::string SetActive(bool active);
    int Repetitions() const { return repetitions_; }
    void SetRepetitions(int repetitions) { repetitions_ = std::max(repetitions, 0); }
    int StartFrame() const { return start_frame_; }
    void SetStartFrame(int frame) { start_frame_ = std::max(frame, 1); }
    int StopFrame() const { return stop_frame_; }
    void SetStopFrame(int frame) { stop_frame_ = std::max(frame, 0); }

    bool Center() const { return center_; }
    void SetCenter(bool center);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool transparent);
    bool AutoSize() const { return auto_size_; }
    void SetAutoSize(bool auto_size);
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    Rect OpaqueRect() const override;

    std::function<void(TControl& sender)> OnOpen;
    std::function<void(TControl& sender)> OnStart;
    std::function<void(TControl& sender)> OnStop;
    std::function<void(TControl& sender)> OnClose;

protected:
    void DrawPart(TWinDIB& surface, const Rect& part) override;
    void Loaded() override;

private:
    std::string OpenClip();
    void CloseClip();
    // Drops the clip without a word to the owner.
    void Forget();
    // Decodes frame `frame` (from 1) into the picture and repaints; false when it cannot be decoded.
    bool ShowFrame(int frame);
    void Tick();
    void Stop();
    void AdjustSize();
    // Where the clip's top-left corner lies, in the parent's coordinates.
    int ClipLeft() const;
    int ClipTop() const;
    int FirstFrame() const;
    int LastFrame() const;

    std::optional<AviClip> clip_;
    std::optional<AviFrameDecoder> decoder_;
    TMemoryDIB picture_;
    std::vector<uint32_t> pixels_;
    ClipSource source_;
    TimerHandle timer_;
    std::string clip_name_;
    std::string open_error_;
    int frame_count_ = 0;
    int shown_frame_ = 0;
    int repetitions_ = 0;
    int start_frame_ = 1;
    int stop_frame_ = 0;
    int plays_done_ = 0;
    bool active_ = false;
    bool center_ = true;
    bool transparent_ = true;
    bool auto_size_ = true;
    bool stored_active_ = false;
    TColor color_ = 0x8000000F; // clBtnFace
};

} // namespace kavlo
