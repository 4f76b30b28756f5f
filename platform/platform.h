// The operations Velkor needs from the operating system, as free functions. Declared here once,
// implemented once per system in platform/win32 and platform/posix; exactly one set is built.
#pragma once

#include "platform/errors.h"
#include "platform/files.h"
#include "platform/profile.h"
#include "platform/system.h"
#include "platform/text.h"
#include "platform/volumes.h"
