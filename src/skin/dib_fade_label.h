#pragma once

#include <string>
#include <vector>

#include "skin/dib_control.h"
#include "skin/dib_site.h"
#include "skin/text.h"

namespace kavlo {

enum class TAlignment : uint8_t { taLeftJustify, taRightJustify, taCenter };
enum class TTextLayout : uint8_t { tlTop, tlCenter, tlBottom };

// The DrawText flags of a label's alignment, layout, word wrap and accelerator settings.
unsigned LabelTextFlags(TAlignment alignment, TTextLayout layout, bool word_wrap, bool show_accel_char);

// A text label whose colour turns to ColorHighlighted at once when the pointer enters (or it gets the
// DIB focus) and fades back to the font colour over FrameCount ticks of FrameDelay ms when it leaves.
class TDIBFadeLabel : public TDIBControl {
public:
    explicit TDIBFadeLabel(TDIBContainer& container);

    const std::string& Caption() const { return caption_; }
    void SetCaption(std::string caption);
    const FontSpec& Font() const { return font_; }
    void SetFont(FontSpec font);
    TColor FontColor() const { return font_color_; }
    void SetFontColor(TColor color);
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment);
    TTextLayout Layout() const { return layout_; }
    void SetLayout(TTextLayout layout);
    bool WordWrap() const { return word_wrap_; }
    void SetWordWrap(bool word_wrap);
    // The control takes the size of its text.
    bool AutoSize() const { return auto_size_; }
    void SetAutoSize(bool auto_size);
    // Without Transparent the label fills its rectangle with Color first.
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool transparent);
    bool ShowAccelChar() const { return show_accel_char_; }
    void SetShowAccelChar(bool show);
    TColor ColorHighlighted() const { return color_highlighted_; }
    void SetColorHighlighted(TColor color);
    int FrameCount() const { return frame_count_; }
    void SetFrameCount(int count);
    uint32_t FrameDelay() const { return frame_delay_ms_; }
    void SetFrameDelay(uint32_t delay_ms);

    // The colour the text is drawn in now.
    TColor CurrentColor() const { return current_color_; }
    // FrameCount colours from just past the font colour up to the highlight; empty below 2 frames.
    const std::vector<TColor>& FadeTable() const { return fade_table_; }
    bool Fading() const { return timer_.Active(); }

    void MouseEnter() override;
    void MouseLeave() override;

protected:
    void DrawContent(TWinDIB& work, int origin_x, int origin_y) override;
    void FocusChanged(bool focused) override;
    void BoundsChanged() override { AdjustSize(); }

private:
    void Highlight();
    void FadeBack();
    void Tick();
    void SetCurrentColor(TColor color);
    void RebuildTable();
    void AdjustSize();
    unsigned TextFlags() const;

    std::string caption_;
    FontSpec font_{.name = "MS Sans Serif", .height = -11};
    TColor font_color_ = 0x80000008; // clWindowText
    TColor color_ = 0x8000000F;      // clBtnFace
    TAlignment alignment_ = TAlignment::taLeftJustify;
    TTextLayout layout_ = TTextLayout::tlTop;
    bool word_wrap_ = false;
    bool auto_size_ = false;
    bool transparent_ = false;
    bool show_accel_char_ = true;
    TColor color_highlighted_ = 0xFFFFFF; // clWhite
    int frame_count_ = 10;
    uint32_t frame_delay_ms_ = 50;

    TColor current_color_ = 0x80000008;
    std::vector<TColor> fade_table_;
    int countdown_ = 0;
    bool pointer_inside_ = false;
    TimerHandle timer_;
};

} // namespace kavlo
