// Which settings controls the user may change, and why the others are greyed: a run locks them
// all, the profile "Quorvel-Modus" takes some over, and the partial range follows its check box.
// Pure, so the rules are tested without a window.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velkor {

struct FieldStateInput {
  bool running = false;        // a test runs: every setting is locked
  uint32_t profile = 2;        // the profile box's profile (engine/run_config.h numbering)
  bool partialTicked = false;  // "Teilbereich"
};

struct FieldStates {
  std::vector<int> enabled;   // control numbers to enable
  std::vector<int> disabled;  // control numbers to grey
  // Why fields are greyed although no test runs (the profile took them over); empty otherwise.
  // The window shows it in the hint line beside the profile box.
  std::wstring takeoverReason;
};

// Every control the rules decide on: the settings fields with their labels and check boxes.
// The drive list, the choice boxes above the result list, Start and Stop are the window's own
// business (Part of the run lock there).
FieldStates DecideFieldStates(const FieldStateInput& input);

}  // namespace velkor
