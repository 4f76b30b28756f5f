// Test files that another program holds for a moment (common/held_retry.h). These wrappers try
// again for a while before they report, so such a moment neither ends a run nor leaves files.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "common/held_retry.h"
#include "engine/run_config.h"
#include "platform/files.h"

namespace velkor {

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
