// The program's version, kept only here: the code, the Windows resource file and scripts/package
// read it from this file. Plain macros, so that the resource compiler can read them too.
#pragma once

#define VELKOR_VERSION_MAJOR 1
#define VELKOR_VERSION_MINOR 0
#define VELKOR_VERSION_PATCH 0

#define VELKOR_STRINGIZE_(x) #x
#define VELKOR_STRINGIZE(x) VELKOR_STRINGIZE_(x)

// "1.0.0"; a narrow literal (L"" VELKOR_VERSION_TEXT gives the wide one).
#define VELKOR_VERSION_TEXT                                                              \
  VELKOR_STRINGIZE(VELKOR_VERSION_MAJOR) "." VELKOR_STRINGIZE(VELKOR_VERSION_MINOR) "." \
      VELKOR_STRINGIZE(VELKOR_VERSION_PATCH)

// The licence line every package and the About box carry.
#define VELKOR_COPYRIGHT "Copyright (c) 2026 The Velkor authors"
