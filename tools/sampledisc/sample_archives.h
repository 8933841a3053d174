#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "rarwriter/rar_writer.h"
#include "sampledisc/sample_items.h"

namespace kavlo::sample {

// An item's document as the disc holds it: a PDF, a web page or a text in the disc's code page.
std::string DocumentBytes(const std::string& path, const SampleItem& item);

// Whether the item installs by unpacking a RAR archive from the disc.
bool HasArchive(const SampleItem& item);

// What an archive item's archive holds: its programs (host scripts that keep their run bit), its
// readme, a DATA folder and an empty SAVES folder. One item's archive is large (a few MB, some
// two hundred entries), the size of a real full game's.
std::vector<rarwriter::RarEntry> ArchiveEntries(const SampleItem& item);

// The archive's file bytes in total and its entries, directories included.
std::uint64_t UnpackedBytes(const std::vector<rarwriter::RarEntry>& entries);

// The catalogue states what each archive holds: a demo's "UnpackedSize" is the exact byte total
// (the install judges a demo incomplete when they differ by one byte), other items' "FilesInArchive"
// the entry count. Both are set from the archive that will be written.
void StateArchiveTotals(SampleItem& item);

} // namespace kavlo::sample
