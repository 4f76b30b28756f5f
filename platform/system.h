// Clocks, processors, the program's location and the user's language.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace velkor::platform {

struct LocalTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, millisecond = 0;
};

// Local date and time with milliseconds.
LocalTime GetLocalTimeNow();

// Monotonic high-resolution counter and its ticks per second.
int64_t QueryCounter();
int64_t QueryCounterFrequency();

// Logical processors of the machine (at least 1).
uint32_t LogicalProcessorCount();

// The size of the large pages a buffer can ask for with AdviseLargePages, or 0 where it cannot.
size_t LargePageSize();

// Asks the system to back the range (aligned to LargePageSize) with large pages: a buffer that is
// physically contiguous reaches a disk controller as one request per read instead of being split
// at its segment limit, and costs fewer page faults and address translations. Advisory.
void AdviseLargePages(void* address, size_t length);

// Full path of the running program file; empty when the system cannot tell.
std::wstring ProgramFilePath();

// The folder for a user's own application data (Linux: $XDG_DATA_HOME, else ~/.local/share;
// Windows: %LOCALAPPDATA%); empty when the system cannot tell.
std::wstring UserDataFolder();

// True for a folder the system installs programs into and no program keeps its own files in
// (Linux: /usr, /bin and /sbin and below); a copy anywhere else counts as portable.
bool IsSystemProgramFolder(const std::wstring& folder);

// While awake is true the system does not go to sleep on its own (a sleeping machine suspends
// the USB device under test); false gives the decision back. Per calling thread on Windows;
// nothing elsewhere.
void KeepSystemAwake(bool awake);

// A drive without a medium (an empty card slot) or a failing device answers the caller with an
// error instead of a system message box that waits for someone to click it (Windows'
// SEM_FAILCRITICALERRORS); nothing elsewhere.
void SuppressCriticalErrorBoxes();

// The primary language of the user interface as a Windows primary language id
// (0x07 German, 0x09 English, 0x0C French, 0x0A Spanish, ...).
uint16_t UserInterfaceLanguage();

}  // namespace velkor::platform
