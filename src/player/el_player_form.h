#pragma once

#include "skin/controls/component_factory.h"

namespace kavlo {

class Backend;
struct Platform;

// Lets a form hold TElPlayerMan: its stored "Players" collection becomes players on `platform` (the
// plug-in library, the tracks' paths) and `backend` (the sound).
void RegisterPlayerClasses(ComponentFactory& factory, Platform& platform, Backend& backend);

} // namespace kavlo
