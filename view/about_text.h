// The "Über Velkor" box's texts: version, build date, licence line.
#pragma once

#include <string>

namespace velkor {


// The compiler's __DATE__ ("Mar  5 2026") as "05.03.2026"; any other text as it is.
std::wstring BuildDateText(const char* compilerDate);

// The box's text for a program built on compilerDate (__DATE__), in the current language; its
// title is Translate("about_title").
std::wstring AboutText(const char* compilerDate);

}  // namespace velkor
