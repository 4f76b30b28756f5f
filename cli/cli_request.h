// velkor-cli's options as the start request the window would make.
#pragma once

#include <cstdint>

#include "cli/cli_args.h"
#include "engine/start_rules.h"

namespace velkor {

// Options left out take the defaults of the chosen profile ("Zuverlässig" when none is given).
// Without --size a test fills the free space: as the window's compact start ("Quorvel-Modus")
// when no other profile was chosen, else in that profile; a verify without --size checks what
// such a test left, in "Quorvel-Modus" unless a profile was chosen.
StartRequest StartRequestFromOptions(const CliOptions& options, bool verifyOnly, uint32_t cpuCount);

}  // namespace velkor
