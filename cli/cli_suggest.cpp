#include "cli/cli_suggest.h"

#include <algorithm>
#include <cwctype>

#include "common/localization.h"

namespace velkor {
namespace {

std::wstring Lower(std::wstring text) {
  for (wchar_t& c : text) c = static_cast<wchar_t>(std::towlower(c));
  return text;
}

// An option's name without its dashes, lower case: "--Size" and "size" compare as one.
std::wstring Bare(const std::wstring& text) {
  const size_t start = text.find_first_not_of(L'-');
  return start == std::wstring::npos ? std::wstring() : Lower(text.substr(start));
}

}  // namespace

size_t TypoDistance(const std::wstring& aText, const std::wstring& bText) {
  const std::wstring a = Lower(aText), b = Lower(bText);
  const size_t n = a.size(), m = b.size();
  // Three rows of the optimal-string-alignment table: two back for the transposition.
  std::vector<size_t> before(m + 1), previous(m + 1), current(m + 1);
  for (size_t j = 0; j <= m; ++j) previous[j] = j;
  for (size_t i = 1; i <= n; ++i) {
    current[0] = i;
    for (size_t j = 1; j <= m; ++j) {
      const size_t cost = a[i - 1] == b[j - 1] ? 0 : 1;
      current[j] = std::min({previous[j] + 1, current[j - 1] + 1, previous[j - 1] + cost});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
        current[j] = std::min(current[j], before[j - 2] + 1);
      }
    }
    before.swap(previous);
    previous.swap(current);
  }
  return previous[m];
}

std::vector<std::wstring> CloseNames(const std::wstring& typed, const std::vector<std::wstring>& names) {
  // Arguments are short; a long one is no typo of a name and would only cost time.
  const std::wstring bare = Bare(typed);
  if (bare.empty() || bare.size() > 64) return {};
  std::vector<std::wstring> starts;
  if (bare.size() >= 2) {
    for (const std::wstring& name : names) {
      const std::wstring n = Bare(name);
      if (n.size() > bare.size() && n.compare(0, bare.size(), bare) == 0) starts.push_back(name);
    }
  }
  if (!starts.empty()) return starts;
  const std::wstring* best = nullptr;
  size_t bestDistance = 3;
  for (const std::wstring& name : names) {
    if (name == typed) continue;
    const std::wstring n = Bare(name);
    const size_t d = TypoDistance(bare, n);
    if (d < bestDistance && d * 3 <= n.size()) {
      best = &name;
      bestDistance = d;
    }
  }
  if (best == nullptr) return {};
  return {*best};
}

std::wstring SuggestionText(const std::wstring& typed, const std::vector<std::wstring>& names) {
  const std::vector<std::wstring> close = CloseNames(typed, names);
  if (close.empty()) return L"";
  std::wstring list;
  for (size_t i = 0; i < close.size(); ++i) {
    if (i > 0) list += i + 1 == close.size() ? Translate(L"cli_or") : L", ";
    list += close[i];
  }
  return FormatText(L"cli_did_you_mean", {list});
}

}  // namespace velkor
