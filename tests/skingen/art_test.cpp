// Pictograms, stroke letters and the form builder's way of writing properties.
#include <gtest/gtest.h>

#include "skingen/art_icons.h"
#include "skingen/form_builder.h"
#include "skingen/glyphs.h"
#include "skingen/layout.h"
#include "skingen/pictograms.h"
#include "skingen/raster.h"
#include "skingen/theme.h"

namespace kavlo::skingen {
namespace {

constexpr int kKinds = 16;

double Area(const Mask& m) {
    double s = 0;
    for (int y = 0; y < m.Height(); ++y) {
        for (int x = 0; x < m.Width(); ++x) {
            s += m.At(x, y);
        }
    }
    return s;
}

TEST(Pictograms, EachFillsItsPlateAndStaysInside) {
    for (int k = 0; k < kKinds; ++k) {
        Mask m = DrawPictogram(Pictogram(k), 50, 50, Affine{});
        double share = Area(m) / (50.0 * 50.0);
        EXPECT_GT(share, 0.10) << "pictogram " << k << " is too faint to read";
        EXPECT_LT(share, 0.55) << "pictogram " << k << " is a blot";
        EXPECT_GE(m.X0(), 3) << k;
        EXPECT_LE(m.X1(), 47) << k;
        EXPECT_GE(m.Y0(), 3) << k;
        EXPECT_LE(m.Y1(), 47) << k;
    }
}

TEST(Pictograms, NoTwoAlike) {
    std::vector<Mask> masks;
    for (int k = 0; k < kKinds; ++k) {
        masks.push_back(DrawPictogram(Pictogram(k), 50, 50, Affine{}));
    }
    for (int a = 0; a < kKinds; ++a) {
        for (int b = a + 1; b < kKinds; ++b) {
            double diff = 0;
            for (int y = 0; y < 50; ++y) {
                for (int x = 0; x < 50; ++x) {
                    diff += std::abs(masks[a].At(x, y) - masks[b].At(x, y));
                }
            }
            EXPECT_GT(diff, 150) << a << " and " << b;
        }
    }
}

TEST(Pictograms, PlacementScalesAndMoves) {
    Mask full = DrawPictogram(Pictogram::Star, 50, 50, Affine{});
    Affine half = Affine::Translate(10, 5).After(Affine::Scale(0.5, 0.5));
    Mask small = DrawPictogram(Pictogram::Star, 50, 50, half);
    EXPECT_NEAR(Area(small), Area(full) / 4, Area(full) * 0.03);
    EXPECT_NEAR(small.X0(), 10 + full.X0() / 2, 1);
    EXPECT_NEAR(small.Y0(), 5 + full.Y0() / 2, 1);
}

TEST(SectionIcons, LitLooksDifferOnThePlateOnly) {
    Canvas backdrop(layout::kIconWidth, layout::kIconHeight, Hex(0x202224));
    const int top_right = layout::kIconWidth - 1;
    for (Pictogram kind : {Pictogram::Gamepad, Pictogram::Globe}) {
        Canvas off = SectionIcon(backdrop, SchemeTheme(0), kind, false);
        Canvas on = SectionIcon(backdrop, SchemeTheme(0), kind, true);
        EXPECT_EQ(off.TopDown()[0], on.TopDown()[0]) << "the corner shows the column in both";
        EXPECT_EQ(off.TopDown()[top_right], backdrop.TopDown()[top_right]);
        EXPECT_NE(off.At(24, 23), on.At(24, 23));
        // The lit pictogram takes the accent: more green than red in scheme 0.
        Rgba lit = on.At(24, 10);
        EXPECT_GT(lit.g, lit.r);
    }
}

TEST(StrokeLetters, WidthAndPlacement) {
    struct Case {
        std::string_view text;
        double height;
        double width;
    };
    const Case cases[] = {
        {"NEW", 6, 3 * 5.4 - 1.4}, {"CZ", 12, (2 * 5.4 - 1.4) * 2}, {"", 9, 0}, {"A A", 6, 3 * 5.4 - 1.4}};
    for (const Case& c : cases) {
        EXPECT_NEAR(TextWidth(c.text, c.height), c.width, 1e-9) << c.text;
    }
    Mask m = Rasterize(TextPath("NEW", {10, 20}, 12, 2), 80, 40);
    double w = TextWidth("NEW", 12);
    EXPECT_NEAR(m.X0(), 10 - 1, 1) << "the pen's half width left of the first stroke";
    EXPECT_NEAR(m.X1(), 10 + w + 1, 1);
    EXPECT_NEAR(m.Y0(), 20 - 1, 1);
    EXPECT_NEAR(m.Y1(), 20 + 12 + 1, 1);
    EXPECT_EQ(Area(Rasterize(TextPath("?", {10, 20}, 12, 2), 80, 40)), 0) << "letters it has no strokes for";
}

TEST(FormBuilder, WritesAsTheDesignerDoes) {
    Props p;
    p.Bounds(1, 2, 3, 4).Font("Tahoma", -13, "clBlack", true).Font("Square721 AT", -11, "2830895");
    FormObject o = Component("TDIBFadeLabel", "L", std::move(p));
    const std::vector<std::string> order{"Left", "Top", "Width", "Height"};
    for (size_t i = 0; i < order.size(); ++i) {
        EXPECT_EQ(o.properties[i].name, order[i]);
        EXPECT_EQ(std::get<FormInteger>(o.properties[i].value.data).value, int64_t(i + 1));
    }
    // Named colours by name, others by number; a bold font as a set.
    EXPECT_EQ(std::get<FormIdent>(o.properties[5].value.data).name, "clBlack");
    EXPECT_EQ(std::get<FormSet>(o.properties[8].value.data).names, std::vector<std::string>{"fsBold"});
    const FormProperty& colour = o.properties[11];
    EXPECT_EQ(colour.name, "Font.Color");
    EXPECT_EQ(std::get<FormInteger>(colour.value.data).value, 2830895);
    EXPECT_EQ(o.properties.back().name, "ParentFont");
}

} // namespace
} // namespace kavlo::skingen
