// The workers field's label, hint line and warning colours, and the profile defaults.
#pragma once

#include <cstdint>

namespace velkor {

// Reads the workers field and updates label, hint line and the field's colours.
void RefreshWorkerControl();
// Fills block size and workers with a profile's defaults and selects it in the profile box.
void ApplyProfileDefaults(uint32_t profile);

}  // namespace velkor
