// Updates, screenshots and movies, and the small rules every section loader shares.

#include <algorithm>
#include <vector>

#include "engine/paths.h"
#include "main_f/catalogue_sections.h"

namespace kavlo::catalogue_detail {

int ClampCount(int count, int capacity) {
    return std::clamp(count, 0, capacity);
}

uint8_t LowByte(int32_t value) {
    return static_cast<uint8_t>(static_cast<uint32_t>(value) & 0xFFu);
}

std::string DescribeKey(int version) {
    return "Describe" + std::to_string(version);
}

const IniFile& EitherFile(const SectionSource& source, const std::string& section) {
    return source.first.ReadString(section, "Name", "").empty() ? source.second : source.first;
}

// "Name;Suffix;FileName;ReadmeName;Mode" in one key. A Mode that is no number is an editor's slip;
// the entry then stays usable with Mode 0 (the play button runs FileName).
void LoadUpdate(const SectionSource& source, int n, TUpdate& update) {
    const std::vector<std::string> parts =
        SplitList(source.first.ReadString("Updates", "Update" + std::to_string(n), ""));
    auto part = [&parts](size_t index) { return index < parts.size() ? parts[index] : std::string(); };
    update.Name = UCase(DoubleAmpersands(part(0)));
    update.Suffix = part(1);
    update.FileName = part(2);
    update.ReadmeName = part(3);
    update.Mode = parts.size() >= 5 ? LowByte(ParseProfileInteger(parts[4]).value_or(0)) : 0;
}

void LoadShot(const SectionSource& source, int n, TShot& shot) {
    const IniFile& file = source.first;
    const std::string section = "Shot" + std::to_string(n);
    shot.FullName = UCase(DoubleAmpersands(file.ReadString(section, "FullName", "")));
    shot.Name = UCase(DoubleAmpersands(file.ReadString(section, "Name", "")));
    shot.Firm = UCase(file.ReadString(section, "Firm", ""));
    shot.Date = file.ReadString(section, "Date", "");
    shot.Picture = file.ReadString(section, "Picture", "");
    shot.Web = file.ReadString(section, "Web", "");
    shot.Describe = DoubleAmpersands(file.ReadString(section, DescribeKey(source.header.Version), ""));
    shot.Describe0 = DoubleAmpersands(file.ReadString(section, "Describe0", ""));
    shot.Text = shot.Describe;
}

void LoadMovie(const SectionSource& source, int n, TMovies& movie) {
    const std::string section = "Movie" + std::to_string(n);
    const IniFile& file = EitherFile(source, section);
    movie.Name = UCase(DoubleAmpersands(file.ReadString(section, "Name", "")));
    movie.Describe = DoubleAmpersands(file.ReadString(section, DescribeKey(source.header.Version), ""));
    movie.Describe0 = DoubleAmpersands(file.ReadString(section, "Describe0", ""));
    movie.FullName = UCase(DoubleAmpersands(file.ReadString(section, "FullName", "")));
    // The catalogue writes the value with its leading back-slash.
    movie.FilePath = source.disc_drive + file.ReadString(section, "InstallDir", "");
    movie.TechInfo = UCase(file.ReadString(section, "TechInfo", ""));
    movie.InstallType = LowByte(file.ReadInteger(section, "InstallType", 0));
    movie.Date = file.ReadString(section, "Date", "");
    movie.GameName = file.ReadString(section, "GameName", "");
    movie.InstallName = file.ReadString(section, "InstallName", "");
    movie.Picture = file.ReadString(section, "Picture", "");
    movie.Firm = UCase(file.ReadString(section, "Firm", ""));
    movie.Flags = LowByte(file.ReadInteger(section, "Flags", 1));
}

} // namespace kavlo::catalogue_detail
