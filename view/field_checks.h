// The start's number fields as typed, checked before anything else: digits only, within the
// range the field allows. A refusal names the field, the value and the range.
#pragma once

#include <cstdint>
#include <string>

#include "common/localization.h"

namespace velkor {

// The texts of the fields a start reads.
struct StartFieldTexts {
  std::wstring testSize;    // MB
  std::wstring blockSize;   // KB
  std::wstring workers;
  std::wstring reserve;     // MB
  std::wstring testPoints;
  bool partial = false;     // the two range fields are read only then, the test size only otherwise
  std::wstring partialStart;  // MB
  std::wstring partialRange;  // MB
};

// The largest number a size field in MB takes (1 PiB); larger would be no drive of this world.
inline constexpr uint64_t kLargestFieldMb = 1073741824;

// Why a start cannot read its fields: the field (a ControlNumber) and the box text.
struct FieldRefusal {
  int control = 0;  // 0: every field is fine
  std::wstring text;
};

// The refusal for the first field in window order that holds no allowed number, or for a block
// larger than the test, in language. Workers above the maximum and test points above 16 pass: the
// start lowers them and shows that.
FieldRefusal CheckStartFields(const StartFieldTexts& fields, uint32_t cpuCount, int language);

}  // namespace velkor
