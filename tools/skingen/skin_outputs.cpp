#include "skin_outputs.h"

#include "art_background.h"
#include "art_clips.h"
#include "art_copy.h"
#include "art_dialogs.h"
#include "art_extras.h"
#include "art_frame.h"
#include "bmp_writer.h"
#include "form_tform1.h"
#include "image_list.h"
#include "layout.h"
#include "le_bytes.h"
#include "skin/formats/compressor.h"
#include "skin/formats/stored_image.h"

namespace kavlo::skingen {

namespace {

// The TColor ($00BBGGRR) of a 0xRRGGBB colour.
uint32_t ColorOf(uint32_t rgb) {
    return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
}

StoredImage Record(const SkinImage& image) {
    StoredImage record;
    record.masked = image.masked;
    record.scale = image.scale;
    record.transparent = image.transparent;
    record.transparent_color = ColorOf(image.key_rgb);
    record.transparent_fixed = image.fixed_key;
    record.image = {static_cast<uint16_t>(image.Width()), static_cast<uint16_t>(image.Height()),
                    image.StoredPixels()};
    return record;
}

// The DIBImages collection: DisplayName and the DIB.* record of every item; 1 x 1 images stay raw.
FormProperties Collection(const std::vector<SkinImage>& list, const Compressor* compressor,
                          std::vector<std::string>& notes) {
    FormCollection collection;
    for (size_t i = 0; i < list.size(); ++i) {
        FormCollectionItem item;
        item.properties.push_back({"DisplayName", FormValue::Str(list[i].name)});
        bool tiny = list[i].Width() * list[i].Height() <= 1;
        std::string note = AppendStoredImage(item.properties, Record(list[i]), tiny ? nullptr : compressor);
        if (!note.empty()) {
            notes.push_back("image " + std::to_string(i) + ": " + note);
        }
        collection.items.push_back(std::move(item));
    }
    return {{"DIBImages", FormValue{std::move(collection)}}};
}

// A Windows image list as its stream stores it: the 28-byte "IL" header (version 0x101, counts, image
// size, background colour none, flags ILC_COLOR24 without a mask, no overlays), then one 24-bit bitmap
// holding the images four to a row.
std::string ImageListStream(const std::vector<SkinImage>& list, int cx, int cy) {
    constexpr int kPerRow = 4;
    constexpr int kGrow = 4;
    int capacity = static_cast<int>(list.size()) + (kGrow - static_cast<int>(list.size()) % kGrow) % kGrow;
    Canvas strip(cx * kPerRow, cy * (capacity / kPerRow), Hex(0));
    for (size_t i = 0; i < list.size(); ++i) {
        strip.Draw(list[i].picture, static_cast<int>(i % kPerRow) * cx, static_cast<int>(i / kPerRow) * cy);
    }
    std::string out;
    Put16(out, 0x4C49); // "IL"
    Put16(out, 0x101);
    Put16(out, static_cast<uint32_t>(list.size()));
    Put16(out, static_cast<uint32_t>(capacity));
    Put16(out, kGrow);
    Put16(out, static_cast<uint32_t>(cx));
    Put16(out, static_cast<uint32_t>(cy));
    Put32(out, 0xFFFFFFFF); // CLR_NONE
    Put16(out, 0x0018);     // ILC_COLOR24
    for (int i = 0; i < 4; ++i) {
        Put16(out, 0xFFFF); // no overlay image
    }
    return out + Bmp24(strip);
}

// TBitmap's stored data: the file's size, then the file.
std::string BitmapData(const std::string& bmp) {
    std::string out;
    Put32(out, static_cast<uint32_t>(bmp.size()));
    return out + bmp;
}

// TPicture's stored data: the graphic's class name as a short string, then the graphic's data.
std::string PictureData(const std::string& bmp) {
    std::string out(1, static_cast<char>(7));
    return out + "TBitmap" + BitmapData(bmp);
}

} // namespace

SkinBuild BuildSkin() {
    SkinBuild build;
    CompressorRegistry registry = CompressorRegistry::WithStandardCompressors();
    const Compressor* lzh = registry.FindByName("DIB LZH");
    if (lzh == nullptr) {
        build.error = "the DIB LZH compressor is not registered";
        return build;
    }
    std::vector<SkinImage> list1 = BuildImageList1();
    FrameArt frame = DrawFrame();
    BorderPictures border = DrawBorderPictures(frame.picture);
    std::string frame_bmp = Bmp8(border.frame);
    std::string mask_bmp = Bmp1(layout::kFrameWidth, layout::kFrameHeight, frame.outside, 0x000000, 0xFFFFFF);

    FormParts parts;
    parts.image_list1 = Collection(list1, lzh, build.notes);
    parts.image_list2 = Collection(BuildImageList2(), lzh, build.notes);
    parts.controls_bitmap = ImageListStream(BuildControlsList(), 14, 13);
    parts.frame_picture = PictureData(frame_bmp);
    parts.image1_picture = PictureData(Bmp24(HomeButton(list1[52].picture)));
    parts.shaper_bitmap = BitmapData(mask_bmp);
    parts.compressor_id = lzh->Id().ToString();
    FormWriteResult form = WriteFormStream(BuildForm1(std::move(parts)));
    if (!form.ok()) {
        build.error = "TFORM1: " + form.error;
        return build;
    }
    build.files.push_back({"TFORM1", std::move(form.bytes)});
    build.files.push_back({"BMP1", Bmp24(TargetDialogBackground(SchemeTheme(0)))});
    build.files.push_back({"BMP2", Bmp24(TargetDialogBackground(SchemeTheme(1)))});
    build.files.push_back({"BMP3", Bmp24(ExtractDialogBackground(SchemeTheme(0)))});
    build.files.push_back({"BMP4", Bmp24(ExtractDialogBackground(SchemeTheme(1)))});
    for (const BorderClip& clip : border.clips) {
        build.files.push_back({clip.name, WriteAviRle8(clip.clip, kClipMicroSecPerFrame, 15, 1)});
    }
    for (int scheme = 0; scheme < 2; ++scheme) {
        build.files.push_back(
            {CopyClipName(scheme), WriteAviRle8(DrawCopyClip(scheme), kCopyMicroSecPerFrame, 15, 1)});
    }
    build.files.push_back({"MASK", std::move(mask_bmp)});
    build.files.push_back({"IMAGE4", std::move(frame_bmp)});
    return build;
}

} // namespace kavlo::skingen
