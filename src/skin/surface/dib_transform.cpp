#include "skin/surface/dib_transform.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "skin/surface/dib.h"
#include "skin/surface/win_dib.h"

namespace kavlo {

namespace {

struct Turn {
    long double cos = 1;
    long double sin = 0;
};

// Right angles get exact values, so that a quarter turn maps pixel centres onto pixel centres
// instead of landing a rounding error away from a pixel edge.
Turn TurnFor(int angle_deg) {
    const int normal = ((angle_deg % 360) + 360) % 360;
    switch (normal) {
        case 0:
            return {1, 0};
        case 90:
            return {0, 1};
        case 180:
            return {-1, 0};
        case 270:
            return {0, -1};
        default: {
            const long double radians = normal * std::numbers::pi_v<long double> / 180;
            return {std::cos(radians), std::sin(radians)};
        }
    }
}

int RoundedExtent(long double value) {
    constexpr long double kLimit = 1 << 30; // far beyond any surface; keeps the int conversion defined
    if (!std::isfinite(value)) {
        return 0;
    }
    return static_cast<int>(std::llround(std::min(std::fabs(value), kLimit)));
}

// Maps pixel centres of the bounding box back into the source image (inverse turn, then inverse
// scale), relative to the centres of both.
class InverseMap {
public:
    InverseMap(const TAbstractSuperDIB& src, int width, int height, Extent box)
        : turn_(TurnFor(src.Angle())), fx_(src.ScaleX() / 100), fy_(src.ScaleY() / 100), width_(width),
          height_(height), half_box_x_(box.width / 2.0L), half_box_y_(box.height / 2.0L) {}

    // True with the source pixel for bounding-box pixel (bx, by) when it falls inside the image.
    bool Source(int bx, int by, int& sx, int& sy) const {
        const long double u = bx + 0.5L - half_box_x_;
        const long double v = by + 0.5L - half_box_y_;
        const long double x = (u * turn_.cos - v * turn_.sin) / fx_ + width_ / 2.0L;
        const long double y = (u * turn_.sin + v * turn_.cos) / fy_ + height_ / 2.0L;
        if (!(x >= 0 && x < width_ && y >= 0 && y < height_)) {
            return false;
        }
        sx = static_cast<int>(x);
        sy = static_cast<int>(y);
        return true;
    }

private:
    Turn turn_;
    long double fx_;
    long double fy_;
    int width_;
    int height_;
    long double half_box_x_;
    long double half_box_y_;
};

struct Run {
    int row = 0;
    int left = 0;
    int right = 0;
};

// The temporary surface carries the settings the final draw needs; the key is fixed because the
// bottom-left pixel of the turned image is no longer the source's.
void TakeDrawSettings(const TAbstractSuperDIB& src, TAbstractSuperDIB& temp) {
    temp.SetMasked(src.Masked());
    temp.SetOpacity(src.Opacity());
    temp.SetTransparent(src.Transparent());
    temp.SetTransparentColor(src.TransparentColor());
    temp.SetTransparentMode(TTransparentMode::tmFixed);
}

// Renders the visible part `visible` (destination coordinates) of the bounding box at (x, y) into
// `temp`, returning the runs of pixels that come from the image.
std::vector<Run> Render(const TAbstractSuperDIB& src, const Rect& src_rect, const InverseMap& map, int x,
                        int y, const Rect& visible, TAbstractSuperDIB& temp) {
    std::vector<Run> runs;
    for (int row = 0; row < visible.Height(); ++row) {
        uint32_t* line = temp.ScanLine(row);
        const int by = visible.top + row - y;
        int run_start = -1;
        for (int col = 0; col <= visible.Width(); ++col) {
            int sx = 0;
            int sy = 0;
            const bool inside = col < visible.Width() && map.Source(visible.left + col - x, by, sx, sy) &&
                                src_rect.left + sx < src.Width() && src_rect.top + sy < src.Height() &&
                                src_rect.left + sx >= 0 && src_rect.top + sy >= 0;
            if (inside) {
                line[col] = src.Pixel(src_rect.left + sx, src_rect.top + sy);
                if (run_start < 0) {
                    run_start = col;
                }
            } else if (run_start >= 0) {
                runs.push_back(Run{row, run_start, col});
                run_start = -1;
            }
        }
    }
    return runs;
}

} // namespace

Extent TransformedSize(int width, int height, int angle_deg, long double scale_x, long double scale_y) {
    const Turn turn = TurnFor(angle_deg);
    const long double w = width * scale_x / 100;
    const long double h = height * scale_y / 100;
    return Extent{RoundedExtent(std::fabs(w * turn.cos) + std::fabs(h * turn.sin)),
                  RoundedExtent(std::fabs(w * turn.sin) + std::fabs(h * turn.cos))};
}

void DrawTransformed(const TAbstractSuperDIB& src, TAbstractSuperDIB& dest, int x, int y,
                     const Rect& src_rect) {
    const int width = std::max(src_rect.Width(), 0);
    const int height = std::max(src_rect.Height(), 0);
    if (width == 0 || height == 0 || src.ScaleX() == 0 || src.ScaleY() == 0) {
        return;
    }
    const Extent box = TransformedSize(width, height, src.Angle(), src.ScaleX(), src.ScaleY());
    const int64_t box_right = int64_t{x} + box.width;
    const int64_t box_bottom = int64_t{y} + box.height;
    const Rect visible{std::max(x, 0), std::max(y, 0),
                       static_cast<int>(std::min<int64_t>(box_right, dest.Width())),
                       static_cast<int>(std::min<int64_t>(box_bottom, dest.Height()))};
    if (visible.Width() < 1 || visible.Height() < 1) {
        return;
    }
    TWinDIB temp(static_cast<uint16_t>(visible.Width()), static_cast<uint16_t>(visible.Height()));
    TakeDrawSettings(src, temp);
    const InverseMap map(src, width, height, box);
    const std::vector<Run> runs = Render(src, src_rect, map, x, y, visible, temp);
    const RowRoutine routine = RowRoutineFor(temp.Routine());
    const DrawParams params{temp.Opacity(), temp.TransparentKey()};
    for (const Run& run : runs) {
        routine(temp.ScanLine(run.row) + run.left,
                dest.ScanLine(visible.top + run.row) + visible.left + run.left, run.right - run.left, params);
    }
}

} // namespace kavlo
