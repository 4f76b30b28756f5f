// The description of one run (TestConfig), its live state (TestState) and the access profiles.
#pragma once

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/block_order.h"
#include "platform/files.h"
#include "platform/volume_lock.h"
#include "results/results_database.h"

namespace velkor {

inline constexpr uint64_t kTestPatternSeed = 0xA5A5A5A5D1A5A5A5ULL;

// A plain value: the Start command fills it, the test thread owns a copy, each job copies it again.
struct TestConfig {
  std::wstring driveRoot;
  uint64_t startOffset = 0;
  uint64_t testSize = 1073741824;
  uint32_t blockSize = 1048576;
  uint32_t workerCount = 4;
  bool verify = false;
  bool deleteAtEnd = false;
  bool writeThrough = false;
  uint32_t errorLimit = 200;
  uint64_t seed = kTestPatternSeed;
  std::wstring filePath;
  std::wstring fileSystem;
  uint64_t reserveFree = 1073741824;
  uint32_t ioChunkSize = 262144;
  uint32_t testPoints = 3;
  bool randomTestPoints = true;
  bool methodTest = false;
  bool useFastest = true;
  bool reliableOnlyBenchmark = false;
  uint64_t benchmarkBytes = 0;
  bool verifyOnly = false;
  bool isFat32 = false;  // also caps every test file at kFat32FileLimit
  uint64_t maxFileSize = 0;  // the largest test file of another file system with a limit; 0: none
  uint32_t accessProfile = 1;
  bool systemVolume = false;  // the target is the system volume: the preflight keeps a floor free
  // The job's patternBase (see TestVariant): added to a block's index in the file to give its
  // pattern index.
  uint64_t patternBase = 0;
};

struct DiagnosisCollector;  // engine/diagnosis_collector.h

enum TestPhase : int32_t {
  kPhaseIdle = 0,
  kPhaseWriting = 1,
  kPhaseVerifying = 2,
  kPhaseFinished = 3,
};

// The live state of one run, shared by the window, the test thread and the workers. The atomics
// are read without a lock; the plain fields are written by the test thread before a job's
// workers start (deletePrompted by the user-interface thread alone).
struct TestState {
  std::atomic<bool> running{false};
  std::atomic<bool> stopRequested{false};
  std::atomic<StopReason> stopReason{StopReason::kNone};  // why, once stopRequested is set
  std::atomic<bool> preflightFailed{false};  // ended before its first job; its "Fehler:" status stands
  // Why it ended before its first job: the "Fehler:" status text and the "FEHLER:" log line with
  // the figures. Written by the test thread before running turns false, read after.
  std::wstring failureStatus;
  std::wstring failureLine;
  bool failureShown = false;  // the window showed them (user-interface thread alone)
  std::atomic<bool> readsMayBeCached{false};  // a device cache could not be dropped before a verify
  std::atomic<int32_t> phase{kPhaseIdle};
  std::atomic<uint64_t> blocksWritten{0};
  std::atomic<uint64_t> blocksVerified{0};
  std::atomic<uint64_t> errorCount{0};
  std::atomic<uint64_t> totalBlocks{0};
  std::atomic<uint32_t> stopRequests{0};  // every RequestStop, so one after the first still shows
  BlockOrder blockOrder;  // hands the job's blocks to its workers in file order
  bool deletePending = false;
  bool deletePrompted = false;
  std::wstring driveRoot;
  std::wstring filePath;
  std::vector<std::wstring> createdFiles;
  // The identity each test file had when this run made it: only an entry that still has it is
  // deleted again.
  std::map<std::wstring, platform::FileIdentity> createdIdentities;
  // The target folder (driveRoot) as the run found it; nothing is written once driveRoot leads
  // elsewhere (the stick pulled, the drive letter reassigned, the mount point left empty).
  platform::FileIdentity targetFolder;
  bool targetRecorded = false;
  std::wstring targetVolume;  // platform::QueryVolumeIdentity of driveRoot as the run found it; empty: unknown
  std::atomic<bool> targetGone{false};  // set once, by whoever noticed first
  bool targetGoneShown = false;         // the window told the user (user-interface thread alone)
  uint32_t blockSize = 0;
  uint64_t jobBytes = 0;
  int64_t startTicks = 0;
  // What the full test learns about the medium; set by the test thread for the full test only,
  // while no worker runs.
  std::shared_ptr<DiagnosisCollector> diagnosis;
  platform::VolumeLock targetLock;  // taken by the front-end (LockRunTarget); RunTest lets it go at its end
};

// Stops the run for reason: the first reason given stays, later ones only repeat the request.
void RequestStop(TestState& state, StopReason reason);

// kNone while no stop is requested; a request that gave no reason counts as the user's.
StopReason CurrentStopReason(const TestState& state);

// Profiles in the order of the profile box.
enum AccessProfile : uint32_t {
  kProfileTurbo = 0,
  kProfileBalanced = 1,
  kProfileReliable = 2,
  kProfileQuorvel = 3,
};

// What a job actually runs with.
struct AccessType {
  std::wstring name;
  bool verifyAfterWrite = true;
  bool writeThrough = false;
  uint32_t ioChunkSize = 262144;
};

// A profile box selection (or any profile number) as a profile: outside 0 to 3, which includes
// "nothing selected", reads as "Zuverlässig".
uint32_t ProfileOfSelection(int64_t selection);

// Display name of a profile ("Turbo (aggressiv)", "Ausgeglichen", "Zuverlässig", "Quorvel-Modus");
// values outside 0 to 3 name "Ausgeglichen".
std::wstring AccessProfileName(uint32_t profile);

// The access type of a profile; values outside 0 to 3 give the "Ausgeglichen" type.
AccessType AccessTypeForProfile(uint32_t profile);

// What the Start command writes into the configuration for a profile (verify, writeThrough and
// errorLimit); "Quorvel-Modus" leaves writeThrough as it is. Values outside 0 to 3 count as
// ProfileOfSelection counts them.
void ApplyProfileToConfig(uint32_t profile, TestConfig& config);

// What the run's results file records of this configuration.
ResultsFileHeader ResultsHeaderOf(const TestConfig& config);

}  // namespace velkor
