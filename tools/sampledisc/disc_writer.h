#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace kavlo::sample {

// Writes files below the disc's root; paths are given the Windows way ("DEMOS\FROSTRAL\README.TXT").
class DiscWriter {
public:
    explicit DiscWriter(std::filesystem::path root) : root_(std::move(root)) {}

    std::filesystem::path HostPath(std::string_view disc_path) const;
    void Write(std::string_view disc_path, std::string_view bytes);
    // A host program: a shell script with the run bit, whatever its Windows name.
    void WriteScript(std::string_view disc_path, std::string_view script);
    // A file that could not be made; the first failure is the one reported.
    void Fail(std::string error);
    bool Failed() const { return !error_.empty(); }
    const std::string& Error() const { return error_; }

private:
    std::filesystem::path root_;
    std::string error_;
};

// The sample disc's documents and programs.
std::string ReadmeText(std::string_view title, std::string_view body);
std::string MinimalPdf(std::string_view title);
std::string GameScript(std::string_view title);
std::string WebPage(std::string_view title, std::string_view body);

} // namespace kavlo::sample
