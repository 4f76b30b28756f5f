// Describes any folder as a test target, for velkor-cli: a drive of the drive table when the
// folder is one's root, otherwise the volume that holds the folder.
#pragma once

#include <string>

#include "drives/drive_info.h"

namespace velkor {

// False when the folder does not exist or its volume cannot be asked (the platform's error code
// is then in platform::LastError()).
bool DescribeTestTarget(const std::wstring& folder, DriveInfo* drive);

}  // namespace velkor
