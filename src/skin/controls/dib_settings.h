#pragma once

#include <string>

#include "skin/controls/component.h"
#include "skin/formats/compressor.h"

namespace kavlo {

// Names the compressor that packs images when they are written (DIBCompressor: the compressor's
// identifier as text).
class TDIBSettings : public TComponent {
public:
    const std::string& DIBCompressor() const { return dib_compressor_; }
    void SetDIBCompressor(std::string identifier) { dib_compressor_ = std::move(identifier); }

    // The registered compressor named; null when the text is empty or names none (images are then
    // written raw). A compressor's name is accepted as well as its identifier.
    const Compressor* Find(const CompressorRegistry& compressors) const;

private:
    std::string dib_compressor_;
};

} // namespace kavlo
