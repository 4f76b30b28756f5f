// Files that another program holds for a moment. A virus scanner, the indexer or a backup tool
// opens a fresh file right after it was written or closed; for a few seconds an open, a delete or
// a replacement of it then fails with a sharing violation (32) or access denied (5).
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>

namespace velkor {

// How long an open, delete or replacement keeps trying while the file is held.
inline constexpr uint32_t kHeldFileRetryMs = 5000;

// The codes of a file held by another program.
bool IsHeldFileError(uint32_t code);

// Calls attempt until it returns true, fails with a code other than IsHeldFileError, a stop is
// requested (stop may be null) or boundMs have passed, waiting a little longer between tries each
// time. Returns the last attempt's result; platform::LastError() is the last attempt's code.
bool RetryWhileHeld(const std::function<bool()>& attempt, const std::atomic<bool>* stop = nullptr,
                    uint32_t boundMs = kHeldFileRetryMs);

}  // namespace velkor
