#pragma once

#include <string>
#include <vector>

#include "skin/controls/dib_control.h"
#include "skin/controls/dib_site.h"
#include "skin/text/label_text.h"

namespace kavlo {

// A text label whose colour turns to ColorHighlighted at once when the pointer enters (or it gets the
// DIB focus) and fades back to the font colour over FrameCount ticks of FrameDelay ms when it leaves.
class TDIBFadeLabel : public TDIBControl, public LabelText {
public:
    explicit TDIBFadeLabel(TDIBContainer& container);

    TColor ColorHighlighted() const { return color_highlighted_; }
    void SetColorHighlighted(TColor color);
    int FrameCount() const { return frame_count_; }
    void SetFrameCount(int count);
    uint32_t FrameDelay() const { return frame_delay_ms_; }
    void SetFrameDelay(uint32_t delay_ms);

    // The colour the text is drawn in now.
    TColor CurrentColor() const { return current_color_; }
    // FrameCount colours from just past the font colour up to the highlight; empty below 2 frames.
    // Computed when asked rather than kept: a stored FrameCount may be any int.
    std::vector<TColor> FadeTable() const;
    bool Fading() const { return timer_.Active(); }

    void MouseEnter() override;
    void MouseLeave() override;

protected:
    void DrawContent(TWinDIB& work, int origin_x, int origin_y) override;
    bool DrawDirect(TWinDIB& surface, const Rect& part) override;
    void TextChanged(TextChange change) override;
    TColor ParentsColor() const override;
    void FocusChanged(bool focused) override;
    void BoundsChanged() override { AdjustSize(); }

private:
    void Highlight();
    void FadeBack();
    void Tick();
    void SetCurrentColor(TColor color);
    // Entry i of the fade table, 0 <= i < FrameCount.
    TColor FadeColor(int i) const;
    void AdjustSize();
    void Draw(TWinDIB& target, int x, int y, const Rect& clip);

    TColor color_highlighted_ = 0xFFFFFF; // clWhite
    int frame_count_ = 10;
    uint32_t frame_delay_ms_ = 50;

    TColor current_color_ = 0x80000008;
    int countdown_ = 0;
    bool pointer_inside_ = false;
    TimerHandle timer_;
};

} // namespace kavlo
