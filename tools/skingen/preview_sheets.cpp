#include "preview_sheets.h"

#include <algorithm>
#include <string>

#include "art_common.h"
#include "art_copy.h"
#include "art_dialogs.h"
#include "png_preview.h"

namespace kavlo::skingen {

namespace {

using namespace layout;

// Small images on a grey sheet, in index order, wrapped at the sheet's width.
Canvas ContactSheet(const std::vector<SkinImage>& list, int max_size) {
    constexpr int kSheetW = 900, kGap = 6;
    int x = kGap, y = kGap, row_h = 0;
    std::vector<std::pair<int, int>> at;
    for (const auto& image : list) {
        if (image.Width() > max_size) {
            at.push_back({-1, -1});
            continue;
        }
        if (x + image.Width() + kGap > kSheetW) {
            x = kGap, y += row_h + kGap, row_h = 0;
        }
        at.push_back({x, y});
        x += image.Width() + kGap;
        row_h = std::max(row_h, image.Height());
    }
    Canvas sheet(kSheetW, y + row_h + kGap, Hex(0x7A7A7A));
    for (size_t i = 0; i < list.size(); ++i) {
        if (at[i].first >= 0) {
            sheet.Draw(list[i].picture, at[i].first, at[i].second);
        }
    }
    return sheet;
}

// Stand-ins for text: dark bars where the labels write.
void TextBar(Canvas& c, double x, double y, double w, double h, Rgba colour) {
    c.Fill(RoundRect(x, y + h * 0.25, w, h * 0.5, h * 0.25), Solid(colour));
}

Canvas Screen(const std::vector<SkinImage>& l, const std::vector<SkinImage>& controls, int s, bool framed) {
    Canvas c = l[(framed ? 52 : 96) + s].picture;
    Rgba row_ink = Hex(0x2F322B);
    for (int r = 0; r < 10; ++r) {
        int y = kBarTop + kBarPitch * r;
        if (r == 1) {
            c.Draw(l[74 + s].picture, kBarX, y);
        }
        c.Draw(l[88 + 2 * s + (r == 1)].picture, kPlayX, y);
        TextBar(c, kRowsX, y + 8, 60 + (r * 37) % 60, 16, r == 1 ? (s ? Hex(0) : Hex(0xC0C0C0)) : row_ink);
    }
    for (int i = 0; i < 5; ++i) {
        int y = std::array{60, 127, 194, 261, 329}[i];
        c.Draw(l[std::array{0, 4, 8, 12, 102}[i] + 2 * s + (i == 2)].picture, kIconX, y);
        TextBar(c, 558, y + 49, 40, 13, s ? Hex(0) : Hex(0xC0C0C0));
    }
    c.Draw(l[(framed ? 92 : 98) + s].picture, kLowerCover.x, kLowerCover.y);
    c.Draw(l[(framed ? 94 : 100) + s].picture, kUpperCover.x, kUpperCover.y);
    for (int i = 0; i < 4; ++i) {
        const Box& a = kScrollArrows[i];
        c.Draw(l[(i % 2 == 0 ? 84 : 80) + 2 * s + (i == 3)].picture, a.x, a.y);
    }
    for (int i = 0; i < 5; ++i) {
        c.Draw(l[std::array{54, 56, 118, 62, 60}[i] + s].picture, kFlagX[i], kFlagY);
    }
    for (int i = 0; i < 4; ++i) {
        c.Draw(controls[s * 15 + 6 + i + (i == 1 ? 5 : 0)].picture, kActionX[i + 1], kActionY);
    }
    c.Draw(l[66 + s].picture, kCornerX[1], kCornerY);
    c.Draw(l[70 + s].picture, kArrowX, 300);
    c.Draw(l[72 + s].picture, kArrowX, 120);
    TextBar(c, 229, 216, 150, 16, Hex(0));
    TextBar(c, 229, 232, 110, 16, Hex(0));
    for (int k = 0; k < 8; ++k) {
        TextBar(c, 229, 276 + 16 * k, k == 7 ? 120 : 262, 15, Hex(0x101010));
    }
    TextBar(c, 227, 427, 220, 15, Hex(0x101010));
    TextBar(c, kPositionLabel.x, kPositionLabel.y, 40, kPositionLabel.h, row_ink);
    TextBar(c, kHelpLabel2.x, kHelpLabel2.y, 56, kHelpLabel2.h, row_ink);
    // The white key cut away, as the menu draws it.
    Canvas sponsor = l[130].picture;
    Mask keep(sponsor.Width(), sponsor.Height());
    for (int y = 0; y < sponsor.Height(); ++y) {
        for (int x = 0; x < sponsor.Width(); ++x) {
            keep.Row(y)[x] = sponsor.At(x, y) == Hex(0xFFFFFF) ? 0.0f : 1.0f;
        }
    }
    keep.SetAll();
    keep.Trim();
    sponsor.ClipTo(keep);
    c.Draw(sponsor, framed ? 344 : 534, framed ? 456 : 455);
    return c;
}

// An indexed picture as a canvas.
Canvas Unpacked(int width, int height, const std::vector<uint32_t>& palette,
                const std::vector<uint8_t>& indexes) {
    Canvas c(width, height);
    Mask all(width, height);
    for (int y = 0; y < height; ++y) {
        std::fill(all.Row(y), all.Row(y) + width, 1.0f);
    }
    all.SetAll();
    c.Composite(all, [&](double x, double y) {
        return Hex(palette[indexes[static_cast<size_t>(y) * width + static_cast<size_t>(x)]]);
    });
    return c;
}

} // namespace

bool WriteClipPreviews(const BorderPictures& border, const std::filesystem::path& dir) {
    const IndexedPicture& frame = border.frame;
    constexpr int kPerRow = 5, kGap = 4;
    Canvas lit = Unpacked(frame.width, frame.height, frame.palette, frame.indexes);
    bool ok = true;
    for (const BorderClip& clip : border.clips) {
        const IndexedClip& c = clip.clip;
        int rows = (static_cast<int>(c.frames.size()) + kPerRow - 1) / kPerRow;
        Canvas sheet(kGap + kPerRow * (c.width + kGap), kGap + rows * (c.height + kGap), Hex(0x7A7A7A));
        for (size_t f = 0; f < c.frames.size(); ++f) {
            int col = static_cast<int>(f) % kPerRow, row = static_cast<int>(f) / kPerRow;
            sheet.Draw(Unpacked(c.width, c.height, c.palette, c.frames[f]), kGap + col * (c.width + kGap),
                       kGap + row * (c.height + kGap));
        }
        int zoom = c.width * kPerRow < 400 ? 3 : c.width * kPerRow < 800 ? 2 : 1;
        ok = WritePngPreview(sheet, dir / ("clip_" + clip.name + ".png"), zoom) && ok;
        const Box& b = kClipWindows[clip.window];
        lit.Draw(Unpacked(c.width, c.height, c.palette, c.frames[c.frames.size() / 2]), b.x, b.y);
    }
    return WritePngPreview(lit, dir / "clips_lit.png") && ok;
}

bool WriteCopyClipPreviews(const std::filesystem::path& dir) {
    constexpr int kPerRow = 2, kGap = 4;
    const Box& box = kCopyClipBox;
    bool ok = true;
    for (int scheme = 0; scheme < 2; ++scheme) {
        const IndexedClip clip = DrawCopyClip(scheme);
        const Canvas plate = ExtractDialogBackground(SchemeTheme(scheme)).Crop(box.x, box.y, box.w, box.h);
        const int rows = (static_cast<int>(clip.frames.size()) + kPerRow - 1) / kPerRow;
        Canvas sheet(kGap + kPerRow * (box.w + kGap), kGap + rows * (box.h + kGap), Hex(0x7A7A7A));
        for (size_t f = 0; f < clip.frames.size(); ++f) {
            Canvas shown = plate;
            Mask drawn(box.w, box.h);
            for (int y = 0; y < box.h; ++y) {
                for (int x = 0; x < box.w; ++x) {
                    drawn.Row(y)[x] = clip.frames[f][static_cast<size_t>(y) * box.w + x] != 0 ? 1.0f : 0.0f;
                }
            }
            drawn.SetAll();
            Canvas picture = Unpacked(box.w, box.h, clip.palette, clip.frames[f]);
            picture.ClipTo(drawn);
            shown.Draw(picture, 0, 0);
            const int col = static_cast<int>(f) % kPerRow, row = static_cast<int>(f) / kPerRow;
            sheet.Draw(shown, kGap + col * (box.w + kGap), kGap + row * (box.h + kGap));
        }
        ok = WritePngPreview(sheet, dir / ("clip_" + CopyClipName(scheme) + ".png"), 2) && ok;
    }
    return ok;
}

bool WritePreviews(const std::vector<SkinImage>& list1, const std::vector<SkinImage>& controls,
                   const std::filesystem::path& dir) {
    std::filesystem::create_directories(dir);
    bool ok = WritePngPreview(ContactSheet(list1, 140), dir / "list1_small.png");
    ok = WritePngPreview(ContactSheet(list1, 140).Crop(0, 0, 450, 260), dir / "list1_zoom.png", 2) && ok;
    std::vector<SkinImage> small;
    for (int i : {64, 65, 66, 67, 68, 69,  70,  71,  72,  73,  80,  81,  82,  83,  84,  85,  86,
                  87, 88, 89, 90, 91, 110, 111, 112, 113, 114, 115, 116, 117, 118, 119, 120, 126}) {
        small.push_back(list1[i]);
    }
    ok = WritePngPreview(ContactSheet(small, 40).Crop(300, 0, 420, 40), dir / "small_zoom.png", 4) && ok;
    ok = WritePngPreview(ContactSheet(controls, 20), dir / "controls.png", 4) && ok;
    for (int i : {52, 53, 78, 79, 96, 97}) {
        Canvas on_grey(list1[i].Width(), list1[i].Height(), Hex(0x6080A0));
        on_grey.Draw(list1[i].picture, 0, 0);
        ok = WritePngPreview(on_grey, dir / ("image_" + std::to_string(i) + ".png")) && ok;
    }
    for (int s = 0; s < 2; ++s) {
        for (bool framed : {true, false}) {
            std::string name =
                std::string("screen_") + (framed ? "framed_" : "simple_") + std::to_string(s) + ".png";
            Canvas screen = Screen(list1, controls, s, framed);
            ok = WritePngPreview(screen, dir / name) && ok;
            if (framed) {
                std::string n = std::to_string(s);
                ok = WritePngPreview(screen.Crop(40, 30, 200, 110), dir / ("zoom_list_" + n + ".png"), 3) &&
                     ok;
                ok = WritePngPreview(screen.Crop(280, 10, 260, 60), dir / ("zoom_flags_" + n + ".png"), 3) &&
                     ok;
                ok =
                    WritePngPreview(screen.Crop(40, 380, 180, 102), dir / ("zoom_corner_" + n + ".png"), 3) &&
                    ok;
                ok = WritePngPreview(screen.Crop(430, 210, 208, 90), dir / ("zoom_actions_" + n + ".png"),
                                     3) &&
                     ok;
                ok =
                    WritePngPreview(screen.Crop(452, 222, 76, 22), dir / ("zoom_buttons_" + n + ".png"), 8) &&
                    ok;
            }
        }
    }
    return ok;
}

} // namespace kavlo::skingen
