#include "sampledisc/sample_pictures.h"

#include <cctype>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "sampledisc/jpeg_writer.h"
#include "sampledisc/picture_art.h"
#include "skingen/bmp_writer.h"

namespace kavlo::sample {

namespace {

using skingen::Pictogram;

struct PictureLook {
    std::string_view name;
    SceneLook look;
    int gallery = 0; // full-size pictures
};

// One look per picture name: a motif for the item's subject, a ground and the colours of its world.
// A gallery of twelve pages past 09; the others hold one to five.
const PictureLook kLooks[] = {
    {"frost", {Motif::Car, Ground::Hills, {0x6FA8DC, 0xDDEBF5, 0xB8CCE0, 0xF4F8FB, 0xC0392B, 0xFFF4D6}}, 12},
    {"harbour",
     {Motif::Ship, Ground::Water, {0x0B1026, 0x2B3A5E, 0x141A2E, 0x1B2A44, 0x8A8F99, 0xFFD27A}},
     3},
    {"iron", {Motif::Train, Ground::Dunes, {0x3B1F3F, 0xE2885A, 0x6B3A3A, 0x4A2E22, 0x2F3B45, 0xFFC36B}}, 2},
    {"pocket", {Motif::Castle, Ground::Hills, {0x120E1A, 0x3A2C4A, 0x2A2238, 0x1E1A16, 0x6E6A66, 0xFF9A3C}}},
    {"courier",
     {Motif::Skyline, Ground::Floor, {0x050814, 0x1C2A4A, 0x3A4A6A, 0x15161C, 0x2A3040, 0xFFE08A}}},
    {"copper", {Motif::Biplane, Ground::Dunes, {0xD9825B, 0xF6D7A7, 0xB8683C, 0xC97B45, 0x6D4C41, 0xFFF1C1}}},
    {"moth", {Motif::Moth, Ground::Hills, {0x0F1A14, 0x2E4636, 0x1F3327, 0x16241B, 0xD8CFB8, 0xFFC766}}},
    {"salt", {Motif::Reeds, Ground::Water, {0xF3B58A, 0xFCE3C4, 0x7A8A6A, 0x6F8F9A, 0x8A9A4A, 0xFFF0D0}}},
    {"orbit",
     {Motif::Planet, Ground::Space, {0x020308, 0x101A3A, 0x101A3A, 0x101A3A, 0x7FB8E6, 0xE8F4FF}},
     1},
    {"tinker", {Motif::Gears, Ground::Hills, {0x8C6A3F, 0xE9D3A6, 0x9C7B4F, 0x6B4E2E, 0xB08D57, 0xFFF3D0}}},
    {"velvet", {Motif::Car, Ground::Floor, {0x14051F, 0x5A1656, 0xFF3FA4, 0x1A0C24, 0x2F2FA8, 0xFF66CC}}},
    {"amber", {Motif::Gem, Ground::Hills, {0x6E3B12, 0xE0A458, 0x7A5230, 0x4C3520, 0xE08E1B, 0xFFD27F}}},
    {"deep", {Motif::Submarine, Ground::Water, {0x02121A, 0x0B3A44, 0x06252C, 0x041A20, 0x5C6B70, 0x7FFFD4}}},
    {"ember", {Motif::Flame, Ground::Hills, {0x1A1020, 0x5A2A2A, 0x3A2A30, 0xDDE3EA, 0xE0561B, 0xFFB03B}}},
    {"kun", {Motif::Horseshoe, Ground::Hills, {0x7FC4E8, 0xE6F4D8, 0x7FAF5A, 0x4E8A3A, 0xE3B23C, 0xFFF2B0}}},
    {"signal",
     {Motif::Lighthouse, Ground::Hills, {0x1C2230, 0x4A5468, 0x2C3444, 0x222A22, 0x9AA3AD, 0xFF4A3A}}},
    {"paper",
     {Motif::PaperPlane, Ground::Hills, {0x8FA3B5, 0xD8E0E6, 0x8A9AA6, 0x6E8A6A, 0xF4F4F0, 0xFFFFFF}}},
    {"sketch", {Motif::Emblem, Ground::Desk, {0x2B5876, 0x4E4376, 0, 0, 0x4A90D9, 0xBFE3FF}, Pictogram::Pen}},
    {"tidy",
     {Motif::Emblem, Ground::Desk, {0x1F4037, 0x5E9C7A, 0, 0, 0x2E8B57, 0xCFFFE0}, Pictogram::HardDisk}},
    {"chess", {Motif::Pawn, Ground::Floor, {0x2C2C34, 0x6A6A7A, 0xC9B38A, 0x3A2E26, 0xEDE6D6, 0xFFE9B0}}},
    {"fonts",
     {Motif::Emblem, Ground::Desk, {0x5B3A6B, 0xC08497, 0, 0, 0x8E44AD, 0xFFD6F0}, Pictogram::Document}},
    {"crumbs", {Motif::Castle, Ground::Hills, {0x79B4E3, 0xF0E6C8, 0x9CB87A, 0x6A9A4A, 0xC8A46E, 0xFFE9A8}}},
    {"geomax",
     {Motif::Emblem, Ground::Desk, {0x0F2027, 0x2C5364, 0, 0, 0x1ABC9C, 0xA8FFEB}, Pictogram::Chip}},
    {"starfall",
     {Motif::Planet, Ground::Space, {0x07020F, 0x2A0E3A, 0x2A0E3A, 0x2A0E3A, 0xC0603A, 0xFFD7B0}},
     2},
    {"rustbelt",
     {Motif::Factory, Ground::Hills, {0x5C4A3A, 0xC9A27A, 0x6A5646, 0x3E342C, 0x5A4A40, 0xFFB070}}},
    {"crown", {Motif::Crown, Ground::Floor, {0x2A0A12, 0x6A1A2A, 0x8A6A2A, 0x3A1218, 0xE8B83A, 0xFFE9A0}}},
    {"tide", {Motif::Wave, Ground::Water, {0x4FB3E8, 0xCFEFFF, 0x4A8AAA, 0x1F6F9A, 0x2A8FC0, 0xFFFFFF}}},
    {"walls", {Motif::Emblem, Ground::Desk, {0x9CC9F0, 0xE8F3FF, 0, 0, 0x5A8FC0, 0xFFFFFF}, Pictogram::Star}},
    {"light",
     {Motif::Lighthouse, Ground::Water, {0x2A1B3D, 0xF29E6B, 0x3A2A40, 0x2A3A5A, 0xEDEDED, 0xFFE7A0}}},
    {"marble", {Motif::Marbles, Ground::Floor, {0x1B1E3C, 0x5860A8, 0x9AA0FF, 0x22264A, 0xE0457B, 0x6FE3FF}}},
};

constexpr int kSmallWidth = 240; // the picture area is 243 x 151
constexpr int kSmallHeight = 150;
constexpr int kFullWidth = 638; // the enlarged view's whole panel
constexpr int kFullHeight = 482;
constexpr int kJpegQuality = 85;

const PictureLook* FindLook(std::string_view name) {
    for (const PictureLook& look : kLooks) {
        if (look.name == name) {
            return &look;
        }
    }
    return nullptr;
}

// The first letters of the title's first two capitalised words, as a game's logo would show them; a
// title with fewer such words takes its first two words of any kind.
std::string Initials(const std::string& title) {
    std::string capitals, any;
    bool word_start = true;
    for (char ch : title) {
        const auto c = static_cast<unsigned char>(ch);
        const bool in_word = std::isalnum(c) != 0 || c >= 0x80;
        if (in_word && word_start && std::isalpha(c) != 0) {
            if (std::isupper(c) != 0 && capitals.size() < 2) {
                capitals += static_cast<char>(c);
            }
            if (any.size() < 2) {
                any += static_cast<char>(std::toupper(c));
            }
        }
        word_start = !in_word;
    }
    return capitals.size() == 2 ? capitals : any;
}

// FNV-1a of the name: each picture's terrain and stars are its own, and the same on every run.
uint64_t Seed(std::string_view name) {
    uint64_t hash = 0xCBF29CE484222325ull;
    for (char c : name) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001B3ull;
    }
    return hash;
}

std::string TwoDigits(int n) {
    return (n < 10 ? "0" : "") + std::to_string(n);
}

void WritePicture(DiscWriter& disc, const PictureLook& entry, const std::string& initials) {
    const std::string name(entry.name);
    const uint64_t seed = Seed(name);
    const std::string stem = entry.gallery > 0 ? name + "01" : name;
    disc.Write("KAVLO\\Small\\" + stem + ".bmp",
               skingen::Bmp24(DrawScene(entry.look, initials, kSmallWidth, kSmallHeight, 0, 0, seed)));
    for (int n = 1; n <= entry.gallery; ++n) {
        const std::optional<std::string> jpeg = EncodeJpeg(
            DrawScene(entry.look, initials, kFullWidth, kFullHeight, n, entry.gallery, seed), kJpegQuality);
        if (!jpeg) {
            disc.Fail("cannot encode the picture " + name + TwoDigits(n));
            return;
        }
        disc.Write("KAVLO\\" + name + TwoDigits(n) + ".jpg", *jpeg);
    }
}

} // namespace

void WriteItemPictures(DiscWriter& disc, const SampleCatalogue& catalogue) {
    std::set<std::string> done;
    for (const SampleItem& item : catalogue.items) {
        const std::string name = KeyValue(item.keys, "Picture");
        if (name.empty() || !done.insert(name).second) {
            continue;
        }
        const PictureLook* entry = FindLook(name);
        if (entry == nullptr) {
            disc.Fail("no look is drawn for the picture " + name);
            continue;
        }
        WritePicture(disc, *entry, Initials(KeyValue(item.keys, "FullName")));
    }
}

} // namespace kavlo::sample
