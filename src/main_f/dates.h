#pragma once

#include <string>
#include <string_view>

namespace kavlo {

class MessageBoxes;
class MessageTexts;

// What CreateDate needs besides the code: the disc language and, for Turkish discs, the date words
// of strings.ini (both from `texts`), and where a malformed code is reported in debug mode.
struct DateContext {
    const MessageTexts& texts;
    bool debug = false;
    MessageBoxes& boxes;
    // Caption of the debug box: the application's title.
    std::string_view box_caption;
};

// The release-date label text (Windows-1250; on Turkish discs the words are strings.ini bytes)
// for a catalogue date code such as "0504", "2Q04", "5304", "00", "?" or "NEXT". A malformed
// code gives an empty text and, in debug mode, the box "Wrong date format".
std::string CreateDate(std::string_view code, const DateContext& context);

} // namespace kavlo
