#pragma once

#include "sampledisc/disc_writer.h"
#include "sampledisc/sample_items.h"

namespace kavlo::sample {

// Every picture the items name: the small picture in KAVLO\Small (stem = name + "01" when the item has
// a gallery), and the gallery's full-size JPEGs name01.jpg, name02.jpg, ... in KAVLO.
void WriteItemPictures(DiscWriter& disc, const SampleCatalogue& catalogue);

} // namespace kavlo::sample
