#include "platform/file_extents.h"

namespace velkor::platform {

void MergeFileExtents(std::vector<FileExtent>* extents) {
  std::vector<FileExtent> merged;
  for (const FileExtent& e : *extents) {
    if (e.length == 0) continue;
    if (!merged.empty()) {
      FileExtent& last = merged.back();
      if (last.fileOffset + last.length == e.fileOffset && last.deviceOffset + last.length == e.deviceOffset) {
        last.length += e.length;
        continue;
      }
    }
    merged.push_back(e);
  }
  *extents = std::move(merged);
}

}  // namespace velkor::platform
