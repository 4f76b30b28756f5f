// The four interface languages and the one text table behind everything the window shows:
// captions, menus, hints, boxes, status and progress texts, the report box and the summary. Files
// (log, results, exports, velkor-cli's --summary-json) stay German: their writers ask for
// kLanguageGerman, and the German column is their text byte for byte. velkor-cli speaks the
// language of the locale or of its --lang on the terminal.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace velkor {

inline constexpr int kLanguageGerman = 0;
inline constexpr int kLanguageEnglish = 1;
inline constexpr int kLanguageFrench = 2;
inline constexpr int kLanguageSpanish = 3;
inline constexpr int kLanguageCount = 4;

// The interface language in use: set at start-up from the settings file or the platform, changed
// by the language choice. User-interface thread only.
extern int CurrentLanguage;

// One row of the text table: the key and its German, English, French and Spanish text.
struct TextRow {
  const wchar_t* key;
  const wchar_t* texts[kLanguageCount];
};

// All rows of the table (the window's captions first, then menus, hints, boxes, status texts
// and the report), in their fixed order.
const TextRow* TextTableRows();
size_t TextTableRowCount();

// The text of key in language; a language outside 0 to 3 reads German. Keys compare exactly and
// case-sensitively, the first matching row wins; an unknown key comes back unchanged, so a
// missing text shows up as its own name.
std::wstring TranslateIn(std::wstring_view key, int language);

// TranslateIn(key, CurrentLanguage).
std::wstring Translate(std::wstring_view key);

// TranslateIn(key, language) with "{1}" to "{9}" replaced by the arguments in order; a
// placeholder without an argument stays as it is.
std::wstring FormatTextIn(std::wstring_view key, int language, std::initializer_list<std::wstring_view> args);
// FormatTextIn(key, CurrentLanguage, args).
std::wstring FormatText(std::wstring_view key, std::initializer_list<std::wstring_view> args);

// A fixed German text that other modules produce (a status text of the test thread, a refusal)
// in language: the text of the first row whose German text it is; any other text unchanged.
std::wstring LocalizeGermanText(std::wstring_view german, int language);
// LocalizeGermanText(german, CurrentLanguage).
std::wstring Localize(std::wstring_view german);

// The language for a platform primary language id: German 7, French 12 and Spanish 10 have their
// own; English and every other language give English.
int LanguageOfPrimaryLanguageId(uint16_t primaryLanguage);

// LanguageOfPrimaryLanguageId of the platform's user interface language.
int DefaultLanguage();

// The language a stored code names: "de", "fr", "es" in any case give their language, an empty
// value gives platformDefault, anything else English.
int LanguageFromCode(std::wstring_view code, int platformDefault);

// The code stored for a language: "de", "fr", "es"; English and any other value "en".
const wchar_t* LanguageCode(int language);

// The name shown in the language choice: "Deutsch", "English", "Français", "Español"; empty for
// a value outside 0 to 3.
const wchar_t* LanguageName(int language);

}  // namespace velkor
