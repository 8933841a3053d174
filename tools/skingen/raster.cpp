#include "raster.h"

#include <algorithm>
#include <cmath>

namespace kavlo::skingen {

namespace {

constexpr int kSubRows = 16;

struct Edge {
    double x0, y0, x1, y1; // y0 < y1
    int winding;
};

struct Crossing {
    double x;
    int winding;
};

std::vector<Edge> CollectEdges(const Path& path) {
    std::vector<Edge> edges;
    for (const auto& contour : path.contours) {
        for (size_t i = 0; i < contour.size(); ++i) {
            Vec2 p = contour[i];
            Vec2 q = contour[(i + 1) % contour.size()];
            if (p.y == q.y) {
                continue;
            }
            if (p.y < q.y) {
                edges.push_back({p.x, p.y, q.x, q.y, 1});
            } else {
                edges.push_back({q.x, q.y, p.x, p.y, -1});
            }
        }
    }
    std::sort(edges.begin(), edges.end(), [](const Edge& a, const Edge& b) { return a.y0 < b.y0; });
    return edges;
}

// Adds `weight` over [xa, xb) of the row, with the partial pixels at both ends.
void AddSpan(std::vector<float>& acc, double xa, double xb, float weight) {
    double w = static_cast<double>(acc.size());
    xa = std::clamp(xa, 0.0, w);
    xb = std::clamp(xb, 0.0, w);
    if (xb <= xa) {
        return;
    }
    int ia = static_cast<int>(xa);
    int ib = static_cast<int>(xb);
    if (ia == ib) {
        acc[ia] += static_cast<float>((xb - xa) * weight);
        return;
    }
    acc[ia] += static_cast<float>((ia + 1 - xa) * weight);
    for (int i = ia + 1; i < ib; ++i) {
        acc[i] += weight;
    }
    if (ib < static_cast<int>(acc.size())) {
        acc[ib] += static_cast<float>((xb - ib) * weight);
    }
}

bool Inside(int winding, FillRule rule) {
    return rule == FillRule::NonZero ? winding != 0 : (winding & 1) != 0;
}

} // namespace

Mask Rasterize(const Path& path, int width, int height, FillRule rule) {
    Mask mask(width, height);
    std::vector<Edge> edges = CollectEdges(path);
    if (edges.empty()) {
        return mask;
    }
    double top = edges.front().y0;
    double bottom = top;
    for (const Edge& e : edges) {
        bottom = std::max(bottom, e.y1);
    }
    int row0 = std::clamp(static_cast<int>(std::floor(top)), 0, height);
    int row1 = std::clamp(static_cast<int>(std::ceil(bottom)), 0, height);

    std::vector<float> acc(width);
    std::vector<const Edge*> active;
    std::vector<Crossing> crossings;
    size_t next = 0;
    for (int row = row0; row < row1; ++row) {
        std::fill(acc.begin(), acc.end(), 0.0f);
        for (int sub = 0; sub < kSubRows; ++sub) {
            double ys = row + (sub + 0.5) / kSubRows;
            while (next < edges.size() && edges[next].y0 <= ys) {
                active.push_back(&edges[next++]);
            }
            std::erase_if(active, [ys](const Edge* e) { return e->y1 <= ys; });
            crossings.clear();
            for (const Edge* e : active) {
                if (e->y0 <= ys) {
                    double t = (ys - e->y0) / (e->y1 - e->y0);
                    crossings.push_back({e->x0 + (e->x1 - e->x0) * t, e->winding});
                }
            }
            std::sort(crossings.begin(), crossings.end(),
                      [](const Crossing& a, const Crossing& b) { return a.x < b.x; });
            int winding = 0;
            for (size_t i = 0; i + 1 < crossings.size(); ++i) {
                winding += crossings[i].winding;
                if (Inside(winding, rule)) {
                    AddSpan(acc, crossings[i].x, crossings[i + 1].x, 1.0f / kSubRows);
                }
            }
        }
        float* out = mask.Row(row);
        for (int x = 0; x < width; ++x) {
            out[x] = std::min(acc[x], 1.0f);
        }
    }
    mask.SetBox(0, row0, width, row1);
    mask.Trim();
    return mask;
}

Mask SdfMask(int width, int height, const std::function<double(double x, double y)>& distance) {
    Mask mask(width, height);
    for (int y = 0; y < height; ++y) {
        float* row = mask.Row(y);
        for (int x = 0; x < width; ++x) {
            row[x] = static_cast<float>(std::clamp(0.5 - distance(x + 0.5, y + 0.5), 0.0, 1.0));
        }
    }
    mask.SetAll();
    mask.Trim();
    return mask;
}

} // namespace kavlo::skingen
