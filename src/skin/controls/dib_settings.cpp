#include "skin/controls/dib_settings.h"

namespace kavlo {

const Compressor* TDIBSettings::Find(const CompressorRegistry& compressors) const {
    if (dib_compressor_.empty()) {
        return nullptr;
    }
    if (const auto id = Guid::Parse(dib_compressor_)) {
        return compressors.Find(*id);
    }
    return compressors.FindByName(dib_compressor_);
}

} // namespace kavlo
