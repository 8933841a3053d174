#pragma once

#include <map>
#include <string>

#include "platform/file_system.h"
#include "platform/libraries.h"

namespace kavlo {

// Libraries through dlopen: the Windows path becomes the host file behind it first.
class PosixLibraries : public Libraries {
public:
    explicit PosixLibraries(const FileSystem& fs) : fs_(fs) {}
    ~PosixLibraries() override;
    PosixLibraries(const PosixLibraries&) = delete;
    PosixLibraries& operator=(const PosixLibraries&) = delete;

    LibraryHandle Load(std::string_view path) override;
    void* Resolve(LibraryHandle library, std::string_view symbol) override;
    void Release(LibraryHandle library) override;
    std::string LastError() const override { return error_; }

private:
    const FileSystem& fs_;
    // Handles given out, each with dlopen's own; a stale handle can never reach dlsym.
    std::map<LibraryHandle, void*> loaded_;
    LibraryHandle next_ = 1;
    std::string error_;
};

} // namespace kavlo
