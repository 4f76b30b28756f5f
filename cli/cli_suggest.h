// What a user probably meant by a mistyped command, option or value.
#pragma once

#include <string>
#include <vector>

namespace velkor {

// Edit distance with adjacent transpositions ("tset" is one step from "test"), ignoring case.
size_t TypoDistance(const std::wstring& a, const std::wstring& b);

// The names typed may have meant, in the order given, compared without leading dashes and case:
// every name typed is the start of (when it is at least two characters long), else the closest
// one within a third of that name's length (at most two steps). Empty when none is close.
std::vector<std::wstring> CloseNames(const std::wstring& typed, const std::vector<std::wstring>& names);

// " Meinten Sie a?" or " Meinten Sie a oder b?" for CloseNames; empty when none is close.
std::wstring SuggestionText(const std::wstring& typed, const std::vector<std::wstring>& names);

}  // namespace velkor
