#include "skin/controls/dib_fade_label.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "skin/controls/dib_container.h"
#include "skin_control_fixture.h"

namespace kavlo {
namespace {

// The list rows' font colour (47, 50, 43) and the default highlight.
constexpr TColor kRowColor = 0x2B322F;
constexpr TColor kWhite = 0xFFFFFF;

std::vector<uint32_t> Pixels(const TAbstractSuperDIB& dib) {
    return std::vector<uint32_t>(dib.Bits(), dib.Bits() + dib.PixelCount());
}

class FadeLabelTest : public ::testing::Test {
protected:
    FadeLabelTest() {
        container.SetBounds(0, 0, 60, 24);
        container.SetColor(0x000000);
    }

    TDIBFadeLabel& MakeLabel() {
        TDIBFadeLabel& label = container.Add<TDIBFadeLabel>();
        label.SetBounds(2, 2, 50, 18);
        label.SetFont(FontSpec{.name = "DejaVu Sans", .height = -12});
        label.SetFontColor(kRowColor);
        label.SetTransparent(true);
        label.SetCaption("Demo");
        return label;
    }
    // Fade colour i of n by the rule: each channel from the font colour toward the highlight,
    // (i + 1) / n of the way, rounded to the nearest integer.
    static TColor Expected(TColor from, TColor to, int i, int n) {
        TColor c = 0;
        for (int shift = 0; shift < 24; shift += 8) {
            const double a = (from >> shift) & 0xFF;
            const double b = (to >> shift) & 0xFF;
            c |= static_cast<TColor>(std::floor(a + (b - a) * (i + 1) / n + 0.5)) << shift;
        }
        return c;
    }

    test::SkinFixture fixture;
    TDIBContainer container{fixture.Services()};
};

TEST_F(FadeLabelTest, TheTableRunsFromJustPastTheFontColourToTheHighlight) {
    TDIBFadeLabel& label = MakeLabel();
    struct Case {
        TColor font, highlight;
        int frames;
    };
    const Case cases[] = {{kRowColor, kWhite, 10}, {0xC0C0C0, 0x000000, 4}, {0x102030, 0x0A0B0C, 3}};
    for (const Case& c : cases) {
        label.SetFrameCount(c.frames);
        label.SetFontColor(c.font);
        label.SetColorHighlighted(c.highlight);
        std::vector<TColor> expected;
        for (int i = 0; i < c.frames; ++i) {
            expected.push_back(Expected(c.font, c.highlight, i, c.frames));
        }
        EXPECT_EQ(label.FadeTable(), expected);
        EXPECT_EQ(label.FadeTable().back(), c.highlight);
    }
    label.SetFrameCount(1);
    EXPECT_TRUE(label.FadeTable().empty());
}

TEST_F(FadeLabelTest, EnteringHighlightsAtOnceAndLeavingFadesBackTickByTick) {
    TDIBFadeLabel& label = MakeLabel();
    EXPECT_EQ(label.CurrentColor(), kRowColor);
    label.MouseEnter();
    EXPECT_EQ(label.CurrentColor(), kWhite);
    fixture.RunFor(500);
    EXPECT_EQ(label.CurrentColor(), kWhite);

    container.Compose({0, 0, 60, 24});
    label.MouseLeave();
    EXPECT_EQ(label.CurrentColor(), kWhite); // nothing changes before the first tick
    std::vector<TColor> seen;
    for (int tick = 0; tick < 12; ++tick) {
        fixture.RunFor(50);
        seen.push_back(label.CurrentColor());
        // Each change asks for the label's rectangle to be drawn again; the first tick shows the
        // highlight the label already has, and the fade is over after the tenth.
        const bool changed = tick >= 1 && tick < 10;
        EXPECT_EQ(container.PendingUpdate(), changed ? label.BoundsRect() : Rect{}) << tick;
        container.Compose(container.PendingUpdate());
    }
    std::vector<TColor> expected;
    for (int i = 9; i >= 1; --i) {
        expected.push_back(label.FadeTable()[static_cast<size_t>(i)]);
    }
    expected.insert(expected.end(), 3, kRowColor);
    EXPECT_EQ(seen, expected);
    EXPECT_FALSE(label.Fading());
}

TEST_F(FadeLabelTest, EnteringAgainStopsTheFade) {
    TDIBFadeLabel& label = MakeLabel();
    label.MouseEnter();
    label.MouseLeave();
    fixture.RunFor(150);
    EXPECT_EQ(label.CurrentColor(), label.FadeTable()[7]);
    label.MouseEnter();
    EXPECT_EQ(label.CurrentColor(), kWhite);
    EXPECT_FALSE(label.Fading());
    fixture.RunFor(1000);
    EXPECT_EQ(label.CurrentColor(), kWhite);
}

TEST_F(FadeLabelTest, OneFrameOrNoDelayReturnsAtOnce) {
    struct Case {
        const char* what;
        int frames;
        uint32_t delay_ms;
    };
    for (const Case& c : {Case{"one frame", 1, 50}, Case{"no delay", 10, 0}, Case{"no frames", 0, 50}}) {
        SCOPED_TRACE(c.what);
        TDIBFadeLabel& label = MakeLabel();
        label.SetFrameCount(c.frames);
        label.SetFrameDelay(c.delay_ms);
        label.MouseEnter();
        EXPECT_EQ(label.CurrentColor(), kWhite);
        label.MouseLeave();
        EXPECT_EQ(label.CurrentColor(), kRowColor);
        EXPECT_FALSE(label.Fading());
    }
}

TEST_F(FadeLabelTest, FocusHighlightsAndKeepsTheHighlightUntilBothAreGone) {
    TDIBFadeLabel& label = MakeLabel();
    TDIBFadeLabel& other = MakeLabel();
    container.SetDIBFocus(&label);
    EXPECT_EQ(label.CurrentColor(), kWhite);
    label.MouseEnter();
    label.MouseLeave(); // still focused: no fade
    EXPECT_FALSE(label.Fading());
    EXPECT_EQ(label.CurrentColor(), kWhite);
    label.MouseEnter();
    container.SetDIBFocus(&other); // the pointer is still over it: no fade either
    EXPECT_FALSE(label.Fading());
    label.MouseLeave();
    EXPECT_TRUE(label.Fading());
    container.SetDIBFocus(&label);
    container.SetDIBFocus(nullptr);
    EXPECT_TRUE(label.Fading());
    fixture.RunFor(500);
    EXPECT_EQ(label.CurrentColor(), kRowColor);
}

TEST_F(FadeLabelTest, ChangingTheFrameCountDuringAFadeNeverReadsPastTheTable) {
    TDIBFadeLabel& label = MakeLabel();
    label.SetFrameCount(3);
    label.MouseEnter();
    label.MouseLeave();
    label.SetFrameCount(40);
    std::vector<TColor> seen;
    for (int tick = 0; tick < 41; ++tick) {
        fixture.RunFor(50);
        seen.push_back(label.CurrentColor());
    }
    EXPECT_EQ(seen.front(), label.FadeTable()[39]);
    EXPECT_EQ(seen.back(), kRowColor);

    // A form may store any int: the largest fades from the highlight without a table to hold.
    label.SetFrameCount(INT32_MAX);
    label.MouseEnter();
    label.MouseLeave();
    fixture.RunFor(50);
    EXPECT_EQ(label.CurrentColor(), kWhite);
}

TEST_F(FadeLabelTest, ADisabledLabelIsTheHighlightCopyOffsetUnderTheText) {
    // Also with the label cut by the container's left edge, where the copy shows one more column.
    for (const int left : {2, -3}) {
        SCOPED_TRACE(left);
        TDIBContainer disabled_one(fixture.Services());
        disabled_one.SetBounds(0, 0, 60, 24);
        disabled_one.SetColor(0x000000);
        TDIBFadeLabel& disabled = disabled_one.Add<TDIBFadeLabel>();
        disabled.SetBounds(left, 2, 50, 18);
        disabled.SetFont(FontSpec{.name = "DejaVu Sans", .height = -12});
        disabled.SetFontColor(kRowColor);
        disabled.SetTransparent(true);
        disabled.SetCaption("Demo");
        disabled.SetColorHighlighted(0x40C0F0);
        disabled.SetEnabled(false);
        disabled_one.Compose({0, 0, 60, 24});

        // The same drawn by hand: a label in the highlight colour one pixel down and right, then the text.
        TDIBContainer by_hand(fixture.Services());
        by_hand.SetBounds(0, 0, 60, 24);
        by_hand.SetColor(0x000000);
        for (int offset : {1, 0}) {
            TDIBFadeLabel& label = by_hand.Add<TDIBFadeLabel>();
            label.SetBounds(left + offset, 2 + offset, 50, 18);
            label.SetFont(disabled.Font());
            label.SetFontColor(offset == 1 ? 0x40C0F0 : kRowColor);
            label.SetTransparent(true);
            label.SetCaption("Demo");
        }
        by_hand.Compose({0, 0, 60, 24});
        int highlight_pixels = 0;
        for (int y = 0; y < 24; ++y) {
            for (int x = 0; x < 60; ++x) {
                ASSERT_EQ(disabled_one.Surface().Pixel(x, y), by_hand.Surface().Pixel(x, y)) << x << "," << y;
                highlight_pixels +=
                    (disabled_one.Surface().Pixel(x, y) & 0xFFFFFF) == PixelFromColor(0x40C0F0);
            }
        }
        EXPECT_GT(highlight_pixels, 0);
        // A disabled label does not take the pointer: the container has nothing under it.
        EXPECT_EQ(disabled_one.ControlAt(10, 10), nullptr);
    }
}

TEST_F(FadeLabelTest, AHugeLabelRendersOnlyWhatItsContainerShows) {
    // A corrupt form may make a label 32767 pixels square; its text still looks as a small label's.
    TDIBFadeLabel& huge = MakeLabel();
    huge.SetBounds(2, 2, 32767, 32767);
    container.Compose({0, 0, 60, 24});
    const std::vector<uint32_t> drawn = Pixels(container.Surface());
    huge.SetBounds(2, 2, 58, 22);
    container.Compose({0, 0, 60, 24});
    EXPECT_EQ(Pixels(container.Surface()), drawn);
}

TEST_F(FadeLabelTest, AnOpaqueLabelFillsItsRectangleWithItsColour) {
    TDIBFadeLabel& label = MakeLabel();
    label.SetTransparent(false);
    label.SetColor(0x2B322F);
    label.SetCaption("");
    container.Compose({0, 0, 60, 24});
    EXPECT_EQ(container.Surface().Pixel(2, 2) & 0xFFFFFF, PixelFromColor(0x2B322F));
    EXPECT_EQ(container.Surface().Pixel(51, 19) & 0xFFFFFF, PixelFromColor(0x2B322F));
    EXPECT_EQ(container.Surface().Pixel(52, 19), 0u);
}

TEST_F(FadeLabelTest, ALabelRedrawnAfterAChangeShowsTheNewTextNeverTheOldOne) {
    // The label keeps its text's coverage between drawings; each change must show as a fresh label would.
    const auto fresh = [&](const TDIBFadeLabel& like) {
        TDIBContainer other(fixture.Services());
        other.SetBounds(0, 0, 60, 24);
        other.SetColor(0x000000);
        TDIBFadeLabel& label = other.Add<TDIBFadeLabel>();
        label.SetBounds(like.Left(), like.Top(), like.Width(), like.Height());
        label.SetFont(like.Font());
        label.SetFontColor(like.FontColor());
        label.SetAlignment(like.Alignment());
        label.SetTransparent(true);
        label.SetCaption(like.Caption());
        other.Compose({0, 0, 60, 24});
        return Pixels(other.Surface());
    };
    TDIBFadeLabel& label = MakeLabel();
    container.Compose({0, 0, 60, 24});
    const std::vector<uint32_t> before = Pixels(container.Surface());
    const std::vector<std::function<void()>> changes{
        [&] { label.SetCaption("Menu"); },
        [&] { label.SetFont(FontSpec{.name = "DejaVu Sans", .height = -9}); },
        [&] { label.SetAlignment(TAlignment::taRightJustify); },
        [&] { label.SetBounds(2, 2, 40, 18); },
    };
    for (size_t i = 0; i < changes.size(); ++i) {
        SCOPED_TRACE(i);
        changes[i]();
        container.Compose({0, 0, 60, 24});
        EXPECT_EQ(Pixels(container.Surface()), fresh(label));
    }
    EXPECT_NE(Pixels(container.Surface()), before);
}

} // namespace
} // namespace kavlo
