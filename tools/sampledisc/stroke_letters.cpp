#include "sampledisc/stroke_letters.h"

#include <array>
#include <vector>

namespace kavlo::sample {

using skingen::Path;
using skingen::Vec2;

namespace {

using Strokes = std::vector<std::vector<Vec2>>;

const std::vector<Vec2> kRing = {{0.8, 0}, {3.2, 0}, {4, 0.8}, {4, 5.2}, {3.2, 6},
                                 {0.8, 6}, {0, 5.2}, {0, 0.8}, {0.8, 0}};

// Titles come in any letter, so the skin's few capitals are not enough here.
const Strokes& Glyph(char c) {
    static const std::array<Strokes, 26> kLetters = {{
        {{{0, 6}, {0, 2}, {2, 0}, {4, 2}, {4, 6}}, {{0, 3.5}, {4, 3.5}}},
        {{{0, 3},
          {3, 3},
          {3.8, 2.3},
          {3.8, 0.7},
          {3, 0},
          {0, 0},
          {0, 6},
          {3, 6},
          {4, 5.2},
          {4, 3.8},
          {3, 3}}},
        {{{4, 0.8}, {3.2, 0}, {0.8, 0}, {0, 0.8}, {0, 5.2}, {0.8, 6}, {3.2, 6}, {4, 5.2}}},
        {{{0, 0}, {0, 6}, {2.6, 6}, {4, 4.6}, {4, 1.4}, {2.6, 0}, {0, 0}}},
        {{{4, 0}, {0, 0}, {0, 6}, {4, 6}}, {{0, 3}, {3, 3}}},
        {{{4, 0}, {0, 0}, {0, 6}}, {{0, 3}, {3, 3}}},
        {{{4, 0.8},
          {3.2, 0},
          {0.8, 0},
          {0, 0.8},
          {0, 5.2},
          {0.8, 6},
          {3.2, 6},
          {4, 5.2},
          {4, 3.2},
          {2.2, 3.2}}},
        {{{0, 0}, {0, 6}}, {{4, 0}, {4, 6}}, {{0, 3}, {4, 3}}},
        {{{2, 0}, {2, 6}}, {{1, 0}, {3, 0}}, {{1, 6}, {3, 6}}},
        {{{4, 0}, {4, 5.2}, {3.2, 6}, {0.8, 6}, {0, 5.2}}},
        {{{0, 0}, {0, 6}}, {{4, 0}, {0, 3.6}}, {{1.4, 2.6}, {4, 6}}},
        {{{0, 0}, {0, 6}, {4, 6}}},
        {{{0, 6}, {0, 0}, {2, 3}, {4, 0}, {4, 6}}},
        {{{0, 6}, {0, 0}, {4, 6}, {4, 0}}},
        {kRing},
        {{{0, 6}, {0, 0}, {3.2, 0}, {4, 0.8}, {4, 2.4}, {3.2, 3.2}, {0, 3.2}}},
        {kRing, {{2.6, 4.6}, {4, 6}}},
        {{{0, 6}, {0, 0}, {3.2, 0}, {4, 0.8}, {4, 2.4}, {3.2, 3.2}, {0, 3.2}}, {{2, 3.2}, {4, 6}}},
        {{{4, 0.8},
          {3.2, 0},
          {0.8, 0},
          {0, 0.8},
          {0, 2.2},
          {0.8, 3},
          {3.2, 3},
          {4, 3.8},
          {4, 5.2},
          {3.2, 6},
          {0.8, 6},
          {0, 5.2}}},
        {{{0, 0}, {4, 0}}, {{2, 0}, {2, 6}}},
        {{{0, 0}, {0, 5.2}, {0.8, 6}, {3.2, 6}, {4, 5.2}, {4, 0}}},
        {{{0, 0}, {2, 6}, {4, 0}}},
        {{{0, 0}, {0.8, 6}, {2, 2.5}, {3.2, 6}, {4, 0}}},
        {{{0, 0}, {4, 6}}, {{4, 0}, {0, 6}}},
        {{{0, 0}, {2, 3}, {4, 0}}, {{2, 3}, {2, 6}}},
        {{{0, 0}, {4, 0}, {0, 6}, {4, 6}}},
    }};
    // The zero carries a slash, so that it cannot be read as the letter O.
    static const std::array<Strokes, 10> kDigits = {{
        {kRing, {{3.2, 1}, {0.8, 5}}},
        {{{0.8, 1.2}, {2, 0}, {2, 6}}, {{0.8, 6}, {3.2, 6}}},
        {{{0, 0.8}, {0.8, 0}, {3.2, 0}, {4, 0.8}, {4, 2.2}, {0, 6}, {4, 6}}},
        {{{0, 0.8}, {0.8, 0}, {3.2, 0}, {4, 0.8}, {4, 2.2}, {3.2, 3}, {1.4, 3}},
         {{3.2, 3}, {4, 3.8}, {4, 5.2}, {3.2, 6}, {0.8, 6}, {0, 5.2}}},
        {{{3, 6}, {3, 0}, {0, 4.2}, {4, 4.2}}},
        {{{4, 0}, {0, 0}, {0, 2.8}, {3.2, 2.8}, {4, 3.6}, {4, 5.2}, {3.2, 6}, {0.8, 6}, {0, 5.2}}},
        {{{3.6, 0}, {1.6, 0}, {0, 1.8}, {0, 5.2}, {0.8, 6}, {3.2, 6}, {4, 5.2}, {4, 3.8}, {3.2, 3}, {0, 3}}},
        {{{0, 0}, {4, 0}, {1.4, 6}}},
        {{{0.8, 3},
          {0, 2.2},
          {0, 0.8},
          {0.8, 0},
          {3.2, 0},
          {4, 0.8},
          {4, 2.2},
          {3.2, 3},
          {0.8, 3},
          {0, 3.8},
          {0, 5.2},
          {0.8, 6},
          {3.2, 6},
          {4, 5.2},
          {4, 3.8},
          {3.2, 3}}},
        {{{4, 3}, {0.8, 3}, {0, 2.2}, {0, 0.8}, {0.8, 0}, {3.2, 0}, {4, 0.8}, {4, 4.2}, {2.4, 6}, {0.4, 6}}},
    }};
    static const Strokes kSlash = {{{0, 6}, {4, 0}}};
    static const Strokes kNone;
    if (c >= 'A' && c <= 'Z') {
        return kLetters[c - 'A'];
    }
    if (c >= '0' && c <= '9') {
        return kDigits[c - '0'];
    }
    return c == '/' ? kSlash : kNone;
}

constexpr double kAdvance = 5.4; // units per character, gap included

} // namespace

double LetterWidth(std::string_view text, double height) {
    if (text.empty()) {
        return 0;
    }
    return (static_cast<double>(text.size()) * kAdvance - (kAdvance - 4)) * height / 6;
}

Path LetterPath(std::string_view text, Vec2 origin, double height, double stroke) {
    Path out;
    const double unit = height / 6;
    for (size_t i = 0; i < text.size(); ++i) {
        for (const std::vector<Vec2>& line : Glyph(text[i])) {
            std::vector<Vec2> points;
            for (Vec2 p : line) {
                points.push_back(
                    {origin.x + (static_cast<double>(i) * kAdvance + p.x) * unit, origin.y + p.y * unit});
            }
            out.Add(skingen::Stroke(points, stroke, skingen::Cap::Round));
        }
    }
    return out.Oriented();
}

} // namespace kavlo::sample
