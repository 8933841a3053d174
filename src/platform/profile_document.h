#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kavlo {

// The text of one INI file held in memory with the Windows private-profile rules (see
// profile_document.cpp). Pure: no file access. Texts are Windows-1250 bytes; names compare
// case-insensitively and are trimmed of blanks before they are looked up, as Windows does.
// Lines that no edit touches come out of Serialize() byte for byte (ends become CR LF).
class ProfileDocument {
public:
    static ProfileDocument Parse(std::string_view bytes);

    // The value of the first matching key of the first section of that name, one pair of
    // matching quotes removed; nullopt when missing or when the key line has no "=".
    std::optional<std::string> Get(std::string_view section, std::string_view key) const;
    // The value exactly as the file stores it (quotes kept); nullopt when missing or without "=".
    std::optional<std::string_view> Stored(std::string_view section, std::string_view key) const;
    bool HasSection(std::string_view section) const;
    // Names of the keys with a value in the first section of that name, in file order.
    std::vector<std::string> Keys(std::string_view section) const;
    // Names of all section headers in file order, duplicates included.
    std::vector<std::string> Sections() const;

    // False (and nothing changed) when the names or the value cannot be stored so that they read
    // back the same: a line break anywhere, an empty name, a key with "=" or one that would read
    // as a comment or a section header.
    bool Set(std::string_view section, std::string_view key, std::string_view value);
    // True when a key line was removed.
    bool DeleteKey(std::string_view section, std::string_view key);
    // True when a section was removed (the first of that name, with all its lines).
    bool DeleteSection(std::string_view section);

    // Every line with CR LF after it.
    std::string Serialize() const;

private:
    enum class LineKind : uint8_t { Blank, Comment, Header, Entry, KeyOnly };

    struct Line {
        std::string raw; // as read, without its line end
        LineKind kind = LineKind::Blank;
        // Header: the section name; Entry and KeyOnly: the key name.
        size_t name_pos = 0;
        size_t name_len = 0;
        size_t value_pos = 0; // Entry only
        size_t value_len = 0;

        std::string_view Name() const { return std::string_view(raw).substr(name_pos, name_len); }
        std::string_view Value() const { return std::string_view(raw).substr(value_pos, value_len); }
    };

    struct Section {
        Line header;
        std::vector<Line> lines;
        // Folded key name -> index in `lines` of the first key line of that name.
        std::unordered_map<std::string, size_t> key_index;
    };

    static Line ClassifyLine(std::string raw);
    static void IndexKeys(Section& section);
    void IndexSections();
    const Section* FindSection(std::string_view section) const;
    Section* FindSection(std::string_view section);
    static std::optional<size_t> FindKey(const Section& section, std::string_view key);

    std::vector<Line> preamble_; // lines before the first header; Windows never reads them
    std::vector<Section> sections_;
    // Folded section name -> index in `sections_` of the first section of that name.
    std::unordered_map<std::string, size_t> section_index_;
};

} // namespace kavlo
