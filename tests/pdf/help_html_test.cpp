#include "pdf/help_html.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "common/localization.h"
#include "pdf/help_text.h"
#include "platform/text.h"

namespace velkor {
namespace {

std::vector<std::wstring> SplitLines(const std::wstring& text) {
  std::vector<std::wstring> lines;
  size_t start = 0;
  for (size_t end; (end = text.find(L'\n', start)) != std::wstring::npos; start = end + 1) {
    lines.push_back(text.substr(start, end - start));
  }
  lines.push_back(text.substr(start));
  return lines;
}

struct Event {
  enum Kind { kOpen, kClose, kText } kind;
  std::wstring value;  // tag (with ".class" when it has one) or decoded text
};

bool ReadBody(const std::wstring& html, std::vector<Event>* events, std::wstring* problem) {
  static const std::set<std::wstring> kAllowed = {L"body", L"div", L"h1", L"h2", L"p",  L"b",  L"ul",
                                                  L"ol",   L"li",  L"table", L"tr", L"th", L"td"};
  const size_t start = html.find(L"<body>");
  const size_t stop = html.rfind(L"</html>");  // the head and the html element have their own test
  std::vector<std::wstring> open;
  std::wstring text;
  auto flush = [&] {
    if (!text.empty()) events->push_back({Event::kText, text});
    text.clear();
  };
  for (size_t i = start; i < stop;) {
    const wchar_t c = html[i];
    if (c == L'<') {
      flush();
      const size_t end = html.find(L'>', i);
      if (end == std::wstring::npos) return *problem = L"unclosed tag", false;
      std::wstring tag = html.substr(i + 1, end - i - 1);
      i = end + 1;
      if (!tag.empty() && tag[0] == L'/') {
        tag.erase(0, 1);
        if (open.empty() || open.back() != tag) return *problem = L"</" + tag + L"> out of order", false;
        open.pop_back();
        events->push_back({Event::kClose, tag});
        continue;
      }
      std::wstring name = tag.substr(0, tag.find(L' '));
      if (!kAllowed.count(name)) return *problem = L"unexpected element <" + tag + L">", false;
      open.push_back(name);
      if (tag != name) {
        const std::wstring attribute = tag.substr(name.size());
        if (attribute.rfind(L" class=\"", 0) != 0 || attribute.back() != L'"') {
          return *problem = L"unexpected attribute in <" + tag + L">", false;
        }
        name += L"." + attribute.substr(8, attribute.size() - 9);
      }
      events->push_back({Event::kOpen, name});
    } else if (c == L'&') {
      const size_t end = html.find(L';', i);
      const std::wstring entity = end == std::wstring::npos ? L"" : html.substr(i, end - i + 1);
      if (entity == L"&amp;") text += L'&';
      else if (entity == L"&lt;") text += L'<';
      else if (entity == L"&gt;") text += L'>';
      else if (entity == L"&quot;") text += L'"';
      else return *problem = L"unknown entity at " + html.substr(i, 12), false;
      i = end + 1;
    } else if (c == L'>' || c == L'"') {
      return *problem = L"raw " + std::wstring(1, c) + L" in text near " + html.substr(i > 30 ? i - 30 : 0, 60), false;
    } else {
      if (c != L'\n') text += c;
      ++i;
    }
  }
  flush();
  if (!open.empty()) return *problem = L"<" + open.back() + L"> never closed", false;
  return true;
}

struct Section {
  std::wstring heading;
  std::wstring shape;               // the elements opened after the heading, in order
  std::vector<std::wstring> texts;  // the texts after the heading, in order
};

std::vector<Section> SectionsOf(const std::vector<Event>& events) {
  std::vector<Section> sections;
  for (size_t i = 0; i < events.size(); ++i) {
    const Event& e = events[i];
    if (e.kind == Event::kOpen && e.value == L"h2") {
      sections.push_back({events[i + 1].value, L"", {}});
      i += 2;  // the heading text and </h2>
    } else if (sections.empty()) {
      continue;
    } else if (e.kind == Event::kOpen) {
      sections.back().shape += (sections.back().shape.empty() ? L"" : L" ") + e.value;
    } else if (e.kind == Event::kText) {
      sections.back().texts.push_back(e.value);
    }
  }
  return sections;
}

TEST(HelpHtml, HeadStyleSheetAndFrameInEachLanguage) {
  for (int language = 0; language < kLanguageCount; ++language) {
    const HelpText help = HelpTextIn(language);
    const std::wstring html = BuildHelpHtml(language);
    EXPECT_EQ(html.find(L'\r'), std::wstring::npos);
    const std::vector<std::wstring> lines = SplitLines(html);
    ASSERT_GT(lines.size(), 20u);
    const std::wstring head[] = {L"<!doctype html>", L"<html lang=\"" + std::wstring(help.languageCode) + L"\">",
                                 L"<head>", L"<meta charset=\"utf-8\">",
                                 L"<title>" + std::wstring(help.title) + L"</title>", L"<style>"};
    for (size_t i = 0; i < std::size(head); ++i) EXPECT_EQ(lines[i], head[i]) << "line " << i + 1;

    // The style sheet on five lines, its rules byte for byte and in this order.
    EXPECT_EQ(lines[11], L"</style>");
    EXPECT_EQ(lines[12], L"</head>");
    EXPECT_EQ(lines[13], L"<body>");
    std::wstring sheet;
    for (size_t i = 6; i < 11; ++i) {
      EXPECT_EQ(lines[i].back(), L'}') << "line " << i + 1 << " ends inside a rule";
      sheet += lines[i];
    }
    EXPECT_EQ(sheet,
              L"body{font-family:Segoe UI,Tahoma,Arial,sans-serif;background:#f0f0f0;color:#111;margin:0;padding:22px;line-height:1.45}"
              L".page{max-width:980px;margin:auto;background:white;border:1px solid #9f9f9f;box-shadow:0 2px 8px rgba(0,0,0,.18)}"
              L".header{background:linear-gradient(#fefefe,#d9e8fb);border-bottom:1px solid #7f9db9;padding:18px 22px}"
              L"h1{font-size:24px;margin:0 0 4px 0}"
              L"h2{font-size:18px;border-bottom:1px solid #c8c8c8;margin:24px 0 8px;padding-bottom:4px}"
              L"h3{font-size:15px;margin:16px 0 5px}"
              L".content{padding:18px 22px}"
              L".hint{background:#fff8d8;border:1px solid #d6c36a;padding:10px;margin:12px 0}"
              L".good{background:#e7f7e7;border:1px solid #79bd79;padding:10px;margin:12px 0}"
              L".warn{background:#ffe8e8;border:1px solid #c77;padding:10px;margin:12px 0}"
              L"table{border-collapse:collapse;width:100%;margin:10px 0}"
              L"th,td{border:1px solid #c6c6c6;padding:6px 8px;text-align:left}"
              L"th{background:#e9eef7}"
              L".kbd{font-family:Consolas,monospace;background:#eee;border:1px solid #bbb;padding:1px 4px}");
    EXPECT_EQ(lines[14], L"<div class=\"page\"><div class=\"header\"><h1>" + std::wstring(help.title) + L"</h1><div>" +
                             help.subtitle + L"</div></div><div class=\"content\">");
    EXPECT_EQ(lines.back().substr(lines.back().size() - 26), L"</div></div></body></html>");
  }
}

std::wstring WithoutMnemonic(std::wstring text) {
  const size_t amp = text.find(L'&');
  if (amp != std::wstring::npos) text.erase(amp, 1);
  return text;
}

// Every language has the same sections with the same lists and tables, well formed; the menus
// and profiles are named as the window names them; no other program is named.
TEST(HelpHtml, TheSameSectionsInEveryLanguageWellFormedAndEscaped) {
  std::vector<Section> german;
  for (int language = 0; language < kLanguageCount; ++language) {
    const std::wstring html = BuildHelpHtml(language);
    std::vector<Event> events;
    std::wstring problem;
    ASSERT_TRUE(ReadBody(html, &events, &problem)) << platform::WideToUtf8(problem);
    const std::vector<Section> sections = SectionsOf(events);
    ASSERT_EQ(sections.size(), 10u) << "language " << language;
    if (language == kLanguageGerman) german = sections;
    for (size_t i = 0; i < sections.size(); ++i) {
      EXPECT_EQ(sections[i].shape, german[i].shape) << "section " << i + 1 << " in language " << language;
      for (const std::wstring& text : sections[i].texts) EXPECT_FALSE(text.empty());
    }
    // The menus table: its first column names the menu bar's menus, the profiles table the profiles.
    const auto column = [](const Section& s) {
      std::vector<std::wstring> cells;
      for (size_t i = 2; i < s.texts.size(); i += 2) cells.push_back(s.texts[i]);
      return cells;
    };
    std::vector<std::wstring> menus, profiles;
    for (const wchar_t* key : {L"menu_file", L"menu_test", L"menu_view", L"menu_help"}) {
      menus.push_back(WithoutMnemonic(TranslateIn(key, language)));
    }
    for (const wchar_t* key : {L"profile_quorvel", L"profile_reliable", L"profile_balanced", L"profile_turbo"}) {
      profiles.push_back(TranslateIn(key, language));
    }
    EXPECT_EQ(column(sections[7]), menus) << "language " << language;
    EXPECT_EQ(column(sections[6]), profiles) << "language " << language;
    // "Quorvel" only inside the profile's own name.
    const std::wstring profile = TranslateIn(L"profile_quorvel", language);
    size_t names = 0, profileNames = 0;
    for (size_t at = html.find(L"Quorvel"); at != std::wstring::npos; at = html.find(L"Quorvel", at + 1)) ++names;
    for (size_t at = html.find(profile); at != std::wstring::npos; at = html.find(profile, at + 1)) ++profileNames;
    EXPECT_EQ(names, profileNames) << "language " << language;
    for (const wchar_t* unused : {L"class=\"hint\"", L"class=\"warn\"", L"class=\"kbd\""}) {
      EXPECT_EQ(html.find(unused), std::wstring::npos) << unused;
    }
    EXPECT_EQ(BuildHelpHtml(language), html);
  }
  // A menu path in the text stays text: escaped on the page, plain again when read.
  const std::wstring html = BuildHelpHtml(kLanguageGerman);
  EXPECT_NE(html.find(L"Datei &gt; Explorer öffnen"), std::wstring::npos);
  EXPECT_EQ(BuildHelpHtml(7), html);  // outside 0 to 3: German
}

}  // namespace
}  // namespace velkor
