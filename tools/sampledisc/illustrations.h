#pragma once

#include <string>

#include "sampledisc/disc_writer.h"

namespace kavlo::sample {

// The pages' fixed illustrations in the small-picture folder: every "iko" picture in both colour
// schemes (_GR green, _IND indigo) and the partner page's DOVUDIZ, which has no scheme.
void WriteIllustrations(DiscWriter& disc);

} // namespace kavlo::sample
