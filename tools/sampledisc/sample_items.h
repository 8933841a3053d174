#pragma once

#include <string>
#include <vector>

namespace kavlo::sample {

// One item of the sample catalogue, as its editor would write it (UTF-8 here).
struct SampleItem {
    std::string prefix;               // item section prefix: "Demo", "Share", "Driver", "Movie", ...
    std::vector<std::string> keys;    // "Key=Value" lines besides the descriptions
    std::string english;              // Describe0
    std::string czech;                // Describe1
    bool in_second_catalogue = false; // written to kavloxp2.ini only (drivers and movies)
};

struct SampleCatalogue {
    std::vector<std::string> main_keys; // [Main] apart from Version and the counts
    std::vector<SampleItem> items;      // in section order, numbered per prefix
    std::vector<std::string> updates;   // values of Update1, Update2, ...
};

SampleCatalogue BuildSampleCatalogue();

// The value of key `name` in "Key=Value" lines, or "".
std::string KeyValue(const std::vector<std::string>& keys, const std::string& name);

} // namespace kavlo::sample
