// One target of velkor-cli test or verify up to its start: described, planned and asked about as
// the window would, the system volume refused unless --system-drive was given.
#pragma once

#include <cstdint>
#include <string>

#include "cli/cli_args.h"
#include "drives/drive_info.h"
#include "engine/start_rules.h"

namespace velkor {

struct TargetStart {
  std::wstring target;
  bool described = false;  // drive holds what the system told of the target
  DriveInfo drive;
  StartPlan plan;          // complete when refusal is empty
  // The one-line German text of a start that does not go ahead (the terminal shows it through
  // Localize, --summary-json keeps it); empty: it goes ahead.
  std::wstring refusal;
};

// Plans the run on target. Its "Hinweis:" lines go to standard error at once, each after prefix;
// the questions of a non-empty target and of the program's own drive are asked on a terminal
// (without one they are No); --yes answers only the first.
TargetStart PrepareTarget(const CliOptions& options, const std::wstring& target, bool verifyOnly, uint32_t cpuCount,
                          const std::wstring& prefix);

}  // namespace velkor
