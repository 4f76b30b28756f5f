// The test files of a run: how the full test is split into files and named, the free-space
// preflight, creating the (empty) files, what a verify-only run needs of files left by an earlier
// run, and removing the method-test files before the full test. Each step that can end the run
// posts its "FEHLER:" log line and "Fehler:" status text itself and returns false.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/run_config.h"
#include "engine/job_variant.h"
#include "platform/files.h"
#include "results/verdict.h"

namespace velkor {

// No full-test file on FAT32 is larger than this (3800 MiB) before rounding to the block size.
inline constexpr uint64_t kFat32FileLimit = 3984588800ULL;

// Subtracted from the free space when a test is sized to the whole free space (not by the preflight).
inline constexpr uint64_t kSafetyBuffer = kFreeSpaceSafetyBuffer;

// On the system volume a writing run leaves at least this much free, and at least 5 % of it.
inline constexpr uint64_t kSystemVolumeMinimumFree = 2147483648ULL;

// The least a writing run leaves free on the system volume: the reserve asked for, but at least
// kSystemVolumeMinimumFree and 5 % of the volume.
uint64_t SystemVolumeReserve(uint64_t reserveFree, uint64_t totalBytes);

// The test file of a run in one file, and the names of a full test split into several.
inline constexpr wchar_t kTestFileName[] = L"velkor.bin";
inline constexpr wchar_t kFullTestFilePattern[] = L"velkor_full_*.bin";

// Pattern indices below this are looked for where a file's first block is checked (2^48).
inline constexpr uint64_t kMostBlockIndex = 281474976710656ULL;

// The first bytes of a file (its first block or less) are some block's test pattern of seed: the
// file is a test file of ours and may be written over. An empty file counts as ours (it holds
// nothing); fewer than 16 bytes, or anything else, do not.
bool StartsWithTestPattern(const void* data, uint64_t length, uint64_t seed);

// The root's "velkor.bin".
std::wstring TestFilePath(const std::wstring& driveRoot);

// The free bytes less the safety buffer (all of them when there are fewer), in whole blocks.
// REQUIRES: blockSize > 0.
uint64_t FreeSpaceTestSize(uint64_t freeBytes, uint32_t blockSize);

// The bytes of the test files an earlier run left in the root: "velkor.bin", or else the
// "velkor_full_NN.bin" series together; 0 when there are none.
uint64_t ExistingTestFilesSize(const std::wstring& driveRoot);

// The largest test file the run may make: kFat32FileLimit on FAT32, else config.maxFileSize
// (0: no limit).
uint64_t TestFileLimit(const TestConfig& config);

// File i (0-based) of n: config.filePath (the root's "velkor.bin") when n is 1, otherwise
// "velkor_full_%02u.bin" (i + 1) in the drive root.
std::wstring FullTestFileName(const TestConfig& config, uint64_t i, uint64_t n);

// One entry per full-test file, from offset 0, with the profile's access type named
// "<profile> (Volltest)" or, for a verify-only run, "<profile> (nur prüfen)". Empty when not even
// one block fits (test size below the block size, or a block size of 0).
std::vector<TestVariant> BuildFullTestPlan(const TestConfig& config);

// Bytes the run needs free beyond the reserve: 0 for verify-only, else the larger of the test
// size and the method test's budget (their files never exist at the same time).
uint64_t FreeSpaceNeed(const TestConfig& config);

// Bytes of the plain files with one name at paths: test files an earlier run kept, which a new
// run empties when it creates its files, so their space is free for it. Missing paths and any
// other entry count 0.
uint64_t ReusableTestFileBytes(const std::vector<std::wstring>& paths);

// The same for every "velkor.bin" and "velkor_full_NN.bin" in the root.
uint64_t LeftoverTestFileBytes(const std::wstring& driveRoot);

// The same for the files a full test of config would make (BuildFullTestPlan's paths).
uint64_t ReusableTestFileBytes(const TestConfig& config);

// Checks that FreeSpaceNeed plus the reserve fits into the drive's free space and logs the
// figures; reusable (ReusableTestFileBytes of the run's files) counts as free. On the system
// volume the reserve is SystemVolumeReserve, and the log says so. A verify-only run always
// passes (it writes nothing) but still logs them. freeForTest, when given, receives the free
// space with the reusable files (0 when it could not be queried) and totalBytes the volume's size.
bool CheckFreeSpace(const TestConfig& config, uint64_t reusable = 0, uint64_t* freeForTest = nullptr,
                    uint64_t* totalBytes = nullptr);

// What an entry that is no test file of ours is, for the log: "eine symbolische Verknüpfung",
// "ein Ordner", "eine Datei mit 2 Namen (harte Verknüpfung)", ...
std::wstring ForeignEntryText(const platform::EntryInfo& entry);

// Every path is free or a plain file whose first block holds the test pattern of seed (a test
// file of an earlier run). The first that is anything else (a link, a reparse point, a file with
// several names, a folder, a device, a file of someone else's) is reported with a "FEHLER:" line
// naming it and what it is, and a "Fehler:" status text; nothing is touched. With targetFolder, a
// file on another volume than that folder (reached through a link the system follows silently) is
// such an entry too.
bool CheckTestFileNames(const std::vector<std::wstring>& paths, uint64_t seed = kTestPatternSeed,
                        const platform::FileIdentity* targetFolder = nullptr);

// The run's test files: method-plan paths, then full-plan paths, each once, in plan order.
std::vector<std::wstring> CreatedFilesList(const std::vector<TestVariant>& methodPlan,
                                           const std::vector<TestVariant>& fullPlan);

// Creates state.createdFiles in order, each empty: a missing one is made, a plain file of an
// earlier run is emptied. Nothing is followed or emptied that is not such a file
// (CheckTestFileNames first, and again at each open), and nothing is made once the target folder
// leads elsewhere or where the file would land on another volume. Records each file's identity in
// state.createdIdentities. Stops at the first failure, leaving the files created before it. An
// existing file is checked again on the handle that empties it.
bool CreateTestFiles(TestState& state, uint64_t seed = kTestPatternSeed);

// A verify-only run needs every full-plan file to exist as a plain file on the target's volume
// with at least its byteCount bytes.
bool CheckVerifyOnlyFiles(const std::vector<TestVariant>& fullPlan, const TestState& state);

// Deletes the method-test files that the full test does not reuse, so the full test can use
// their space, and drops them from createdFiles (also when the delete failed). Only entries that
// are still the files this run created (createdIdentities) are deleted: the run touches no file it
// did not create.
void RemoveMethodTestFiles(const std::vector<TestVariant>& methodPlan,
                           const std::vector<TestVariant>& fullPlan,
                           std::vector<std::wstring>& createdFiles,
                           const std::map<std::wstring, platform::FileIdentity>& createdIdentities);

}  // namespace velkor

namespace velkor {

// Deletes the run's test files after the user agreed: createdFiles, or filePath alone when that
// list is empty, each only while it is still the file this run created (createdIdentities).
// Logs "Testdatei gelöscht: " or a "FEHLER:" line per file and goes on after a failure. Touches
// nothing else.
void DeleteRunTestFiles(const TestState& run);

}  // namespace velkor
