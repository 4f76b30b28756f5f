// One row of the drive table, and the connection of a drive.
#pragma once

#include <cstdint>
#include <string>

namespace velkor {

// A candidate drive as the drive list shows it. Texts from the text table (no name, unknown file
// system, write status) are in the language current when the row was made.
struct DriveInfo {
  std::wstring root;        // "E:\" on Windows, the mount point elsewhere
  std::wstring label;       // volume label, or the German no_name text
  std::wstring fileSystem;  // e.g. "FAT32", "exFAT", "NTFS", or the German unknown text
  std::wstring bus;         // connection text, German or neutral in every language
  std::wstring status;      // the German write_protect, system_volume or writable text
  uint64_t totalBytes = 0;  // visible to the user
  uint64_t freeBytes = 0;   // available to the user (quota-aware)
  double freePercent = 0.0;
  bool writeProtected = false;
  bool systemVolume = false;   // holds the Windows folder (elsewhere "/" or the user's home)
  bool programVolume = false;  // holds the running program's own folder
  bool inMemory = false;       // a RAM disk (tmpfs, ramfs): a test of it checks memory, no medium
};

// The connection of a drive and whether it is a virtual disk (never offered).
struct BusTypeInfo {
  std::wstring bus;
  bool isVirtual = false;
};

}  // namespace velkor
