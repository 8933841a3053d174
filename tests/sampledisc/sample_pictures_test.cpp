// The disc's pictures are found the way the menu looks for them: a small picture under Small\ by the
// gallery rule, full-size pictures numbered with two digits and no gap, every page illustration in both
// colour schemes. The whole disc comes out the same, byte for byte, on every write.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "sampledisc/loaded_sample.h"
#include "skin/formats/picture.h"

namespace kavlo {
namespace {

using test::LoadedSample;
using test::ReadHostFile;
using test::TempDir;

std::string TwoDigits(int n) {
    return (n < 10 ? "0" : "") + std::to_string(n);
}

std::set<std::string> PictureNames(const Catalogue& c) {
    std::set<std::string> names;
    const auto add = [&names](const auto& table, int count) {
        for (int n = 1; n <= count; ++n) {
            if (!table[n].Picture.empty()) {
                names.insert(table[n].Picture);
            }
        }
    };
    const CatalogueHeader& h = c.header;
    add(c.Demos, h.Demos);
    add(c.Shareware, h.Shareware);
    add(c.Service, h.Service);
    add(c.Drivers, h.Drivers);
    add(c.Shots, h.Shots);
    add(c.Extra, h.Extra);
    add(c.Readers, h.Readers);
    add(c.Addons, h.Addons);
    add(c.Fulls, h.Fulls);
    add(c.Movies, h.Movies);
    add(c.Extra2, h.Extra2);
    add(c.Extra3, h.Extra3);
    return names;
}

// How much greener than blue a picture is, summed over its pixels.
int64_t Greenness(const Picture& p) {
    int64_t sum = 0;
    for (uint32_t px : p.pixels) {
        sum += static_cast<int64_t>((px >> 8) & 0xFF) - static_cast<int64_t>(px & 0xFF);
    }
    return sum;
}

TEST(SamplePictures, EveryItemsPictureResolvesByTheGalleryRules) {
    LoadedSample s(0);
    ASSERT_TRUE(s.written) << s.error;
    const FileSystem& fs = s.posix.fs();
    const std::string disc_dir = s.form.state.DiscDir;
    const std::set<std::string> names = PictureNames(s.form.catalogue);
    ASSERT_GE(names.size(), 20u);

    std::map<std::string, int> galleries;
    std::set<std::vector<uint32_t>> small_pictures;
    for (const std::string& name : names) {
        int count = 0;
        while (fs.FileExists(disc_dir + name + TwoDigits(count + 1) + ".jpg")) {
            ++count;
        }
        galleries[name] = count;
        const std::string small = disc_dir + "Small\\" + name + (count > 0 ? "01" : "") + ".bmp";
        const PictureResult picture = LoadPictureFile(fs, small);
        ASSERT_TRUE(picture) << small << ": " << picture.error;
        EXPECT_LE(picture.picture->width, 243) << small;
        EXPECT_LE(picture.picture->height, 151) << small;
        EXPECT_GE(picture.picture->width, 200) << small;
        const std::string bytes = ReadHostFile(*fs.HostPath(small));
        EXPECT_EQ(bytes[28], 24) << small << " is not a 24-bit bitmap";
        small_pictures.insert(picture.picture->pixels);
        for (int n = 1; n <= count; ++n) {
            const PictureResult full = LoadPictureFile(fs, disc_dir + name + TwoDigits(n) + ".jpg");
            ASSERT_TRUE(full) << name << n << ": " << full.error;
            EXPECT_LE(full.picture->width, 638);
            EXPECT_LE(full.picture->height, 482);
        }
    }
    EXPECT_EQ(small_pictures.size(), names.size()) << "two items show the same small picture";

    // Nothing lies past the first gap of a series, and no series belongs to a picture no item names.
    const std::regex numbered(R"((.+)(\d\d)\.jpg)");
    for (const auto& entry : std::filesystem::directory_iterator(*fs.HostPath(disc_dir))) {
        std::smatch m;
        const std::string file = entry.path().filename().string();
        if (std::regex_match(file, m, numbered)) {
            ASSERT_TRUE(galleries.count(m[1])) << file;
            EXPECT_LE(std::stoi(m[2]), galleries[m[1]]) << file << " lies past a gap";
        }
    }
    const auto sized = [&galleries](int low, int high) {
        return std::count_if(galleries.begin(), galleries.end(),
                             [&](const auto& g) { return g.second >= low && g.second <= high; });
    };
    EXPECT_GE(sized(12, 99), 1) << "no gallery pages past 09";
    EXPECT_GE(sized(1, 5), 3) << "too few small galleries";
}

TEST(SamplePictures, EveryIllustrationIsThereInBothSchemesAndTheAccentFollowsTheSuffix) {
    LoadedSample s(0);
    ASSERT_TRUE(s.written) << s.error;
    const FileSystem& fs = s.posix.fs();
    const std::string small = s.form.state.DiscDir + "Small\\";
    std::set<std::vector<uint32_t>> greens;
    for (const char* name : {"iko01", "iko02", "iko04", "iko06", "iko08", "ikoUNI"}) {
        const PictureResult green = LoadPictureFile(fs, small + name + "_GR.bmp");
        const PictureResult indigo = LoadPictureFile(fs, small + name + "_IND.bmp");
        ASSERT_TRUE(green) << name << ": " << green.error;
        ASSERT_TRUE(indigo) << name << ": " << indigo.error;
        EXPECT_EQ(green.picture->width, indigo.picture->width) << name;
        EXPECT_EQ(green.picture->height, indigo.picture->height) << name;
        EXPECT_GT(Greenness(*green.picture), Greenness(*indigo.picture)) << name;
        greens.insert(green.picture->pixels);
    }
    EXPECT_EQ(greens.size(), 6u) << "two pages show the same illustration";
    // Not an "IKO" name, so the partner page asks for it without a scheme.
    EXPECT_TRUE(LoadPictureFile(fs, small + "DOVUDIZ.bmp"));
}

std::map<std::string, std::string> DiscFiles(const std::filesystem::path& root) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        if (entry.is_regular_file()) {
            files[std::filesystem::relative(entry.path(), root).string()] = ReadHostFile(entry.path());
        }
    }
    return files;
}

TEST(SamplePictures, TheDiscIsTheSameBytesOnEveryWrite) {
    TempDir dir;
    std::string error;
    ASSERT_TRUE(sample::WriteSampleDisc(dir / "one", {}, error)) << error;
    ASSERT_TRUE(sample::WriteSampleDisc(dir / "two", {}, error)) << error;
    const std::map<std::string, std::string> one = DiscFiles(dir / "one");
    const std::map<std::string, std::string> two = DiscFiles(dir / "two");
    ASSERT_EQ(one.size(), two.size());
    for (const auto& [path, bytes] : one) {
        const auto other = two.find(path);
        ASSERT_NE(other, two.end()) << path;
        EXPECT_TRUE(bytes == other->second) << path << " differs";
    }
}

} // namespace
} // namespace kavlo
