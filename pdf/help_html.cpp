#include "pdf/help_html.h"

#include <string_view>
#include <utility>
#include <vector>

#include "pdf/help_text.h"

namespace velkor {
namespace {

// The style sheet, one line each; good, hint, warn and kbd are kept for texts that may use them.
constexpr const wchar_t* kStyleLines[] = {
    L"body{font-family:Segoe UI,Tahoma,Arial,sans-serif;background:#f0f0f0;color:#111;margin:0;padding:22px;"
    L"line-height:1.45}",
    L".page{max-width:980px;margin:auto;background:white;border:1px solid #9f9f9f;"
    L"box-shadow:0 2px 8px rgba(0,0,0,.18)}"
    L".header{background:linear-gradient(#fefefe,#d9e8fb);border-bottom:1px solid #7f9db9;padding:18px 22px}",
    L"h1{font-size:24px;margin:0 0 4px 0}"
    L"h2{font-size:18px;border-bottom:1px solid #c8c8c8;margin:24px 0 8px;padding-bottom:4px}"
    L"h3{font-size:15px;margin:16px 0 5px}",
    L".content{padding:18px 22px}"
    L".hint{background:#fff8d8;border:1px solid #d6c36a;padding:10px;margin:12px 0}"
    L".good{background:#e7f7e7;border:1px solid #79bd79;padding:10px;margin:12px 0}"
    L".warn{background:#ffe8e8;border:1px solid #c77;padding:10px;margin:12px 0}",
    L"table{border-collapse:collapse;width:100%;margin:10px 0}"
    L"th,td{border:1px solid #c6c6c6;padding:6px 8px;text-align:left}"
    L"th{background:#e9eef7}"
    L".kbd{font-family:Consolas,monospace;background:#eee;border:1px solid #bbb;padding:1px 4px}",
};

// Every text goes through here, so a menu path such as "Datei > Explorer öffnen" stays text.
std::wstring Escape(std::wstring_view text) {
  std::wstring out;
  out.reserve(text.size());
  for (wchar_t c : text) {
    switch (c) {
      case L'&': out += L"&amp;"; break;
      case L'<': out += L"&lt;"; break;
      case L'>': out += L"&gt;"; break;
      case L'"': out += L"&quot;"; break;
      default: out.push_back(c); break;
    }
  }
  return out;
}

struct Page {
  std::wstring html;

  void Line(std::wstring_view markup) {
    html += markup;
    html += L'\n';
  }
  void Element(std::wstring_view tag, std::wstring_view text) {
    Line(L"<" + std::wstring(tag) + L">" + Escape(text) + L"</" + std::wstring(tag) + L">");
  }
  void Heading(std::wstring_view text) { Element(L"h2", text); }
  void Paragraph(std::wstring_view text) { Element(L"p", text); }
};

void WriteHead(Page& page, const HelpText& help) {
  page.Line(L"<!doctype html>");
  page.Line(L"<html lang=\"" + std::wstring(help.languageCode) + L"\">");
  page.Line(L"<head>");
  page.Line(L"<meta charset=\"utf-8\">");
  page.Line(L"<title>" + Escape(help.title) + L"</title>");
  page.Line(L"<style>");
  for (const wchar_t* rule : kStyleLines) page.Line(rule);
  page.Line(L"</style>");
  page.Line(L"</head>");
  page.Line(L"<body>");
  page.Line(L"<div class=\"page\"><div class=\"header\"><h1>" + Escape(help.title) + L"</h1><div>" +
            Escape(help.subtitle) + L"</div></div><div class=\"content\">");
}

// Runs of list items, steps and table rows become one list or table each.
void WriteSections(Page& page, const HelpText& help) {
  HelpLine open = HelpLine::kParagraph;  // the list or table being written, kParagraph for none
  const auto close = [&] {
    if (open == HelpLine::kItem) page.Line(L"</ul>");
    if (open == HelpLine::kStep) page.Line(L"</ol>");
    if (open == HelpLine::kRow) page.Line(L"</table>");
    open = HelpLine::kParagraph;
  };
  for (size_t i = 0; i < help.lineCount; ++i) {
    const std::wstring_view line = help.lines[i];
    const HelpLine kind = KindOfHelpLine(line);
    if (kind != open) {
      close();
      if (kind == HelpLine::kItem) page.Line(L"<ul>");
      if (kind == HelpLine::kStep) page.Line(L"<ol>");
      if (kind == HelpLine::kRow) {
        page.Line(L"<table>");
        const std::vector<std::wstring_view> header = HelpTableCells(line);
        std::wstring row = L"<tr>";
        for (std::wstring_view cell : header) row += L"<th>" + Escape(cell) + L"</th>";
        page.Line(row + L"</tr>");
        open = kind;
        continue;
      }
      if (kind == HelpLine::kItem || kind == HelpLine::kStep) open = kind;
    }
    switch (kind) {
      case HelpLine::kHeading: page.Heading(line.substr(2)); break;
      case HelpLine::kItem: page.Element(L"li", line.substr(2)); break;
      case HelpLine::kStep: page.Element(L"li", line.substr(line.find(L". ") + 2)); break;
      case HelpLine::kRow: {
        std::wstring row = L"<tr>";
        for (std::wstring_view cell : HelpTableCells(line)) row += L"<td>" + Escape(cell) + L"</td>";
        page.Line(row + L"</tr>");
        break;
      }
      case HelpLine::kParagraph: page.Paragraph(line); break;
    }
  }
  close();
}

}  // namespace

std::wstring BuildHelpHtml(int language) {
  const HelpText help = HelpTextIn(language);
  Page page;
  WriteHead(page, help);
  WriteSections(page, help);
  page.html += L"</div></div></body></html>";
  return std::move(page.html);
}

}  // namespace velkor
