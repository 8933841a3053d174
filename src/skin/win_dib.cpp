#include "skin/win_dib.h"

#include <algorithm>

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
    const ConstPixelView src{picture.pixels.data(), picture.width, picture.height};
    DrawClipped(RowRoutineFor(DrawRoutine::PlainCopy), DrawParams{}, src, View(), *clip);
}

} // namespace kavlo
