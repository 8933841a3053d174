#include "platform/process_command_line.h"

#include <optional>

namespace kavlo {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view SkipBlanks(std::string_view text) {
    size_t at = 0;
    while (at < text.size() && IsBlank(text[at])) {
        ++at;
    }
    return text.substr(at);
}

bool HasExtension(std::string_view name) {
    const size_t dot = name.find_last_of('.');
    return dot != std::string_view::npos && name.find_first_of("\\/", dot) == std::string_view::npos;
}

// The file a program name stands for: CreateProcess appends ".EXE" to a name without an
// extension; a host program may have none, so the bare name is tried after it.
std::optional<std::string> ExistingProgram(const FileSystem& fs, std::string_view name) {
    if (name.empty()) {
        return std::nullopt;
    }
    if (!HasExtension(name)) {
        std::string with_exe = std::string(name) + ".EXE";
        if (fs.FileExists(with_exe)) {
            return with_exe;
        }
    }
    if (fs.FileExists(name)) {
        return std::string(name);
    }
    return std::nullopt;
}

ProgramAndArguments QuotedProgram(const FileSystem& fs, std::string_view line) {
    const size_t close = line.find('"', 1);
    const std::string_view name = line.substr(1, close == std::string_view::npos ? line.npos : close - 1);
    const std::string_view rest =
        close == std::string_view::npos ? std::string_view{} : line.substr(close + 1);
    const auto program = ExistingProgram(fs, name);
    return {program.value_or(std::string(name)), std::string(SkipBlanks(rest)), program.has_value()};
}

} // namespace

ProgramAndArguments SplitProgram(const FileSystem& fs, std::string_view command_line) {
    const std::string_view line = SkipBlanks(command_line);
    if (!line.empty() && line.front() == '"') {
        return QuotedProgram(fs, line);
    }
    // "C:\Program Files\A B\x.exe y" tries "C:\Program", "C:\Program Files\A", ... in turn.
    for (size_t end = 0; end <= line.size(); ++end) {
        if (end < line.size() && !IsBlank(line[end])) {
            continue;
        }
        if (auto program = ExistingProgram(fs, line.substr(0, end))) {
            return {*program, std::string(SkipBlanks(line.substr(end))), true};
        }
    }
    size_t first_blank = 0;
    while (first_blank < line.size() && !IsBlank(line[first_blank])) {
        ++first_blank;
    }
    return {std::string(line.substr(0, first_blank)), std::string(SkipBlanks(line.substr(first_blank))),
            false};
}

std::vector<std::string> SplitArguments(std::string_view arguments) {
    std::vector<std::string> result;
    std::string current;
    bool in_argument = false;
    int quotes = 0; // odd while inside quotes
    size_t at = 0;
    while (at < arguments.size()) {
        const char c = arguments[at];
        if (IsBlank(c) && quotes == 0) {
            if (in_argument) {
                result.push_back(std::move(current));
                current.clear();
                in_argument = false;
            }
            ++at;
            continue;
        }
        in_argument = true;
        if (c == '\\') {
            size_t slashes = 0;
            while (at < arguments.size() && arguments[at] == '\\') {
                ++slashes;
                ++at;
            }
            const bool before_quote = at < arguments.size() && arguments[at] == '"';
            current.append(before_quote ? slashes / 2 : slashes, '\\');
            if (before_quote && slashes % 2 == 1) {
                current += '"';
                ++at;
            }
            continue;
        }
        if (c != '"') {
            current += c;
            ++at;
            continue;
        }
        // A run of quotes: each one counts toward toggling; every third in a row is a literal.
        ++quotes;
        ++at;
        while (at < arguments.size() && arguments[at] == '"') {
            if (++quotes == 3) {
                current += '"';
                quotes = 0;
            }
            ++at;
        }
        if (quotes == 2) {
            quotes = 0;
        }
    }
    if (in_argument) {
        result.push_back(std::move(current));
    }
    return result;
}

} // namespace kavlo
