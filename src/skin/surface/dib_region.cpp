#include "skin/surface/dib_region.h"

#include <algorithm>

namespace kavlo {

std::vector<TRegion::Span> TRegion::MergeSpans(std::vector<Span> spans) {
    std::sort(spans.begin(), spans.end());
    std::vector<Span> merged;
    for (const Span& span : spans) {
        if (span.first >= span.second) {
            continue;
        }
        if (!merged.empty() && span.first <= merged.back().second) {
            merged.back().second = std::max(merged.back().second, span.second);
        } else {
            merged.push_back(span);
        }
    }
    return merged;
}

void TRegion::AppendBand(int top, int bottom, std::vector<Span> spans) {
    if (spans.empty() || top >= bottom) {
        return;
    }
    if (!bands_.empty() && bands_.back().bottom == top && bands_.back().spans == spans) {
        bands_.back().bottom = bottom;
        return;
    }
    bands_.push_back(Band{top, bottom, std::move(spans)});
}

namespace {

std::vector<int> Edges(std::vector<int> edges) {
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
    return edges;
}

} // namespace

TRegion TRegion::FromRects(std::span<const Rect> rects) {
    std::vector<Rect> sorted;
    std::vector<int> edges;
    for (const Rect& r : rects) {
        if (!r.Empty()) {
            sorted.push_back(r);
            edges.push_back(r.top);
            edges.push_back(r.bottom);
        }
    }
    std::sort(sorted.begin(), sorted.end(), [](const Rect& a, const Rect& b) { return a.top < b.top; });
    edges = Edges(std::move(edges));
    TRegion region;
    // Sweep the bands: a rectangle is active from its top edge until its bottom.
    std::vector<const Rect*> active;
    size_t next = 0;
    for (size_t i = 0; i + 1 < edges.size(); ++i) {
        const int top = edges[i];
        const int bottom = edges[i + 1];
        std::erase_if(active, [top](const Rect* r) { return r->bottom <= top; });
        while (next < sorted.size() && sorted[next].top <= top) {
            active.push_back(&sorted[next++]);
        }
        std::vector<Span> spans;
        spans.reserve(active.size());
        for (const Rect* r : active) {
            spans.emplace_back(r->left, r->right);
        }
        region.AppendBand(top, bottom, MergeSpans(std::move(spans)));
    }
    return region;
}

const TRegion::Band* TRegion::BandAt(size_t& cursor, int y) const {
    while (cursor < bands_.size() && bands_[cursor].bottom <= y) {
        ++cursor;
    }
    if (cursor < bands_.size() && bands_[cursor].top <= y) {
        return &bands_[cursor];
    }
    return nullptr;
}

void TRegion::Unite(const TRegion& other) {
    if (other.Empty()) {
        return;
    }
    if (Empty()) {
        bands_ = other.bands_;
        return;
    }
    std::vector<int> edges;
    for (const TRegion* region : {static_cast<const TRegion*>(this), &other}) {
        for (const Band& band : region->bands_) {
            edges.push_back(band.top);
            edges.push_back(band.bottom);
        }
    }
    edges = Edges(std::move(edges));
    TRegion result;
    size_t mine = 0;
    size_t theirs = 0;
    for (size_t i = 0; i + 1 < edges.size(); ++i) {
        std::vector<Span> spans;
        if (const Band* band = BandAt(mine, edges[i])) {
            spans = band->spans;
        }
        if (const Band* band = other.BandAt(theirs, edges[i])) {
            spans.insert(spans.end(), band->spans.begin(), band->spans.end());
        }
        result.AppendBand(edges[i], edges[i + 1], MergeSpans(std::move(spans)));
    }
    bands_ = std::move(result.bands_);
}

void TRegion::Offset(int dx, int dy) {
    for (Band& band : bands_) {
        band.top += dy;
        band.bottom += dy;
        for (Span& span : band.spans) {
            span.first += dx;
            span.second += dx;
        }
    }
}

bool TRegion::Contains(int x, int y) const {
    for (const Band& band : bands_) {
        if (y < band.top || y >= band.bottom) {
            continue;
        }
        for (const Span& span : band.spans) {
            if (x >= span.first && x < span.second) {
                return true;
            }
        }
        return false;
    }
    return false;
}

std::vector<Rect> TRegion::Rects() const {
    std::vector<Rect> rects;
    rects.reserve(RectCount());
    for (const Band& band : bands_) {
        for (const Span& span : band.spans) {
            rects.push_back(Rect{span.first, band.top, span.second, band.bottom});
        }
    }
    return rects;
}

size_t TRegion::RectCount() const {
    size_t count = 0;
    for (const Band& band : bands_) {
        count += band.spans.size();
    }
    return count;
}

} // namespace kavlo
