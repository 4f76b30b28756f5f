// What a finished run hands to the front-end.
#pragma once

#include <string>
#include <vector>

#include "results/diagnosis.h"
#include "results/result_record.h"
#include "results/results_database.h"
#include "results/verdict.h"

namespace velkor {

struct RunOutcome {
  std::vector<ResultRecord> results;
  std::wstring driveRoot;
  std::wstring fileSystem;
  std::wstring databasePath;
  bool resultsSaved = true;  // false: the results file at databasePath could not be written
  std::wstring resultsFailureLine;  // then the "FEHLER:" line that says why
  RunDiagnosis diagnosis;  // of the full test: the diagnosis when it found bad blocks, the speed curve
  ResultsFileHeader header;  // as its results file holds it: the drive, the evidence, how it ended
  Verdict verdict;           // what every output shows
};

// Hands the outcome to the front-end's receiver; without one it is destroyed at once.
void PostTestFinished(RunOutcome outcome);

}  // namespace velkor
