#include "platform/profile_document.h"

#include "platform/codepage.h"

namespace kavlo {

namespace {

// Windows trims tab..CR, space and the DOS end-of-file mark ^Z around every line and name.
bool IsProfileBlank(char c) {
    return (c >= '\t' && c <= '\r') || c == ' ' || c == '\x1a';
}

std::string_view Trim(std::string_view text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && IsProfileBlank(text[begin])) {
        ++begin;
    }
    while (end > begin && IsProfileBlank(text[end - 1])) {
        --end;
    }
    return text.substr(begin, end - begin);
}

std::string FoldName(std::string_view name) {
    return UpperCase1250(Trim(name));
}

bool HasLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

// Offset of `part` inside `whole`; `part` must be a view into it.
size_t OffsetIn(std::string_view whole, std::string_view part) {
    return static_cast<size_t>(part.data() - whole.data());
}

// LF, CR LF and a lone CR all end a line; a last line without an end still counts.
std::vector<std::string_view> SplitLines(std::string_view bytes) {
    std::vector<std::string_view> lines;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.push_back(bytes.substr(start));
            break;
        }
        lines.push_back(bytes.substr(start, end - start));
        start = end + 1;
        if (bytes[end] == '\r' && start < bytes.size() && bytes[start] == '\n') {
            ++start;
        }
    }
    return lines;
}

// Appending in place; GCC 12 warns falsely (-Wrestrict) on `"[" + std::string(...) + "]"` at -O3.
std::string Joined(std::string_view a, std::string_view b, std::string_view c) {
    std::string out;
    out.reserve(a.size() + b.size() + c.size());
    out.append(a).append(b).append(c);
    return out;
}

} // namespace

ProfileDocument::Line ProfileDocument::ClassifyLine(std::string raw) {
    Line line;
    line.raw = std::move(raw);
    const std::string_view whole = line.raw;
    const std::string_view text = Trim(whole);
    if (text.empty()) {
        line.kind = LineKind::Blank;
        return line;
    }
    // Only ";" starts a comment; "#" lines are ordinary keys to Windows.
    if (text.front() == ';') {
        line.kind = LineKind::Comment;
        return line;
    }
    if (text.front() == '[') {
        // The name runs to the LAST "]", so "[a]b]" is section "a]b" and text after it is ignored.
        const size_t close = text.rfind(']');
        if (close != std::string_view::npos && close > 0) {
            const std::string_view name = Trim(text.substr(1, close - 1));
            line.kind = LineKind::Header;
            line.name_pos = OffsetIn(whole, name);
            line.name_len = name.size();
            return line;
        }
        // "[" without "]" is no header: Windows takes it as a key line.
    }
    const size_t equals = text.find('=');
    const std::string_view name = Trim(text.substr(0, equals));
    line.name_pos = OffsetIn(whole, name);
    line.name_len = name.size();
    if (equals == std::string_view::npos) {
        line.kind = LineKind::KeyOnly;
        return line;
    }
    const std::string_view value = Trim(text.substr(equals + 1));
    line.kind = LineKind::Entry;
    line.value_pos = OffsetIn(whole, value);
    line.value_len = value.size();
    return line;
}

ProfileDocument ProfileDocument::Parse(std::string_view bytes) {
    ProfileDocument doc;
    for (std::string_view text : SplitLines(bytes)) {
        Line line = ClassifyLine(std::string(text));
        if (line.kind == LineKind::Header) {
            doc.sections_.push_back(Section{std::move(line), {}, {}});
        } else if (doc.sections_.empty()) {
            doc.preamble_.push_back(std::move(line));
        } else {
            doc.sections_.back().lines.push_back(std::move(line));
        }
    }
    for (Section& section : doc.sections_) {
        IndexKeys(section);
    }
    doc.IndexSections();
    return doc;
}

void ProfileDocument::IndexKeys(Section& section) {
    section.key_index.clear();
    for (size_t i = 0; i < section.lines.size(); ++i) {
        const Line& line = section.lines[i];
        if (line.kind == LineKind::Entry || line.kind == LineKind::KeyOnly) {
            // emplace keeps the first: later keys of the same name are never found.
            section.key_index.emplace(UpperCase1250(line.Name()), i);
        }
    }
}

void ProfileDocument::IndexSections() {
    section_index_.clear();
    for (size_t i = 0; i < sections_.size(); ++i) {
        // Only the first section of a name is ever searched.
        section_index_.emplace(UpperCase1250(sections_[i].header.Name()), i);
    }
}

const ProfileDocument::Section* ProfileDocument::FindSection(std::string_view section) const {
    const auto it = section_index_.find(FoldName(section));
    return it == section_index_.end() ? nullptr : &sections_[it->second];
}

ProfileDocument::Section* ProfileDocument::FindSection(std::string_view section) {
    const auto it = section_index_.find(FoldName(section));
    return it == section_index_.end() ? nullptr : &sections_[it->second];
}

std::optional<size_t> ProfileDocument::FindKey(const Section& section, std::string_view key) {
    const auto it = section.key_index.find(FoldName(key));
    if (it == section.key_index.end()) {
        return std::nullopt;
    }
    return it->second;
}

std::optional<std::string_view> ProfileDocument::Stored(std::string_view section,
                                                        std::string_view key) const {
    const Section* found = FindSection(section);
    if (found == nullptr) {
        return std::nullopt;
    }
    const auto index = FindKey(*found, key);
    if (!index) {
        return std::nullopt;
    }
    const Line& line = found->lines[*index];
    // A key without "=" exists but has no value: the reader gets its default.
    if (line.kind != LineKind::Entry) {
        return std::nullopt;
    }
    return line.Value();
}

std::optional<std::string> ProfileDocument::Get(std::string_view section, std::string_view key) const {
    const std::optional<std::string_view> stored = Stored(section, key);
    if (!stored) {
        return std::nullopt;
    }
    std::string_view value = *stored;
    // One pair of the same quote around the value is dropped; there are no escapes.
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return std::string(value);
}

bool ProfileDocument::HasSection(std::string_view section) const {
    return FindSection(section) != nullptr;
}

std::vector<std::string> ProfileDocument::Keys(std::string_view section) const {
    std::vector<std::string> keys;
    const Section* found = FindSection(section);
    if (found == nullptr) {
        return keys;
    }
    for (const Line& line : found->lines) {
        // Keys without "=" are left out; so is an empty name, which would end Windows'
        // NUL-separated list early.
        if (line.kind == LineKind::Entry && line.name_len > 0) {
            keys.emplace_back(line.Name());
        }
    }
    return keys;
}

std::vector<std::string> ProfileDocument::Sections() const {
    std::vector<std::string> names;
    names.reserve(sections_.size());
    for (const Section& section : sections_) {
        if (section.header.name_len > 0) {
            names.emplace_back(section.header.Name());
        }
    }
    return names;
}

bool ProfileDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
    const std::string_view section_name = Trim(section);
    const std::string_view key_name = Trim(key);
    if (section_name.empty() || key_name.empty() || HasLineBreak(section) || HasLineBreak(key) ||
        HasLineBreak(value)) {
        return false;
    }
    // Build the line as it will be written and read it back, so memory always holds exactly
    // what a later Parse of the file gives.
    Section* found = FindSection(section_name);
    const size_t existing_pos = found != nullptr ? FindKey(*found, key_name).value_or(SIZE_MAX) : SIZE_MAX;
    // Windows keeps the stored spelling of an existing key and rewrites only its value.
    const std::string_view stored_name =
        existing_pos != SIZE_MAX ? std::string_view(found->lines[existing_pos].Name()) : key_name;
    Line line = ClassifyLine(Joined(stored_name, "=", value));
    if (line.kind != LineKind::Entry || FoldName(line.Name()) != FoldName(key_name)) {
        return false;
    }
    if (found == nullptr) {
        Line header = ClassifyLine(Joined("[", section_name, "]"));
        if (header.kind != LineKind::Header || FoldName(header.Name()) != FoldName(section_name)) {
            return false;
        }
        // A new section goes at the end with no blank line before it.
        sections_.push_back(Section{std::move(header), {}, {}});
        sections_.back().lines.push_back(std::move(line));
        IndexKeys(sections_.back());
        section_index_.emplace(UpperCase1250(section_name), sections_.size() - 1);
        return true;
    }
    if (existing_pos != SIZE_MAX) {
        found->lines[existing_pos] = std::move(line);
        return true;
    }
    // A new key follows the last key line of the section; comments and blank lines after it
    // stay behind the new key.
    size_t insert_at = 0;
    for (size_t i = found->lines.size(); i > 0; --i) {
        const LineKind kind = found->lines[i - 1].kind;
        if (kind == LineKind::Entry || kind == LineKind::KeyOnly) {
            insert_at = i;
            break;
        }
    }
    found->lines.insert(found->lines.begin() + static_cast<std::ptrdiff_t>(insert_at), std::move(line));
    IndexKeys(*found);
    return true;
}

bool ProfileDocument::DeleteKey(std::string_view section, std::string_view key) {
    Section* found = FindSection(section);
    if (found == nullptr) {
        return false;
    }
    const auto index = FindKey(*found, key);
    if (!index) {
        return false;
    }
    // Only the first key of the name goes; a later duplicate becomes the one that is read.
    found->lines.erase(found->lines.begin() + static_cast<std::ptrdiff_t>(*index));
    IndexKeys(*found);
    return true;
}

bool ProfileDocument::DeleteSection(std::string_view section) {
    const auto it = section_index_.find(FoldName(section));
    if (it == section_index_.end()) {
        return false;
    }
    // As with keys, only the first section of the name goes; a later duplicate becomes visible.
    sections_.erase(sections_.begin() + static_cast<std::ptrdiff_t>(it->second));
    IndexSections();
    return true;
}

std::string ProfileDocument::Serialize() const {
    size_t size = 0;
    const auto measure = [&size](const Line& line) { size += line.raw.size() + 2; };
    const auto append = [](std::string& out, const Line& line) {
        out += line.raw;
        out += "\r\n";
    };
    for (const Line& line : preamble_) {
        measure(line);
    }
    for (const Section& section : sections_) {
        measure(section.header);
        for (const Line& line : section.lines) {
            measure(line);
        }
    }
    std::string out;
    out.reserve(size);
    for (const Line& line : preamble_) {
        append(out, line);
    }
    for (const Section& section : sections_) {
        append(out, section.header);
        for (const Line& line : section.lines) {
            append(out, line);
        }
    }
    return out;
}

} // namespace kavlo
