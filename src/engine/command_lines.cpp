#include "engine/command_lines.h"

#include <array>

#include "engine/paths.h"

namespace kavlo {

namespace {

constexpr auto npos = std::string_view::npos;

bool Contains(std::string_view text, std::string_view part) {
    return text.find(part) != npos;
}

// Lines that name no program we can locate are started in the directory they spell out; the
// freeloader.com launcher of some discs is one of those despite its extension.
bool NamesNoProgramFile(std::string_view unquoted, std::string_view upper) {
    if (Contains(upper, ".EXE") || Contains(upper, ".CMD") || Contains(upper, ".BAT")) {
        return false;
    }
    return !Contains(upper, ".COM") || Contains(unquoted, "freeloader.com");
}

// Windows drops trailing blanks and dots of a file name, so "SETUP.EXE " names SETUP.EXE.
bool CandidateExists(const FileSystem& fs, std::string_view candidate) {
    const std::size_t last = candidate.find_last_not_of(" .");
    if (last == npos) {
        return false;
    }
    return fs.FileExists(candidate.substr(0, last + 1));
}

std::string ProgramDirOf(const FileSystem& fs, std::string_view unquoted, std::string_view upper) {
    constexpr std::array<std::string_view, 5> extensions = {".EXE", ".BAT", ".LNK", ".COM", ".CMD"};
    std::string result;
    for (std::string_view extension : extensions) {
        const std::size_t at = upper.find(extension);
        if (at == npos) {
            continue;
        }
        // The extension and one more character: a blank there is dropped by the existence test.
        const std::string_view candidate = unquoted.substr(0, at + extension.size() + 1);
        if (CandidateExists(fs, candidate)) {
            result = DirPartOf(candidate);
        } else if (extension == ".EXE") {
            result = DirPartOf(unquoted);
        }
    }
    return result;
}

// Pos() of the menu's language: 1-based, 0 when absent.
long Pos(std::string_view part, std::string_view text) {
    const std::size_t at = text.find(part);
    return at == npos ? 0 : static_cast<long>(at) + 1;
}

// Copy() of the menu's language: 1-based start, nothing for a count below one.
std::string_view Copy(std::string_view text, long start, long count) {
    if (start < 1) {
        start = 1;
    }
    if (count < 1 || start > static_cast<long>(text.size())) {
        return {};
    }
    return text.substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(count));
}

long UninstallerStart(std::string_view line) {
    long start = 0;
    if (const long quoted = Pos(" -f\"", line); quoted > 0) {
        start = quoted + 4;
    } else if (const long plain = Pos(" -f", line); plain > 0) {
        start = plain + 3;
    }
    // InstallShield's uninstaller names its log in quotes after UNINST0.000.
    constexpr std::string_view kLogMarker = "UNINST0.000\" \"";
    if (const long marker = Pos(kLogMarker, line); marker > 0) {
        start = marker + static_cast<long>(kLogMarker.size());
    }
    if (start == 0) {
        start = Pos("\"", line) + 1;
    }
    if (start < 5) {
        start = Pos(" ", line) + 1;
    }
    return start;
}

long UninstallerEnd(std::string_view line) {
    if (const long quoted = Pos(" -c\"", line); quoted > 0) {
        return quoted - 4;
    }
    return Pos(" -c", line) - 3;
}

} // namespace

std::string WorkingDirOf(const FileSystem& fs, std::string_view command_line) {
    if (command_line.empty()) {
        return {};
    }
    const std::string unquoted = StripQuotes(command_line);
    const std::string upper = UCase(unquoted);
    std::string result = NamesNoProgramFile(unquoted, upper) ? unquoted : ProgramDirOf(fs, unquoted, upper);
    if (result.empty()) {
        result = "C:\\";
    }
    // Programs kept in BIN\WIN32 expect to run from the folder two levels above it.
    if (Contains(result, "\\BIN\\WIN32")) {
        result += "..\\..\\";
    }
    return result;
}

std::string UninstallerDirOf(std::string_view command_line) {
    const long start = UninstallerStart(command_line);
    long end = UninstallerEnd(command_line);
    if (end < start) {
        end = static_cast<long>(command_line.size());
    }
    return DirPartOf(Copy(command_line, start, end - start));
}

} // namespace kavlo
