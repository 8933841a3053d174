#pragma once

// Loaders of the catalogue's sections, shared by catalogue.cpp and the per-section files.

#include <functional>
#include <string>

#include "main_f/catalogue.h"

namespace kavlo::catalogue_detail {

// What every section loader reads from: the header already loaded, both catalogue files and
// the disc drive for the composed paths.
struct SectionSource {
    const CatalogueHeader& header;
    const IniFile& first;  // kavloxp.ini
    const IniFile& second; // kavloxp2.ini, for the sections read from either file
    const std::string& disc_drive;
    const std::function<void(TDemos&)>& check_demo;
};

// The sections whose items are TDemos records, in the column order of their key table.
enum class DemosKind { Demo, Share, Service, Driver, Extra, Reader, Addon, Full, E2xtra, E3xtra };

// A count as a bound of a table: negative counts load nothing, and a count beyond the table
// loads only what fits, because writing past the table would corrupt the window's state.
int ClampCount(int count, int capacity);

// Reads item n of a TDemos section into `item`. False when the item is dropped (a Czech driver
// on a disc in another language); the entry is then free for the next item.
bool LoadDemosItem(const SectionSource& source, DemosKind kind, int n, TDemos& item);

// Loads items 1..count (count already clamped) and returns the count of items kept.
template <int N>
int LoadDemosSection(const SectionSource& source, DemosKind kind, FixedTable<TDemos, N>& table, int count) {
    int stored = 0;
    for (int n = 1; n <= count; ++n) {
        if (LoadDemosItem(source, kind, n, table[stored + 1])) {
            ++stored;
        }
    }
    return stored;
}

void LoadUpdate(const SectionSource& source, int n, TUpdate& update);
void LoadShot(const SectionSource& source, int n, TShot& shot);
void LoadMovie(const SectionSource& source, int n, TMovies& movie);

// The integer as a byte field of the record holds it: its low byte.
uint8_t LowByte(int32_t value);

// The description key of the disc language: "Describe0" ... "Describe6".
std::string DescribeKey(int version);

// kavloxp.ini when the item's section there has a non-empty "Name", else kavloxp2.ini.
const IniFile& EitherFile(const SectionSource& source, const std::string& section);

} // namespace kavlo::catalogue_detail
