#include "view/field_states.h"

#include <algorithm>

#include "common/localization.h"
#include "view/control_numbers.h"

namespace velkor {
namespace {

constexpr uint32_t kQuorvel = 3;

// Every setting with its label, in the window's order.
constexpr int kSettings[] = {
    kCtlTestSizeLabel,     kCtlTestSizeField,     kCtlBlockLabel,        kCtlBlockField,
    kCtlWorkerLabel,       kCtlWorkerField,       kCtlReserveLabel,      kCtlReserveField,
    kCtlTestPointsLabel,   kCtlTestPointsField,   kCtlMethodCheck,       kCtlFastestCheck,
    kCtlRandomPointsCheck, kCtlProfileLabel,      kCtlProfileBox,        kCtlPartialCheck,
    kCtlPartialStartLabel, kCtlPartialStartField, kCtlPartialRangeLabel, kCtlPartialRangeField,
    kCtlDeleteCheck,
};

// What "Quorvel-Modus" decides itself: it fills the free space from the start of the drive,
// keeps no reserve, runs no method test and deletes its file after the question.
constexpr int kQuorvelTakesOver[] = {
    kCtlTestSizeLabel,   kCtlTestSizeField,   kCtlReserveLabel,      kCtlReserveField,
    kCtlTestPointsLabel, kCtlTestPointsField, kCtlMethodCheck,       kCtlFastestCheck,
    kCtlRandomPointsCheck, kCtlPartialCheck,  kCtlPartialStartLabel, kCtlPartialStartField,
    kCtlPartialRangeLabel, kCtlPartialRangeField, kCtlDeleteCheck,
};

constexpr int kPartialRange[] = {kCtlPartialStartLabel, kCtlPartialStartField, kCtlPartialRangeLabel,
                                 kCtlPartialRangeField};

template <size_t N>
bool In(const int (&list)[N], int number) {
  return std::find(std::begin(list), std::end(list), number) != std::end(list);
}

}  // namespace

FieldStates DecideFieldStates(const FieldStateInput& in) {
  FieldStates states;
  const bool quorvel = in.profile == kQuorvel;
  for (int number : kSettings) {
    bool enable = !in.running;
    if (quorvel && In(kQuorvelTakesOver, number)) enable = false;
    if (!in.partialTicked && In(kPartialRange, number)) enable = false;
    (enable ? states.enabled : states.disabled).push_back(number);
  }
  if (quorvel && !in.running) states.takeoverReason = Translate(L"quorvel_takes_over");
  return states;
}

}  // namespace velkor
