#pragma once

#include <string>
#include <vector>

#include "sampledisc/sample_items.h"

namespace kavlo::sample {

// The program files a GameName names: one, a list of alternatives ("A.EXE:B.EXE"), or versions with
// labels and arguments ("GAME.EXE:Normal;GAME3D.EXE -gl:3D"); the menu runs whichever it finds.
std::vector<std::string> Programs(const std::string& game_name);

// Whether the item installs through a setup program of its own on the disc.
bool HasSetupProgram(const SampleItem& item);
// The setup program of an item: a shell script that installs the item into the PC root named by
// KAVLO_PC, writes what a Windows setup writes (uninstall key, program keys, INI files) through
// KAVLO_TOOL, and leaves an uninstaller behind.
std::string SetupScript(const SampleItem& item);
// The PDF reader's setup that the menu runs when the PC cannot open PDF documents: it registers the
// document type, so the next document opens without it.
std::string PdfReaderSetupScript();
// A setup that only says what it would install (drivers, service programs, updates).
std::string SimpleSetupScript(const std::string& title);

} // namespace kavlo::sample
