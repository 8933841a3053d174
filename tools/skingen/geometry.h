#pragma once

#include <cmath>
#include <numbers>
#include <vector>

namespace kavlo::skingen {

struct Vec2 {
    double x = 0;
    double y = 0;

    Vec2 operator+(Vec2 o) const { return {x + o.x, y + o.y}; }
    Vec2 operator-(Vec2 o) const { return {x - o.x, y - o.y}; }
    Vec2 operator*(double k) const { return {x * k, y * k}; }
    double Length() const { return std::hypot(x, y); }
};

constexpr double kPi = std::numbers::pi;
inline double Radians(double degrees) {
    return degrees * kPi / 180.0;
}
inline Vec2 Polar(Vec2 centre, double radius, double degrees) {
    return {centre.x + radius * std::cos(Radians(degrees)), centre.y + radius * std::sin(Radians(degrees))};
}

// x' = a x + c y + e, y' = b x + d y + f.
struct Affine {
    double a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;

    Vec2 Apply(Vec2 p) const { return {a * p.x + c * p.y + e, b * p.x + d * p.y + f}; }
    // This transform applied after `first`.
    Affine After(const Affine& first) const;
    static Affine Translate(double dx, double dy) { return {1, 0, 0, 1, dx, dy}; }
    static Affine Scale(double sx, double sy) { return {sx, 0, 0, sy, 0, 0}; }
    // Turns by `degrees` about `centre` (clockwise on screen, where y points down).
    static Affine Rotate(double degrees, Vec2 centre = {});
};

enum class FillRule { NonZero, EvenOdd };

// Closed polygons; several contours make one shape under the fill rule.
struct Path {
    std::vector<std::vector<Vec2>> contours;

    Path& Add(const Path& other);
    Path& Add(std::vector<Vec2> contour);
    Path Transformed(const Affine& t) const;
    // Every contour turned the same way, so that overlapping parts unite under the non-zero rule.
    Path Oriented() const;
    // Every contour turned the other way: a hole when added to an oriented shape.
    Path Reversed() const;
};

Path RectPath(double x, double y, double w, double h);
Path RoundRect(double x, double y, double w, double h, double radius);
Path Ellipse(Vec2 centre, double rx, double ry);
inline Path Circle(Vec2 centre, double r) {
    return Ellipse(centre, r, r);
}
Path Polygon(std::vector<Vec2> points);
// A band of the given width along a circle from `from_deg` to `to_deg` (clockwise on screen).
Path ArcBand(Vec2 centre, double radius, double width, double from_deg, double to_deg);
// Points along a circle, both ends included.
std::vector<Vec2> ArcPoints(Vec2 centre, double radius, double from_deg, double to_deg);
// A star of `points` tips between the outer and inner radius, the first tip at `rotation_deg`.
Path Star(Vec2 centre, double outer, double inner, int points, double rotation_deg = -90);

enum class Cap { Butt, Round, Square };
// The outline of a polyline drawn with a pen of `width`: round joins, the given caps.
Path Stroke(const std::vector<Vec2>& points, double width, Cap cap = Cap::Round, bool closed = false);

} // namespace kavlo::skingen
