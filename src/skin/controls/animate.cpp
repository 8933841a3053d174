#include "skin/controls/animate.h"

#include <algorithm>
#include <cmath>

#include "skin/controls/dib_image.h"

namespace kavlo {

TAnimate::TAnimate(Application& app) : timer_(app, TimerHandle::Kind::DIBTimer) {
    timer_.SetOnTimer([this] { Tick(); });
}

std::string TAnimate::SetClipName(std::string name) {
    CloseClip();
    clip_name_ = std::move(name);
    // While the form is read the owner has not given the clip source yet; Active opens it later.
    if (clip_name_.empty() || Loading()) {
        return {};
    }
    return OpenClip();
}

std::string TAnimate::OpenClip() {
    const std::span<const uint8_t> bytes = source_ ? source_(clip_name_) : std::span<const uint8_t>{};
    if (bytes.empty()) {
        open_error_ = "no clip named " + clip_name_;
        return std::string(kCannotOpenAvi);
    }
    AviResult read = ReadAvi({reinterpret_cast<const char*>(bytes.data()), bytes.size()});
    if (!read) {
        open_error_ = read.error;
        return std::string(kCannotOpenAvi);
    }
    clip_ = std::move(read.clip);
    decoder_.emplace(*clip_);
    // The header's count, unless the file holds fewer frames than it claims.
    frame_count_ = static_cast<int>(
        std::min<uint32_t>(clip_->header_total_frames, static_cast<uint32_t>(clip_->frame_count)));
    picture_.SetSize(static_cast<uint16_t>(clip_->width), static_cast<uint16_t>(clip_->height));
    picture_.SetTransparentMode(TTransparentMode::tmAuto);
    picture_.SetTransparent(transparent_);
    if (frame_count_ == 0 || !ShowFrame(1)) {
        open_error_ = frame_count_ == 0 ? "the clip has no frames" : "the first frame cannot be decoded";
        Forget();
        return std::string(kCannotOpenAvi);
    }
    open_error_.clear();
    start_frame_ = 1;
    stop_frame_ = frame_count_;
    AdjustSize();
    Invalidate();
    if (OnOpen) {
        OnOpen(*this);
    }
    return {};
}

void TAnimate::CloseClip() {
    if (!clip_) {
        return;
    }
    Stop();
    Forget();
    if (OnClose) {
        OnClose(*this);
    }
}

void TAnimate::Forget() {
    decoder_.reset();
    clip_.reset();
    picture_.SetSize(0, 0);
    frame_count_ = 0;
    shown_frame_ = 0;
    Invalidate();
}

std::string TAnimate::SetActive(bool active) {
    if (Loading()) {
        stored_active_ = active;
        return {};
    }
    if (!active) {
        Stop();
        return {};
    }
    if (active_) {
        return {};
    }
    if (!clip_) {
        if (clip_name_.empty()) {
            open_error_ = "no clip";
            return std::string(kCannotOpenAvi);
        }
        std::string error = OpenClip();
        if (!error.empty()) {
            return error;
        }
    }
    if (!Visible()) {
        return {};
    }
    plays_done_ = 0;
    if (!ShowFrame(FirstFrame())) {
        return std::string(kCannotOpenAvi);
    }
    const uint32_t interval =
        std::max<uint32_t>(1, static_cast<uint32_t>(std::lround(clip_->micro_sec_per_frame / 1000.0)));
    timer_.SetInterval(interval);
    if (!timer_.SetEnabled(true)) {
        return std::string(kCannotOpenAvi);
    }
    active_ = true;
    if (OnStart) {
        OnStart(*this);
    }
    return {};
}

void TAnimate::Stop() {
    timer_.SetEnabled(false);
    if (!active_) {
        return;
    }
    active_ = false;
    if (OnStop) {
        OnStop(*this);
    }
}

int TAnimate::FirstFrame() const {
    return std::clamp(start_frame_, 1, std::max(frame_count_, 1));
}

int TAnimate::LastFrame() const {
    return std::clamp(stop_frame_, FirstFrame(), std::max(frame_count_, 1));
}

// One frame time has passed: the next frame, the next repetition, or the end (on the last frame).
void TAnimate::Tick() {
    if (!active_ || !Visible()) {
        Stop();
        return;
    }
    int next = shown_frame_ + 1;
    if (next > LastFrame()) {
        ++plays_done_;
        if (repetitions_ != 0 && plays_done_ >= repetitions_) {
            Stop();
            return;
        }
        next = FirstFrame();
    }
    if (!ShowFrame(next)) {
        Stop();
    }
}

bool TAnimate::ShowFrame(int frame) {
    if (!decoder_ || !decoder_->Seek(frame - 1).empty()) {
        return false;
    }
    decoder_->ToPixels(pixels_);
    std::copy(pixels_.begin(), pixels_.end(), picture_.Bits());
    shown_frame_ = frame;
    const int left = ClipLeft();
    const int top = ClipTop();
    if (Visible() && Parent() != nullptr) {
        Parent()->InvalidateRect(
            Intersect(Rect{left, top, left + picture_.Width(), top + picture_.Height()}, BoundsRect()));
    }
    return true;
}

void TAnimate::SetCenter(bool center) {
    if (center != center_) {
        center_ = center;
        Invalidate();
    }
}

void TAnimate::SetTransparent(bool transparent) {
    transparent_ = transparent;
    picture_.SetTransparent(transparent);
    Invalidate();
}

void TAnimate::SetAutoSize(bool auto_size) {
    auto_size_ = auto_size;
    AdjustSize();
}

void TAnimate::SetColor(TColor color) {
    color_ = color;
    Invalidate();
}

void TAnimate::AdjustSize() {
    if (auto_size_ && clip_) {
        SetBounds(Left(), Top(), clip_->width, clip_->height);
    }
}

int TAnimate::ClipLeft() const {
    return Left() + (center_ && clip_ ? (Width() - clip_->width) / 2 : 0);
}

int TAnimate::ClipTop() const {
    return Top() + (center_ && clip_ ? (Height() - clip_->height) / 2 : 0);
}

Rect TAnimate::OpaqueRect() const {
    return transparent_ ? Rect{} : BoundsRect();
}

void TAnimate::DrawPart(TWinDIB& surface, const Rect& part) {
    if (!transparent_) {
        surface.FillRect(part, ColorToRGB(color_));
    }
    if (!picture_.Empty()) {
        DrawImageClipped(picture_, surface, ClipLeft(), ClipTop(), Intersect(part, BoundsRect()));
    }
}

void TAnimate::Loaded() {
    if (stored_active_) {
        stored_active_ = false;
        SetActive(true);
    }
}

} // namespace kavlo
