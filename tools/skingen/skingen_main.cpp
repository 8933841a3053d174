// skingen OUTDIR [--preview DIR]: draws the menu's artwork and writes the files the build embeds;
// with --preview, PNG pictures of it for looking at.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "skingen/art_clips.h"
#include "skingen/art_dialogs.h"
#include "skingen/art_frame.h"
#include "skingen/image_list.h"
#include "skingen/png_preview.h"
#include "skingen/preview_sheets.h"
#include "skingen/skin_outputs.h"

using namespace kavlo::skingen;

namespace {

bool WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

bool WriteFramePreviews(const std::filesystem::path& dir, const std::vector<SkinImage>& list1) {
    FrameArt frame = DrawFrame();
    bool ok = WritePngPreview(frame.picture, dir / "frame.png");
    for (int scheme = 0; scheme < 2; ++scheme) {
        Canvas window = frame.picture;
        window.Draw(list1[52 + scheme].picture, 85, 173);
        Mask keep(window.Width(), window.Height());
        for (int y = 0; y < window.Height(); ++y) {
            for (int x = 0; x < window.Width(); ++x) {
                keep.Row(y)[x] = frame.outside[size_t(y) * window.Width() + x] ? 0.0f : 1.0f;
            }
        }
        keep.SetAll();
        keep.Trim();
        window.ClipTo(keep);
        ok = WritePngPreview(window, dir / ("window_" + std::to_string(scheme) + ".png")) && ok;
        std::string n = std::to_string(scheme);
        ok = WritePngPreview(TargetDialogBackground(SchemeTheme(scheme)),
                             dir / ("dialog_target_" + n + ".png")) &&
             ok;
        ok = WritePngPreview(ExtractDialogBackground(SchemeTheme(scheme)),
                             dir / ("dialog_extract_" + n + ".png")) &&
             ok;
    }
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2 && !(argc == 4 && std::string(argv[2]) == "--preview")) {
        std::fprintf(stderr, "usage: skingen OUTDIR [--preview DIR]\n");
        return 2;
    }
    std::filesystem::path out_dir = argv[1];
    std::error_code ec;
    std::filesystem::create_directories(out_dir, ec);
    SkinBuild build = BuildSkin();
    if (!build.ok()) {
        std::fprintf(stderr, "skingen: %s\n", build.error.c_str());
        return 1;
    }
    for (const std::string& note : build.notes) {
        std::fprintf(stderr, "skingen: %s\n", note.c_str());
    }
    for (const SkinFile& file : build.files) {
        if (!WriteFile(out_dir / file.name, file.bytes)) {
            std::fprintf(stderr, "skingen: cannot write %s\n", (out_dir / file.name).string().c_str());
            return 1;
        }
    }
    if (argc == 4) {
        std::filesystem::path dir = argv[3];
        std::filesystem::create_directories(dir, ec);
        std::vector<SkinImage> list1 = BuildImageList1();
        if (!WritePreviews(list1, BuildControlsList(), dir) || !WriteFramePreviews(dir, list1) ||
            !WriteClipPreviews(DrawBorderPictures(DrawFrame().picture), dir) || !WriteCopyClipPreviews(dir)) {
            std::fprintf(stderr, "skingen: cannot write the previews to %s\n", dir.string().c_str());
            return 1;
        }
    }
    return 0;
}
