#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kavlo {

// A loaded library; 0 is none.
using LibraryHandle = uintptr_t;

// Dynamic libraries loaded by file name, as LoadLibrary, GetProcAddress and FreeLibrary do. Paths are
// Windows paths (Windows-1250) resolved through the PC's file system.
class Libraries {
public:
    virtual ~Libraries() = default;

    // 0 when the file is missing or no library for this machine; LastError() says why.
    virtual LibraryHandle Load(std::string_view path) = 0;
    // The exported symbol's address; null when the library has no such export.
    virtual void* Resolve(LibraryHandle library, std::string_view symbol) = 0;
    // Each successful Load is released once; releasing 0 or an unknown handle does nothing.
    virtual void Release(LibraryHandle library) = 0;
    // Why the last Load or Resolve failed, for diagnostics.
    virtual std::string LastError() const = 0;
};

} // namespace kavlo
