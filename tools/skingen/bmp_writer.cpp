#include "bmp_writer.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "le_bytes.h"

namespace kavlo::skingen {

namespace {

int Stride(int width, int bits) {
    return ((width * bits + 31) / 32) * 4;
}

// File header, info header and palette for a picture of `bits` per pixel.
std::string Headers(int width, int height, int bits, const std::vector<uint32_t>& palette) {
    uint32_t palette_bytes = static_cast<uint32_t>(palette.size()) * 4;
    uint32_t offset = 14 + 40 + palette_bytes;
    uint32_t image_bytes = static_cast<uint32_t>(Stride(width, bits)) * height;
    std::string out = "BM";
    Put32(out, offset + image_bytes);
    Put32(out, 0);
    Put32(out, offset);
    Put32(out, 40);
    Put32(out, static_cast<uint32_t>(width));
    Put32(out, static_cast<uint32_t>(height)); // positive: bottom-up rows
    Put16(out, 1);
    Put16(out, static_cast<uint32_t>(bits));
    Put32(out, 0); // BI_RGB
    Put32(out, image_bytes);
    Put32(out, 2835); // 72 dpi
    Put32(out, 2835);
    Put32(out, static_cast<uint32_t>(palette.size()));
    Put32(out, 0);
    for (uint32_t rgb : palette) {
        Put32(out, rgb & 0xFFFFFF); // blue, green, red, reserved
    }
    return out;
}

uint32_t Rgb(const Rgba& c) {
    return (uint32_t{ToByte(c.r)} << 16) | (uint32_t{ToByte(c.g)} << 8) | ToByte(c.b);
}

} // namespace

std::string Bmp24(const Canvas& canvas) {
    std::string out = Headers(canvas.Width(), canvas.Height(), 24, {});
    int pad = Stride(canvas.Width(), 24) - canvas.Width() * 3;
    for (int y = canvas.Height() - 1; y >= 0; --y) {
        for (int x = 0; x < canvas.Width(); ++x) {
            uint32_t rgb = Rgb(canvas.At(x, y));
            out.push_back(static_cast<char>(rgb & 0xFF));
            out.push_back(static_cast<char>((rgb >> 8) & 0xFF));
            out.push_back(static_cast<char>((rgb >> 16) & 0xFF));
        }
        out.append(pad, '\0');
    }
    return out;
}

std::string Bmp8(const IndexedPicture& picture) {
    std::string out = Headers(picture.width, picture.height, 8, picture.palette);
    int pad = Stride(picture.width, 8) - picture.width;
    for (int y = picture.height - 1; y >= 0; --y) {
        const uint8_t* row = picture.indexes.data() + static_cast<size_t>(y) * picture.width;
        out.append(reinterpret_cast<const char*>(row), picture.width);
        out.append(pad, '\0');
    }
    return out;
}

std::string Bmp1(int width, int height, const std::vector<bool>& set, uint32_t colour0, uint32_t colour1) {
    std::string out = Headers(width, height, 1, {colour0, colour1});
    int stride = Stride(width, 1);
    for (int y = height - 1; y >= 0; --y) {
        std::string row(stride, '\0');
        for (int x = 0; x < width; ++x) {
            if (set[static_cast<size_t>(y) * width + x]) {
                row[x / 8] = static_cast<char>(row[x / 8] | (0x80 >> (x % 8)));
            }
        }
        out += row;
    }
    return out;
}

namespace {

struct ColourCount {
    uint32_t rgb;
    uint32_t count;
};

int Channel(uint32_t rgb, int c) {
    return static_cast<int>((rgb >> (16 - 8 * c)) & 0xFF);
}

// One box of the median cut: a run of the sorted colour table.
struct CutBox {
    size_t begin, end;
    int widest; // channel with the largest range
    int range;  // that range
    uint64_t weight;
};

CutBox Measure(const std::vector<ColourCount>& colours, size_t begin, size_t end) {
    CutBox box{begin, end, 0, -1, 0};
    for (int c = 0; c < 3; ++c) {
        int lo = 255, hi = 0;
        for (size_t i = begin; i < end; ++i) {
            lo = std::min(lo, Channel(colours[i].rgb, c));
            hi = std::max(hi, Channel(colours[i].rgb, c));
        }
        if (hi - lo > box.range) {
            box.range = hi - lo, box.widest = c;
        }
    }
    for (size_t i = begin; i < end; ++i) {
        box.weight += colours[i].count;
    }
    return box;
}

uint32_t Average(const std::vector<ColourCount>& colours, const CutBox& box) {
    uint64_t sum[3] = {0, 0, 0}, n = 0;
    for (size_t i = box.begin; i < box.end; ++i) {
        for (int c = 0; c < 3; ++c) {
            sum[c] += uint64_t(Channel(colours[i].rgb, c)) * colours[i].count;
        }
        n += colours[i].count;
    }
    uint32_t rgb = 0;
    for (int c = 0; c < 3; ++c) {
        rgb |= static_cast<uint32_t>((sum[c] + n / 2) / n) << (16 - 8 * c);
    }
    return rgb;
}

std::vector<uint32_t> MedianCut(std::vector<ColourCount> colours, int wanted) {
    std::vector<CutBox> boxes{Measure(colours, 0, colours.size())};
    while (static_cast<int>(boxes.size()) < wanted) {
        // Split the box whose colours spread furthest, weighted by how many pixels it holds.
        auto it = std::max_element(boxes.begin(), boxes.end(), [](const CutBox& a, const CutBox& b) {
            return double(a.range) * std::sqrt(double(a.weight)) <
                   double(b.range) * std::sqrt(double(b.weight));
        });
        if (it->range <= 0 || it->end - it->begin < 2) {
            break;
        }
        CutBox box = *it;
        std::sort(colours.begin() + box.begin, colours.begin() + box.end,
                  [&](const ColourCount& a, const ColourCount& b) {
                      int ca = Channel(a.rgb, box.widest), cb = Channel(b.rgb, box.widest);
                      return ca != cb ? ca < cb : a.rgb < b.rgb;
                  });
        uint64_t half = box.weight / 2, acc = 0;
        size_t cut = box.begin + 1;
        for (size_t i = box.begin; i < box.end - 1; ++i) {
            acc += colours[i].count;
            cut = i + 1;
            if (acc >= half) {
                break;
            }
        }
        *it = Measure(colours, box.begin, cut);
        boxes.push_back(Measure(colours, cut, box.end));
    }
    std::vector<uint32_t> palette;
    for (const CutBox& box : boxes) {
        palette.push_back(Average(colours, box));
    }
    std::sort(palette.begin(), palette.end());
    palette.erase(std::unique(palette.begin(), palette.end()), palette.end());
    return palette;
}

uint8_t Nearest(const std::vector<uint32_t>& palette, int r, int g, int b) {
    int best = 0;
    int best_d = 1 << 30;
    for (size_t i = 0; i < palette.size(); ++i) {
        int dr = Channel(palette[i], 0) - r, dg = Channel(palette[i], 1) - g, db = Channel(palette[i], 2) - b;
        int d = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
        if (d < best_d) {
            best_d = d, best = static_cast<int>(i);
        }
    }
    return static_cast<uint8_t>(best);
}

} // namespace

std::vector<uint32_t> MedianCutPalette(const std::vector<uint32_t>& rgb, int colours) {
    std::vector<uint32_t> sorted = rgb;
    std::sort(sorted.begin(), sorted.end());
    std::vector<ColourCount> counts;
    for (uint32_t v : sorted) {
        if (counts.empty() || counts.back().rgb != v) {
            counts.push_back({v, 0});
        }
        ++counts.back().count;
    }
    if (counts.empty()) {
        return {};
    }
    return MedianCut(std::move(counts), std::clamp(colours, 1, 256));
}

uint8_t PaletteMapper::Map(uint32_t rgb, int x, int y) {
    static constexpr int kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    int d = (kBayer[y & 3][x & 3] - 8) / 4; // -2 ... +1
    auto ch = [&](int c) { return std::clamp(Channel(rgb, c) + d, 0, 255); };
    uint32_t key = (uint32_t(ch(0)) << 16) | (uint32_t(ch(1)) << 8) | uint32_t(ch(2));
    auto [it, fresh] = nearest_.try_emplace(key, 0);
    if (fresh) {
        it->second = Nearest(palette_, ch(0), ch(1), ch(2));
    }
    return it->second;
}

uint32_t RgbOf(const Rgba& c) {
    return Rgb(c);
}

IndexedPicture Quantise(const Canvas& canvas, int colours) {
    IndexedPicture out{canvas.Width(), canvas.Height(), {}, {}};
    std::vector<uint32_t> rgb(static_cast<size_t>(canvas.Width()) * canvas.Height());
    for (int y = 0; y < canvas.Height(); ++y) {
        for (int x = 0; x < canvas.Width(); ++x) {
            rgb[static_cast<size_t>(y) * canvas.Width() + x] = Rgb(canvas.At(x, y));
        }
    }
    out.palette = MedianCutPalette(rgb, std::max(colours, 2));
    PaletteMapper mapper(out.palette);
    out.indexes.resize(rgb.size());
    for (int y = 0; y < out.height; ++y) {
        for (int x = 0; x < out.width; ++x) {
            out.indexes[static_cast<size_t>(y) * out.width + x] =
                mapper.Map(rgb[static_cast<size_t>(y) * out.width + x], x, y);
        }
    }
    return out;
}

} // namespace kavlo::skingen
