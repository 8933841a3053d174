#include "skin/text/text.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "platform/posix/posix_file_system.h"
#include "platform/posix/posix_fonts.h"
#include "skin/text/font_resolver.h"
#include "support/temp_dir.h"
namespace kavlo {
namespace {

using test::TempDir;

const std::string kDejaVuDir = "/usr/share/fonts/truetype/dejavu/";
const std::string kMonoFile = kDejaVuDir + "DejaVuSansMono.ttf";

// The registered font in these tests: DejaVu Sans Mono shipped under a picture name, as discs do.
const FontSpec kMono{.name = "DejaVu Sans Mono", .height = -13};
const FontSpec kSans{.name = "DejaVu Sans", .height = -13};

// A font table the tests fill directly, for files the platform's registration would refuse.
class FixedFonts : public Fonts {
public:
    std::map<std::string, std::string> files;

    int AddFontResource(std::string_view) override { return 0; }
    bool RemoveFontResource(std::string_view) override { return false; }
    void BroadcastFontChange() override {}
    std::optional<std::string> FindFace(std::string_view family) const override {
        auto found = files.find(std::string(family));
        return found == files.end() ? std::nullopt : std::optional<std::string>(found->second);
    }
    std::vector<std::string> Families() const override { return {}; }
};

// Columns and rows that carry ink (coverage of at least half).
Rect InkBounds(const TextMask& mask) {
    Rect ink{mask.box.right, mask.box.bottom, mask.box.left, mask.box.top};
    for (int y = mask.box.top; y < mask.box.bottom; ++y) {
        for (int x = mask.box.left; x < mask.box.right; ++x) {
            if (mask.At(x, y) >= 128) {
                ink = Rect{std::min(ink.left, x), std::min(ink.top, y), std::max(ink.right, x + 1),
                           std::max(ink.bottom, y + 1)};
            }
        }
    }
    return ink;
}

// True when `b` shows what `a` shows, moved by (dx, dy), over the whole of a's box.
bool SameMoved(const TextMask& a, const TextMask& b, int dx, int dy) {
    for (int y = a.box.top; y < a.box.bottom; ++y) {
        for (int x = a.box.left; x < a.box.right; ++x) {
            if (a.At(x, y) != b.At(x + dx, y + dy)) {
                return false;
            }
        }
    }
    return true;
}

class TextTest : public ::testing::Test {
protected:
    TextTest() {
        std::filesystem::create_directories(dir_ / "disc/KAVLO");
        std::filesystem::copy_file(kMonoFile, dir_ / "disc/KAVLO/bb.jpg");
        std::filesystem::create_directories(dir_ / "c");
        fonts_.AddFontResource("D:\\KAVLO\\bb.jpg");
    }

    SizedFace& Face(const FontSpec& font) {
        SizedFace* face = resolver_.Resolve(font);
        EXPECT_NE(face, nullptr);
        return *face;
    }
    int MonoAdvance() { return Face(kMono).GlyphAt(Face(kMono).GlyphIndex(U'a')).advance_px; }
    Rect Calc(const FontSpec& font, std::string_view text, Rect box, unsigned flags) {
        return Render(resolver_, font, text, box, flags | kDtCalcRect).box;
    }

    TempDir dir_;
    PosixFileSystem fs_{(dir_ / "c").string(),
                        {DriveMapping{'D', (dir_ / "disc").string(), DriveType::CdRom}}};
    PosixFonts fonts_{fs_};
    FontResolver resolver_{fonts_};
};

TEST_F(TextTest, RegisteredFaceComesBeforeInstalledOnes) {
    const std::string copy = (dir_ / "disc/KAVLO/bb.jpg").string();
    EXPECT_EQ(resolver_.Locate(kMono), (FaceSource{copy, 0, FaceOrigin::Registered}));
    EXPECT_EQ(resolver_.Locate({.name = "dejavu sans MONO", .bold = true}),
              (FaceSource{copy, 0, FaceOrigin::Registered}));

    const std::optional<FaceSource> installed = resolver_.Locate(kSans);
    ASSERT_TRUE(installed.has_value());
    EXPECT_EQ(installed->origin, FaceOrigin::Fontconfig);
    EXPECT_EQ(installed->path, kDejaVuDir + "DejaVuSans.ttf");

    // The registered file has no bold or oblique member: those styles are made from it.
    EXPECT_TRUE(Face({.name = "DejaVu Sans Mono", .bold = true}).synthetic_bold());
    EXPECT_TRUE(Face({.name = "DejaVu Sans Mono", .italic = true}).synthetic_italic());
    EXPECT_FALSE(Face(kMono).synthetic_bold());
    // An installed family with a bold face uses it.
    SizedFace& sans_bold = Face({.name = "DejaVu Sans", .bold = true});
    EXPECT_FALSE(sans_bold.synthetic_bold());
    EXPECT_NE(sans_bold.face()->style_flags & FT_STYLE_FLAG_BOLD, 0);
}

TEST_F(TextTest, UnknownOrBrokenFamiliesFallBack) {
    const FontSpec unknown{.name = "Kavlo No Such Face \x8A", .height = -12};
    const std::optional<FaceSource> matched = resolver_.Locate(unknown);
    ASSERT_TRUE(matched.has_value());
    EXPECT_EQ(matched->origin, FaceOrigin::Fontconfig);

    FixedFonts fixed;
    test::WriteHostFile(dir_ / "junk.ttf", "not a font at all");
    fixed.files["Broken"] = (dir_ / "junk.ttf").string();
    FontResolver without_fontconfig(fixed, {.use_fontconfig = false});
    for (const FontSpec& font : {unknown, FontSpec{.name = "Broken"}}) {
        SCOPED_TRACE(font.name);
        EXPECT_EQ(without_fontconfig.Locate(font),
                  (FaceSource{kDejaVuDir + "DejaVuSans.ttf", 0, FaceOrigin::Fallback}));
        const TextMask mask = Render(without_fontconfig, font, "Ab", {0, 0, 40, 20}, 0);
        EXPECT_FALSE(InkBounds(mask).Empty());
    }

    // Nothing to draw with: the box stays blank and measures as nothing.
    FontResolver nothing(fixed, {.use_fontconfig = false, .fallback_files = {(dir_ / "junk.ttf").string()}});
    EXPECT_FALSE(nothing.Locate(unknown).has_value());
    const TextMask blank = Render(nothing, unknown, "Ab", {0, 0, 40, 20}, 0);
    EXPECT_EQ(blank.coverage, std::vector<uint8_t>(800, 0));
    EXPECT_TRUE(Render(nothing, unknown, "Ab", {5, 5, 40, 20}, kDtCalcRect).box.Empty());
    EXPECT_EQ(TextExtent(nothing, unknown, "Ab"), (TextSize{0, 0}));
}

TEST_F(TextTest, ExtentGrowsWithTextAndHeight) {
    TextSize previous_size{0, 0};
    for (int height : {-9, -11, -13, -20, -32}) {
        SCOPED_TRACE(height);
        FontSpec font = kSans;
        font.height = height;
        int previous_width = 0;
        for (std::string_view text : {"K", "Ka", "Kav", "Kavlo"}) {
            const TextSize size = TextExtent(resolver_, font, text);
            EXPECT_GT(size.width, previous_width) << text;
            previous_width = size.width;
        }
        const TextSize size = TextExtent(resolver_, font, "Kavlo");
        EXPECT_GT(size.width, previous_size.width);
        EXPECT_GT(size.height, previous_size.height);
        previous_size = size;
    }
    // Measuring knows no prefixes and no line breaks.
    EXPECT_EQ(TextExtent(resolver_, kMono, "&a\r\nb").width, 3 * MonoAdvance());
    EXPECT_EQ(TextExtent(resolver_, kMono, "").height, Face(kMono).line_height());
}

TEST_F(TextTest, HeightMeansEmWhenNegativeAndCellWhenPositive) {
    for (int em : {11, 16, 24, 40}) {
        SCOPED_TRACE(em);
        FontSpec font = kSans;
        font.height = -em;
        // The capital's height in the face's own units, unhinted.
        FT_Face face = Face(font).face();
        ASSERT_EQ(FT_Load_Char(face, 'M', FT_LOAD_NO_SCALE), 0);
        const double cap_height = static_cast<double>(em) * face->glyph->metrics.height / face->units_per_EM;
        const Rect ink = InkBounds(Render(resolver_, font, "M", {0, 0, 2 * em, 2 * em}, 0));
        EXPECT_NEAR(ink.Height(), cap_height, 1.0);
        // The top of the capital sits about one ascent minus the cap height below the top.
        EXPECT_NEAR(ink.bottom, Face(font).ascent(), 1);

        font.height = em * 2;
        EXPECT_NEAR(Face(font).line_height(), em * 2, 1);
    }
}

TEST_F(TextTest, BoldIsWiderAndItalicLeans) {
    for (const FontSpec& regular : {kSans, kMono}) {
        SCOPED_TRACE(regular.name);
        FontSpec bold = regular;
        bold.bold = true;
        EXPECT_GT(TextExtent(resolver_, bold, "Kavlo menu").width,
                  TextExtent(resolver_, regular, "Kavlo menu").width);
        // Strokes are heavier too, not only spaced wider.
        int regular_ink = 0;
        int bold_ink = 0;
        for (uint8_t c : Render(resolver_, regular, "I", {0, 0, 30, 30}, 0).coverage) {
            regular_ink += c;
        }
        for (uint8_t c : Render(resolver_, bold, "I", {0, 0, 30, 30}, 0).coverage) {
            bold_ink += c;
        }
        EXPECT_GT(bold_ink, regular_ink * 5 / 4);
    }
    // The registered face has no oblique member: the slant is made, and a bar leans right.
    FontSpec italic = kMono;
    italic.italic = true;
    italic.height = -40;
    const TextMask l = Render(resolver_, italic, "|", {0, 0, 60, 60}, 0);
    const Rect ink = InkBounds(l);
    const auto leftmost_ink = [&](int y) {
        int x = ink.left;
        while (x < ink.right && l.At(x, y) < 128) {
            ++x;
        }
        return x;
    };
    EXPECT_GT(leftmost_ink(ink.top + 1), leftmost_ink(ink.bottom - 2) + 3);
}

TEST_F(TextTest, AlignmentMovesTheLineInsideTheBox) {
    const Rect box{10, 5, 210, 65};
    const int width = TextExtent(resolver_, kSans, "Hello, menu").width;
    const int line = Face(kSans).line_height();
    const TextMask reference = Render(resolver_, kSans, "Hello, menu", box, kDtSingleLine);
    ASSERT_FALSE(InkBounds(reference).Empty());
    struct Case {
        unsigned flags;
        int dx;
        int dy;
    };
    for (const Case& c : {Case{kDtCenter, (200 - width) / 2, 0}, Case{kDtRight, 200 - width, 0},
                          Case{kDtVCenter, 0, (60 - line) / 2}, Case{kDtBottom, 0, 60 - line},
                          Case{kDtRight | kDtBottom, 200 - width, 60 - line}}) {
        SCOPED_TRACE(c.flags);
        const TextMask moved = Render(resolver_, kSans, "Hello, menu", box, c.flags | kDtSingleLine);
        EXPECT_TRUE(SameMoved(reference, moved, c.dx, c.dy));
        EXPECT_EQ(InkBounds(moved).left, InkBounds(reference).left + c.dx);
    }
}

TEST_F(TextTest, LinesBreakAtLineEndsAndWrapAtBlanks) {
    const int a = MonoAdvance();
    struct Case {
        std::string_view text;
        unsigned flags;
        int box_chars;
        int lines;
        int width_chars;
    };
    for (const Case& c : {
             Case{"aaa bbb ccc", kDtWordBreak, 10, 2, 7},
             Case{"aaa bbb ccc", kDtWordBreak, 11, 1, 11},
             Case{"aaa bbb ccc", 0, 5, 1, 11},
             Case{"aaa   bbb", kDtWordBreak, 5, 2, 3},
             Case{"aaaaaaaaaaaaa", kDtWordBreak, 10, 2, 10},
             Case{"aa bbbbbbbbbbbbbbbbbbbbbb c", kDtWordBreak, 10, 4, 10},
             Case{"aaa\r\nbbbbb\nc\rdd", 0, 10, 4, 5},
             Case{"aaa\r\n\r\nb", 0, 10, 3, 3},
             Case{"aaa\r\n", 0, 10, 1, 3},
             Case{"aaa\r\nbb", kDtSingleLine, 10, 1, 5},
             Case{"aaa bbb", kDtSingleLine | kDtWordBreak, 4, 1, 7},
             Case{"", kDtWordBreak, 10, 0, 0},
         }) {
        SCOPED_TRACE(c.text);
        const Rect needed = Calc(kMono, c.text, {3, 4, 3 + c.box_chars * a, 400}, c.flags);
        EXPECT_EQ(needed, (Rect{3, 4, 3 + c.width_chars * a, 4 + c.lines * Face(kMono).line_height()}));
    }

    // The second word really is drawn on the second line.
    const int line = Face(kMono).line_height();
    const TextMask wrapped = Render(resolver_, kMono, "aaa bbb", {0, 0, 5 * a, 3 * line}, kDtWordBreak);
    const TextMask second = Render(resolver_, kMono, "bbb", {0, 0, 5 * a, 3 * line}, 0);
    EXPECT_TRUE(SameMoved(second, wrapped, 0, line));
}

TEST_F(TextTest, AmpersandsMarkAcceleratorsUnlessNoPrefix) {
    const int a = MonoAdvance();
    SizedFace& face = Face(kMono);
    const int underline = face.ascent() + face.underline_offset();
    const Rect box{0, 0, 8 * a, face.line_height()};
    EXPECT_EQ(Calc(kMono, "&File", box, 0).Width(), 4 * a);
    EXPECT_EQ(Calc(kMono, "&&", box, 0).Width(), a);
    EXPECT_EQ(Calc(kMono, "&&", box, kDtNoPrefix).Width(), 2 * a);
    EXPECT_EQ(Calc(kMono, "ab&", box, 0).Width(), 2 * a);
    EXPECT_EQ(Render(resolver_, kMono, "&&", box, 0).coverage,
              Render(resolver_, kMono, "&", box, kDtNoPrefix).coverage);

    // "&File" is "File" with a line under the F only.
    const TextMask marked = Render(resolver_, kMono, "&File", box, 0);
    const TextMask plain = Render(resolver_, kMono, "File", box, kDtNoPrefix);
    for (int y = 0; y < box.bottom; ++y) {
        const bool in_line = y >= underline && y < underline + face.underline_thickness();
        for (int x = 0; x < box.right; ++x) {
            const uint8_t expected = in_line && x < a ? 255 : plain.At(x, y);
            ASSERT_EQ(marked.At(x, y), expected) << x << "," << y;
        }
    }
    // An underlined font draws the line under the whole text.
    FontSpec underlined = kMono;
    underlined.underline = true;
    const TextMask all = Render(resolver_, underlined, "File", box, 0);
    for (int x = 0; x < box.right; ++x) {
        EXPECT_EQ(all.At(x, underline), x < 4 * a ? 255 : 0) << x;
    }
}

TEST_F(TextTest, CharacterSetPicksTheCodePage) {
    const int a = MonoAdvance();
    SizedFace& face = Face(kMono);
    struct Case {
        std::string_view bytes;
        int charset;
        std::u32string expected;
    };
    for (const Case& c : {
             Case{"\x8ELU\x8DOU\xC8K\xDD", 238, U"\u017DLU\u0164OU\u010CK\u00DD"},
             Case{"\x8ELU\x8DOU\xC8K\xDD", 1, U"\u017DLU\u0164OU\u010CK\u00DD"},
             Case{"\xDE\xD0\xDD\xFE", 162, U"\u015E\u011E\u0130\u015F"},
             Case{"\xDE\xD0\xDD\xFE", 238, U"\u0162\u0110\u00DD\u0163"},
         }) {
        SCOPED_TRACE(c.charset);
        FontSpec font = kMono;
        font.charset = c.charset;
        const Rect box{0, 0, 12 * a, face.line_height()};
        // What the characters' own glyphs look like side by side.
        TextMask expected;
        expected.box = box;
        expected.coverage.resize(static_cast<size_t>(box.Width()) * box.Height());
        for (size_t i = 0; i < c.expected.size(); ++i) {
            const unsigned index = face.GlyphIndex(c.expected[i]);
            ASSERT_NE(index, 0u) << i; // a real glyph, not the face's .notdef box
            const Glyph& glyph = face.GlyphAt(index);
            for (int y = 0; y < glyph.rows; ++y) {
                for (int x = 0; x < glyph.width; ++x) {
                    const int tx = static_cast<int>(i) * a + glyph.left + x;
                    const int ty = face.ascent() - glyph.top + y;
                    if (tx >= 0 && tx < box.right && ty >= 0 && ty < box.bottom) {
                        expected.coverage[static_cast<size_t>(ty) * box.Width() + tx] =
                            glyph.coverage[static_cast<size_t>(y) * glyph.width + x];
                    }
                }
            }
        }
        EXPECT_EQ(Render(resolver_, font, c.bytes, box, 0).coverage, expected.coverage);
    }
}

TEST_F(TextTest, CharactersTheFaceLacksComeFromTheFallbackFace) {
    // The extra-light face has no bullet and no trade mark sign, as many display fonts lack them.
    std::filesystem::copy_file(kDejaVuDir + "DejaVuSans-ExtraLight.ttf", dir_ / "disc/KAVLO/bc.jpg");
    ASSERT_EQ(fonts_.AddFontResource("D:\\KAVLO\\bc.jpg"), 1);
    const std::vector<std::string> families = fonts_.Families();
    ASSERT_EQ(families.size(), 2u);
    const FontSpec light{.name = families[1], .height = -16};
    SizedFace& face = Face(light);
    ASSERT_EQ(resolver_.Locate(light)->path, (dir_ / "disc/KAVLO/bc.jpg").string());
    ASSERT_EQ(face.GlyphIndex(U'\u2022'), 0u);
    SizedFace* fallback = resolver_.ResolveFallback(light);
    ASSERT_NE(fallback, nullptr);
    const unsigned bullet = fallback->GlyphIndex(U'\u2022');
    ASSERT_NE(bullet, 0u);

    const Glyph& a = face.GlyphAt(face.GlyphIndex(U'a'));
    const Glyph& dot = fallback->GlyphAt(bullet);
    const Rect box{0, 0, 40, face.line_height()};
    const TextMask mask = Render(resolver_, light, "a\x95", box, 0);
    EXPECT_EQ(Calc(light, "a\x95", box, 0).Width(), a.advance_px + dot.advance_px);
    // The bullet's own pixels, on the line's baseline, right after the "a".
    const int x0 = a.advance_px + dot.left;
    const int y0 = face.ascent() - dot.top;
    for (int y = 0; y < dot.rows; ++y) {
        for (int x = 0; x < dot.width; ++x) {
            ASSERT_EQ(mask.At(x0 + x, y0 + y), dot.coverage[static_cast<size_t>(y) * dot.width + x]);
        }
    }
}

TEST_F(TextTest, GlyphsOutsideTheBoxAreClipped) {
    FontSpec huge = kSans;
    huge.height = -100000; // damaged form data must not ask for gigantic glyphs
    for (const FontSpec& font : {kSans, huge}) {
        for (const Rect& box : {Rect{-5, -3, 6, 4}, Rect{100, 100, 103, 140}, Rect{0, 0, 0, 10}}) {
            const TextMask mask = Render(resolver_, font, "WWWW\r\nWWWW", box, kDtCenter | kDtVCenter);
            EXPECT_EQ(mask.box, box);
            EXPECT_EQ(mask.coverage.size(), static_cast<size_t>(std::max(0, box.Width()) * box.Height()));
            EXPECT_EQ(mask.At(box.left - 1, box.top), 0);
        }
    }
    EXPECT_LE(Face(huge).line_height(), 1024);
    // The part inside shows the same pixels as an unclipped drawing.
    const TextMask whole = Render(resolver_, kSans, "Kavlo", {0, 0, 60, 20}, 0);
    const TextMask part = Render(resolver_, kSans, "Kavlo", {0, 0, 15, 8}, 0);
    ASSERT_FALSE(InkBounds(part).Empty());
    EXPECT_TRUE(SameMoved(part, whole, 0, 0));
}

TEST_F(TextTest, APartOfTheBoxHoldsJustThatPartOfTheWholeDrawing) {
    // Centred, wrapped text is laid out in the whole box whatever part is asked for.
    const Rect box{-20, -6, 70, 40};
    const unsigned flags = kDtCenter | kDtVCenter | kDtWordBreak;
    const TextMask whole = Render(resolver_, kSans, "Kavlo menu of the month", box, flags);
    for (const Rect& part : {Rect{0, 0, 30, 20}, Rect{-100, 10, 100, 11}, Rect{69, 39, 200, 200}}) {
        const TextMask cut = RenderPart(resolver_, kSans, "Kavlo menu of the month", box, part, flags);
        EXPECT_EQ(cut.box, Intersect(box, part));
        ASSERT_EQ(cut.coverage.size(), static_cast<size_t>(cut.box.Width() * cut.box.Height()));
        for (int y = cut.box.top; y < cut.box.bottom; ++y) {
            for (int x = cut.box.left; x < cut.box.right; ++x) {
                ASSERT_EQ(cut.At(x, y), whole.At(x, y)) << x << "," << y;
            }
        }
    }
    EXPECT_TRUE(RenderPart(resolver_, kSans, "Kavlo", box, {500, 500, 600, 600}, flags).coverage.empty());
}

} // namespace
} // namespace kavlo
