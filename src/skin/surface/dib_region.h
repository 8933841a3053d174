#pragma once

#include <span>
#include <utility>
#include <vector>

#include "skin/surface/skin_types.h"

namespace kavlo {

// A set of pixels kept as Windows keeps a region: horizontal bands from top to bottom, each a sorted
// list of disjoint spans, touching bands with the same spans merged into one.
class TRegion {
public:
    TRegion() = default;
    // The union of any rectangles (overlapping, touching or empty ones).
    static TRegion FromRects(std::span<const Rect> rects);

    // OR with another region.
    void Unite(const TRegion& other);
    void Offset(int dx, int dy);

    bool Empty() const { return bands_.empty(); }
    bool Contains(int x, int y) const;
    // The region as disjoint rectangles, top to bottom, left to right (one per span and band).
    std::vector<Rect> Rects() const;
    size_t RectCount() const;
    bool operator==(const TRegion&) const = default;

private:
    using Span = std::pair<int, int>; // [left, right)
    struct Band {
        int top = 0;
        int bottom = 0;
        std::vector<Span> spans;
        bool operator==(const Band&) const = default;
    };

    static std::vector<Span> MergeSpans(std::vector<Span> spans);
    void AppendBand(int top, int bottom, std::vector<Span> spans);
    const Band* BandAt(size_t& cursor, int y) const;

    std::vector<Band> bands_;
};

} // namespace kavlo
