#include "platform/file_extents.h"

#include <fcntl.h>
#include <linux/fiemap.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <string>

#include "platform/errors.h"
#include "platform/posix/posix_util.h"
#include "platform/volumes.h"

namespace velkor::platform {
namespace {

constexpr uint32_t kFiemapExtents = 256;
// Stretches whose place on the medium is not (yet) a plain one.
constexpr uint32_t kUnplaced = FIEMAP_EXTENT_UNKNOWN | FIEMAP_EXTENT_DELALLOC | FIEMAP_EXTENT_ENCODED |
                               FIEMAP_EXTENT_DATA_ENCRYPTED | FIEMAP_EXTENT_NOT_ALIGNED |
                               FIEMAP_EXTENT_DATA_INLINE | FIEMAP_EXTENT_DATA_TAIL;

// The first sector of the partition behind the block device, in bytes; 0 for a whole disk.
uint64_t PartitionStartOf(dev_t device) {
  std::ifstream in("/sys/dev/block/" + std::to_string(major(device)) + ":" + std::to_string(minor(device)) + "/start");
  unsigned long long sectors = 0;
  return in >> sectors ? sectors * 512 : 0;
}

// The block device the file system holding path reads: the file's own device for a kernel file
// system, the mount's source for one in user space (whose device numbers are anonymous).
bool BlockDeviceOfPath(const std::wstring& path, const struct stat& st, dev_t* device) {
  struct stat dev;
  const std::string own = "/sys/dev/block/" + std::to_string(major(st.st_dev)) + ":" + std::to_string(minor(st.st_dev));
  if (::stat(own.c_str(), &dev) == 0) {
    *device = st.st_dev;
    return true;
  }
  std::wstring root, fileSystem, source;
  if (!QueryPathVolume(path, &root, &fileSystem) || !QueryDeviceTarget(root, &source) ||
      ::stat(NativePath(source).c_str(), &dev) != 0 || !S_ISBLK(dev.st_mode)) {
    SetLastError(kErrorNotSupported);  // no block device: tmpfs, a network file system
    return false;
  }
  *device = dev.st_rdev;
  return true;
}

bool Fiemap(int fd, std::vector<FileExtent>* extents) {
  const size_t bytes = sizeof(fiemap) + kFiemapExtents * sizeof(fiemap_extent);
  std::vector<uint64_t> storage((bytes + 7) / 8);
  auto* map = reinterpret_cast<fiemap*>(storage.data());
  uint64_t start = 0;
  uint32_t flags = FIEMAP_FLAG_SYNC;  // places what the cache still holds
  for (;;) {
    std::fill(storage.begin(), storage.end(), 0);
    map->fm_start = start;
    map->fm_length = FIEMAP_MAX_OFFSET - start;
    map->fm_flags = flags;
    map->fm_extent_count = kFiemapExtents;
    if (::ioctl(fd, FS_IOC_FIEMAP, map) != 0) {
      SetLastErrorFromErrno(errno);
      return false;
    }
    flags = 0;
    if (map->fm_mapped_extents == 0) return true;
    for (uint32_t i = 0; i < map->fm_mapped_extents; ++i) {
      const fiemap_extent& e = map->fm_extents[i];
      if (e.fe_flags & kUnplaced) {
        SetLastError(kErrorNotSupported);
        return false;
      }
      extents->push_back({e.fe_logical, e.fe_physical, e.fe_length});
      if (e.fe_flags & FIEMAP_EXTENT_LAST) return true;
      start = e.fe_logical + e.fe_length;
    }
  }
}

// FIBMAP asks one block at a time (the driver of a file system in user space answers each). Ask
// the ends of a range and only split it where they do not lie one run apart: a few questions per
// stretch instead of one per block.
struct BlockMapper {
  int fd;
  bool failed = false;

  uint64_t Map(uint64_t block) {
    int number = static_cast<int>(block);
    if (block > static_cast<uint64_t>(INT32_MAX) || ::ioctl(fd, FIBMAP, &number) != 0) {
      if (!failed) SetLastErrorFromErrno(block > static_cast<uint64_t>(INT32_MAX) ? EFBIG : errno);
      failed = true;
      return 0;
    }
    if (number <= 0 && !failed) {
      SetLastError(kErrorNotSupported);  // a hole, or a driver that does not tell
      failed = true;
    }
    return number > 0 ? static_cast<uint64_t>(number) : 0;
  }

  // Adds to starts every block after lo, up to hi, where a new run begins.
  void Split(uint64_t lo, uint64_t atLo, uint64_t hi, uint64_t atHi, std::vector<std::pair<uint64_t, uint64_t>>* starts) {
    if (failed || atHi - atLo == hi - lo) return;
    if (hi - lo == 1) {
      starts->push_back({hi, atHi});
      return;
    }
    const uint64_t mid = lo + (hi - lo) / 2;
    const uint64_t atMid = Map(mid);
    Split(lo, atLo, mid, atMid, starts);
    Split(mid, atMid, hi, atHi, starts);
  }
};

bool Fibmap(int fd, uint64_t size, std::vector<FileExtent>* extents) {
  int blockSize = 0;
  if (::ioctl(fd, FIGETBSZ, &blockSize) != 0 || blockSize <= 0) {
    SetLastErrorFromErrno(errno);
    return false;
  }
  const uint64_t bs = static_cast<uint64_t>(blockSize);
  const uint64_t blocks = (size + bs - 1) / bs;
  if (blocks == 0) return true;
  BlockMapper mapper{fd};
  std::vector<std::pair<uint64_t, uint64_t>> starts = {{0, mapper.Map(0)}};
  if (blocks > 1) mapper.Split(0, starts[0].second, blocks - 1, mapper.Map(blocks - 1), &starts);
  if (mapper.failed) return false;
  for (size_t i = 0; i < starts.size(); ++i) {
    const uint64_t end = i + 1 < starts.size() ? starts[i + 1].first : blocks;
    extents->push_back({starts[i].first * bs, starts[i].second * bs, (end - starts[i].first) * bs});
  }
  return true;
}

}  // namespace

bool QueryFileExtents(const std::wstring& path, std::vector<FileExtent>* extents) {
  extents->clear();
  const int fd = ::open(NativePath(path).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    SetLastErrorFromErrno(errno);
    return false;
  }
  struct stat st;
  dev_t device = 0;
  bool ok = ::fstat(fd, &st) == 0;
  if (!ok) SetLastErrorFromErrno(errno);
  ok = ok && BlockDeviceOfPath(path, st, &device);
  if (ok && !Fiemap(fd, extents)) {
    extents->clear();
    ok = Fibmap(fd, static_cast<uint64_t>(st.st_size), extents);
  }
  ::close(fd);
  if (!ok) {
    extents->clear();
    return false;
  }
  const uint64_t partition = PartitionStartOf(device);
  for (FileExtent& e : *extents) e.deviceOffset += partition;
  MergeFileExtents(extents);
  return true;
}

}  // namespace velkor::platform
