#include "skin/surface/win_dib.h"

#include <algorithm>

#include "skin/surface/dib_draw.h"

namespace kavlo {

void TWinDIB::FillRect(const Rect& rect, TColor color) {
    const Rect area = Intersect(rect, Rect{0, 0, Width(), Height()});
    const uint32_t pixel = PixelFromColor(color & 0x00FFFFFFu);
    for (int y = area.top; y < area.bottom; ++y) {
        uint32_t* row = ScanLine(y);
        std::fill(row + area.left, row + area.right, pixel);
    }
}

void TWinDIB::DrawPicture(int x, int y, const Picture& picture) {
    if (picture.pixels.size() != static_cast<size_t>(picture.width) * picture.height) {
        return;
    }
    const auto clip = ClipDraw(picture.width, picture.height, Rect{0, 0, picture.width, picture.height},
                               Width(), Height(), x, y);
    if (!clip) {
        return;
    }
    const ConstDibRows src{picture.pixels.data(), picture.width, picture.height};
    DrawClipped(RowRoutineFor(DrawRoutine::PlainCopy), DrawParams{}, src, View(), *clip);
}

Rect TWinDIB::DrawText(FontResolver& fonts, const Rect& rect, std::string_view text, const FontSpec& font,
                       TColor color, unsigned flags) {
    const TextMask mask = Render(fonts, font, text, rect, flags);
    if ((flags & kDtCalcRect) == 0) {
        DrawTextMask(mask, 0, 0, color, Rect{0, 0, Width(), Height()});
    }
    return mask.box;
}

void TWinDIB::DrawTextMask(const TextMask& mask, int dx, int dy, TColor color, const Rect& clip) {
    const int mask_width = mask.box.Width();
    const int mask_height = std::max(mask.box.Height(), 0);
    if (mask.coverage.size() != static_cast<size_t>(mask_width) * static_cast<size_t>(mask_height) ||
        mask.ink.size() != static_cast<size_t>(mask_height)) {
        return;
    }
    const int left = mask.box.left + dx;
    const int top = mask.box.top + dy;
    const Rect area = Intersect(Intersect(Rect{left, top, left + mask_width, top + mask_height}, clip),
                                Rect{0, 0, Width(), Height()});
    const uint32_t color_rgb = PixelFromColor(color & 0x00FFFFFFu);
    for (int y = area.top; y < area.bottom; ++y) {
        const TextMask::Ink& ink = mask.ink[static_cast<size_t>(y - top)];
        const int from = std::max(area.left, left + ink.first);
        const int to = std::min(area.right, left + ink.last);
        if (from < to) {
            const uint8_t* coverage = mask.coverage.data() + static_cast<size_t>(y - top) * mask_width;
            CoverRow(ScanLine(y) + from, coverage + (from - left), to - from, color_rgb);
        }
    }
}

} // namespace kavlo
