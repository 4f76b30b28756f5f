// The results PDF's second page: the block map and the speed curves of a run.
#pragma once

#include <string>

#include "results/diagnosis.h"

namespace velkor {

// The page's content stream (landscape A4, font /F1); empty when run has nothing to draw.
std::string BuildDiagnosisPdfPage(const RunDiagnosis& run);

}  // namespace velkor
