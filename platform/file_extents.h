// Where a file's data lies on its medium. A fake stick keeps what lies below its real size and
// loses or wraps the rest: only the device offsets of the test file's blocks say how much of the
// medium is usable, whatever order the file system allocated them in.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velkor::platform {

// A stretch of a file: its bytes fileOffset to fileOffset + length - 1 lie at deviceOffset on
// the medium.
struct FileExtent {
  uint64_t fileOffset = 0;
  uint64_t deviceOffset = 0;
  uint64_t length = 0;
  bool operator==(const FileExtent&) const = default;
};

// The stretches of the file at path, in file order, with offsets from the start of the whole
// medium (the partition's own offset added). Linux: FIEMAP, else FIBMAP (a file system in user
// space over a block device whose driver answers it, or a kernel one without FIEMAP; it needs
// root). Windows: FSCTL_GET_RETRIEVAL_POINTERS and the partition's offset from
// IOCTL_VOLUME_GET_VOLUME_DISK_EXTENTS, no administrator rights needed. False, with LastError(),
// where the system cannot tell where every byte written lies (a stretch not yet placed, kept
// inline, compressed or encrypted, a volume over several disks).
bool QueryFileExtents(const std::wstring& path, std::vector<FileExtent>* extents);

// Joins stretches that continue one another in the file and on the medium.
void MergeFileExtents(std::vector<FileExtent>* extents);

}  // namespace velkor::platform
