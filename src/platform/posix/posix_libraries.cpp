#include "platform/posix/posix_libraries.h"

#include <dlfcn.h>

namespace kavlo {

PosixLibraries::~PosixLibraries() {
    for (const auto& [handle, library] : loaded_) {
        dlclose(library);
    }
}

LibraryHandle PosixLibraries::Load(std::string_view path) {
    const std::optional<std::string> host = fs_.HostPath(path);
    if (!host || !fs_.FileExists(path)) {
        error_ = "no file " + std::string(path);
        return 0;
    }
    // The path always holds a separator, so dlopen never searches the library path for it.
    void* library = dlopen(host->c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        const char* why = dlerror();
        error_ = why != nullptr ? why : "cannot load " + *host;
        return 0;
    }
    const LibraryHandle handle = next_++;
    loaded_.emplace(handle, library);
    return handle;
}

void* PosixLibraries::Resolve(LibraryHandle library, std::string_view symbol) {
    const auto it = loaded_.find(library);
    if (it == loaded_.end()) {
        error_ = "no such library";
        return nullptr;
    }
    dlerror();
    void* address = dlsym(it->second, std::string(symbol).c_str());
    if (address == nullptr) {
        error_ = "no entry point " + std::string(symbol);
    }
    return address;
}

void PosixLibraries::Release(LibraryHandle library) {
    const auto node = loaded_.extract(library);
    if (!node.empty()) {
        dlclose(node.mapped());
    }
}

} // namespace kavlo
