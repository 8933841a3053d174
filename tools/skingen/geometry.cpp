#include "geometry.h"

#include <algorithm>

namespace kavlo::skingen {

Affine Affine::After(const Affine& first) const {
    return {a * first.a + c * first.b, b * first.a + d * first.b,     a * first.c + c * first.d,
            b * first.c + d * first.d, a * first.e + c * first.f + e, b * first.e + d * first.f + f};
}

Affine Affine::Rotate(double degrees, Vec2 centre) {
    double cs = std::cos(Radians(degrees));
    double sn = std::sin(Radians(degrees));
    Affine turn{cs, sn, -sn, cs, 0, 0};
    return Translate(centre.x, centre.y).After(turn.After(Translate(-centre.x, -centre.y)));
}

Path& Path::Add(const Path& other) {
    contours.insert(contours.end(), other.contours.begin(), other.contours.end());
    return *this;
}

Path& Path::Add(std::vector<Vec2> contour) {
    contours.push_back(std::move(contour));
    return *this;
}

Path Path::Transformed(const Affine& t) const {
    Path out = *this;
    for (auto& contour : out.contours) {
        for (auto& p : contour) {
            p = t.Apply(p);
        }
    }
    return out;
}

namespace {

double SignedArea(const std::vector<Vec2>& contour) {
    double area = 0;
    for (size_t i = 0; i < contour.size(); ++i) {
        const Vec2& p = contour[i];
        const Vec2& q = contour[(i + 1) % contour.size()];
        area += p.x * q.y - q.x * p.y;
    }
    return area / 2;
}

// Enough segments that a chord strays less than a fiftieth of a pixel from the circle.
int ArcSegments(double radius, double sweep_deg) {
    double r = std::max(radius, 0.5);
    double step = 2 * std::acos(std::max(-1.0, 1 - 0.02 / r));
    int n = static_cast<int>(std::ceil(Radians(std::abs(sweep_deg)) / step));
    return std::clamp(n, 4, 2048);
}

} // namespace

Path Path::Oriented() const {
    Path out = *this;
    for (auto& contour : out.contours) {
        if (SignedArea(contour) < 0) {
            std::reverse(contour.begin(), contour.end());
        }
    }
    return out;
}

Path Path::Reversed() const {
    Path out = Oriented();
    for (auto& contour : out.contours) {
        std::reverse(contour.begin(), contour.end());
    }
    return out;
}

Path RectPath(double x, double y, double w, double h) {
    return Polygon({{x, y}, {x + w, y}, {x + w, y + h}, {x, y + h}});
}

std::vector<Vec2> ArcPoints(Vec2 centre, double radius, double from_deg, double to_deg) {
    int n = ArcSegments(radius, to_deg - from_deg);
    // Chords cut a sliver off every segment; a slightly larger radius gives the polygon the circle's
    // own area, so small round shapes do not come out thin.
    double step = Radians(std::abs(to_deg - from_deg)) / n;
    double r = step > 0 ? radius * std::sqrt(step / std::sin(step)) : radius;
    std::vector<Vec2> points;
    points.reserve(n + 1);
    for (int i = 0; i <= n; ++i) {
        points.push_back(Polar(centre, r, from_deg + (to_deg - from_deg) * i / n));
    }
    return points;
}

Path RoundRect(double x, double y, double w, double h, double radius) {
    double r = std::clamp(radius, 0.0, std::min(w, h) / 2);
    if (r <= 0) {
        return RectPath(x, y, w, h);
    }
    std::vector<Vec2> pts;
    auto corner = [&](Vec2 c, double from) {
        auto arc = ArcPoints(c, r, from, from + 90);
        pts.insert(pts.end(), arc.begin(), arc.end());
    };
    corner({x + w - r, y + r}, -90);
    corner({x + w - r, y + h - r}, 0);
    corner({x + r, y + h - r}, 90);
    corner({x + r, y + r}, 180);
    return Polygon(std::move(pts));
}

Path Ellipse(Vec2 centre, double rx, double ry) {
    auto pts = ArcPoints({0, 0}, std::max(rx, ry), 0, 360);
    pts.pop_back();
    for (auto& p : pts) {
        p = {centre.x + p.x * rx / std::max(rx, ry), centre.y + p.y * ry / std::max(rx, ry)};
    }
    return Polygon(std::move(pts));
}

Path Polygon(std::vector<Vec2> points) {
    Path path;
    path.contours.push_back(std::move(points));
    return path;
}

Path ArcBand(Vec2 centre, double radius, double width, double from_deg, double to_deg) {
    auto outer = ArcPoints(centre, radius + width / 2, from_deg, to_deg);
    auto inner = ArcPoints(centre, radius - width / 2, from_deg, to_deg);
    outer.insert(outer.end(), inner.rbegin(), inner.rend());
    return Polygon(std::move(outer));
}

Path Star(Vec2 centre, double outer, double inner, int points, double rotation_deg) {
    std::vector<Vec2> pts;
    for (int i = 0; i < points * 2; ++i) {
        pts.push_back(Polar(centre, i % 2 == 0 ? outer : inner, rotation_deg + 180.0 * i / points));
    }
    return Polygon(std::move(pts));
}

Path Stroke(const std::vector<Vec2>& points, double width, Cap cap, bool closed) {
    Path out;
    double h = width / 2;
    size_t segments = closed ? points.size() : points.size() - 1;
    for (size_t i = 0; i < segments && points.size() > 1; ++i) {
        Vec2 p = points[i];
        Vec2 q = points[(i + 1) % points.size()];
        Vec2 dir = q - p;
        double len = dir.Length();
        if (len <= 1e-9) {
            continue;
        }
        Vec2 u = dir * (1 / len);
        Vec2 n{-u.y * h, u.x * h};
        bool first = !closed && i == 0;
        bool last = !closed && i + 1 == segments;
        if (cap == Cap::Square) {
            p = first ? p - u * h : p;
            q = last ? q + u * h : q;
        }
        out.Add(Polygon({p + n, q + n, q - n, p - n}));
    }
    // Round joins between segments, and round caps when asked.
    for (size_t i = 0; i < points.size(); ++i) {
        bool end = !closed && (i == 0 || i + 1 == points.size());
        if (!end || cap == Cap::Round) {
            out.Add(Circle(points[i], h));
        }
    }
    return out.Oriented();
}

} // namespace kavlo::skingen
