// Test files that another program holds for a moment. A virus scanner, the indexer or a backup
// tool opens a fresh file right after it was written or closed; for a few seconds an open or a
// delete of it then fails with a sharing violation (32) or access denied (5). These wrappers try
// again for a while before they report, so such a moment neither ends a run nor leaves files.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "engine/run_config.h"
#include "platform/files.h"

namespace velkor {

// How long an open or delete keeps trying while the file is held.
inline constexpr uint32_t kHeldFileRetryMs = 5000;

// The codes of a file held by another program.
bool IsHeldFileError(uint32_t code);

// Calls attempt until it returns true, fails with a code other than IsHeldFileError, a stop is
// requested (stop may be null) or boundMs have passed, waiting a little longer between tries each
// time. Returns the last attempt's result; platform::LastError() is the last attempt's code.
bool RetryWhileHeld(const std::function<bool()>& attempt, const std::atomic<bool>* stop = nullptr,
                    uint32_t boundMs = kHeldFileRetryMs);

// The platform's opens of a test file, through RetryWhileHeld (creating and deleting one go
// through it in engine/run_files.cpp).
platform::FileHandle OpenTestFileForWrite(const std::wstring& path, bool writeThrough,
                                          const std::atomic<bool>* stop = nullptr);
platform::FileHandle OpenTestFileForRead(const std::wstring& path, const std::atomic<bool>* stop = nullptr);
platform::FileHandle OpenTestFileForDirectRead(const std::wstring& path, const std::atomic<bool>* stop = nullptr);

// A worker could not open its test file: one that another program still held stops the run as
// StopReason::kFileHeld (no error of the medium); a target that has gone as such
// (FailRunUnlessTargetGone); any other failure as a medium's (FailRun).
void StopOnOpenFailure(TestState& state, uint32_t code);

// The words the "FEHLER:" line of a failed open or delete adds for such a code: the file was
// still held after kHeldFileRetryMs, which says nothing about the medium. Empty for other codes.
std::wstring HeldFileNote(uint32_t code);

}  // namespace velkor
