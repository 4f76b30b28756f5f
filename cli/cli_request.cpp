#include "cli/cli_request.h"

namespace velkor {

StartRequest StartRequestFromOptions(const CliOptions& o, bool verifyOnly, uint32_t cpuCount) {
  StartRequest r;
  r.verifyOnly = verifyOnly;
  r.profile = kProfileReliable;
  if (o.profile) {
    r.profile = *o.profile;
  } else if (verifyOnly && !o.sizeMb) {
    r.profile = kProfileQuorvel;  // what a bare test wrote
  }
  const ProfileDefaults defaults = ProfileDefaultsFor(r.profile, cpuCount);
  r.blockKb = o.blockKb.value_or(defaults.blockKb);
  r.workers = o.workers.value_or(defaults.workers);
  r.reserveMb = o.reserveMb.value_or(0);
  r.testPoints = o.testPoints.value_or(3);
  r.methodTest = o.methodTest;
  r.useFastest = !o.noFastest;
  r.randomTestPoints = !o.noRandomPoints;
  r.deleteAfter = o.deleteAtEnd;

  if (o.sizeMb) {
    r.testSizeMb = *o.sizeMb;
  } else if (verifyOnly) {
    r.sizeSource = SizeSource::kExistingFiles;
  } else if (!o.profile || *o.profile == kProfileQuorvel) {
    r.mode = StartMode::kCompactQuorvel;
  } else {
    r.sizeSource = SizeSource::kFreeSpace;
  }
  return r;
}

}  // namespace velkor
