#pragma once

#include <filesystem>
#include <string>

namespace kavlo::test {

// A fresh host directory, removed with everything in it when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& rel) const { return path_ / rel; }

private:
    std::filesystem::path path_;
};

// Writes bytes to a host file, creating its folders.
void WriteHostFile(const std::filesystem::path& path, const std::string& bytes);
// A shell script with the run bit, which the PC starts as a program whatever its name.
void WriteHostScript(const std::filesystem::path& path, const std::string& body);
std::string ReadHostFile(const std::filesystem::path& path);

} // namespace kavlo::test
