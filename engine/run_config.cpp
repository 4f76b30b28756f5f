#include "engine/run_config.h"

namespace velkor {

void RequestStop(TestState& state, StopReason reason) {
  StopReason none = StopReason::kNone;
  state.stopReason.compare_exchange_strong(none, reason);
  state.stopRequested.store(true);
  state.stopRequests.fetch_add(1);
}

StopReason CurrentStopReason(const TestState& state) {
  if (!state.stopRequested.load()) return StopReason::kNone;
  const StopReason reason = state.stopReason.load();
  return reason == StopReason::kNone ? StopReason::kUser : reason;
}

uint32_t ProfileOfSelection(int64_t selection) {
  return selection >= kProfileTurbo && selection <= kProfileQuorvel ? static_cast<uint32_t>(selection)
                                                                    : kProfileReliable;
}

std::wstring AccessProfileName(uint32_t profile) {
  switch (profile) {
    case kProfileTurbo: return L"Turbo (aggressiv)";
    case kProfileReliable: return L"Zuverlässig";
    case kProfileQuorvel: return L"Quorvel-Modus";
    default: return L"Ausgeglichen";
  }
}

AccessType AccessTypeForProfile(uint32_t profile) {
  switch (profile) {
    case kProfileTurbo: return {L"Turbo (aggressiv)", true, false, 1048576};
    case kProfileReliable: return {L"Zuverlässig", true, true, 65536};
    case kProfileQuorvel: return {L"Quorvel-Modus", true, false, 8388608};
    default: return {L"Ausgeglichen", true, false, 262144};
  }
}

void ApplyProfileToConfig(uint32_t profile, TestConfig& config) {
  switch (ProfileOfSelection(profile)) {
    case kProfileTurbo:
      config.verify = false;
      config.writeThrough = false;
      config.errorLimit = 10000;
      break;
    case kProfileBalanced:
      config.verify = false;
      config.writeThrough = false;
      config.errorLimit = 2000;
      break;
    case kProfileReliable:
      config.verify = true;
      config.writeThrough = true;
      config.errorLimit = 500;
      break;
    case kProfileQuorvel:
      config.verify = true;
      config.errorLimit = 500;
      break;
  }
}

ResultsFileHeader ResultsHeaderOf(const TestConfig& config) {
  ResultsFileHeader header;
  header.driveRoot = config.driveRoot;
  header.fileSystem = config.fileSystem;
  header.testSize = config.testSize;
  header.reserveFree = config.reserveFree;
  header.testPoints = config.testPoints;
  return header;
}

}  // namespace velkor
