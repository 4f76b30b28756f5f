#include "drives/target_folder.h"

#include "drives/classify.h"
#include "drives/enumerate.h"
#include "platform/files.h"
#include "platform/volumes.h"

namespace velkor {
namespace {

std::wstring WithoutTrailingSeparator(std::wstring path) {
  while (path.size() > 1 && (path.back() == L'\\' || path.back() == L'/')) path.pop_back();
  return path;
}

}  // namespace

bool DescribeTestTarget(const std::wstring& folder, DriveInfo* drive) {
  std::wstring volumeRoot, fileSystem;
  if (!platform::QueryPathVolume(folder, &volumeRoot, &fileSystem)) return false;
  uint64_t freeBytes = 0, totalBytes = 0;
  if (!platform::GetVolumeSpace(folder, &freeBytes, &totalBytes)) return false;

  // A drive of the table keeps its label, bus and write status.
  EnumerateDrives();
  for (const DriveInfo& candidate : DriveTable) {
    if (WithoutTrailingSeparator(candidate.root) == WithoutTrailingSeparator(folder)) {
      *drive = candidate;
      return true;
    }
  }
  *drive = MakeDriveInfo(folder, L"", fileSystem, L"", totalBytes, freeBytes, IsWriteProtected(volumeRoot));
  if (IsSystemVolume(folder)) MarkSystemVolume(*drive);
  drive->programVolume = IsProgramVolume(folder);
  // The list never offers a RAM disk; given by its path, it is named for what it is.
  if (platform::DriveTypeOf(volumeRoot) == platform::kDriveRamDisk) {
    drive->inMemory = true;
    drive->bus = L"Arbeitsspeicher";
  }
  return true;
}

}  // namespace velkor
