#include "pdf/help_pdf.h"

#include <vector>

#include "pdf/file_writers.h"
#include "pdf/help_layout.h"
#include "pdf/help_text.h"
#include "pdf/pdf_drawing.h"
#include "pdf/pdf_writer.h"

namespace velkor {

std::string BuildHelpPdf(int language) {
  const HelpText help = HelpTextIn(language);
  std::vector<std::string> contents;
  for (const HelpPage& page : LayOutHelp(help)) {
    std::string content;
    for (const PlacedRect& r : page.rects) content += PdfFillRect(r.x, r.y, r.width, r.height, r.rgb);
    for (const PlacedText& t : page.texts) {
      content += PdfText(t.x, t.y, t.size, t.text, t.rgb, t.font == PdfFont::kBold ? "/F2" : "/F1");
    }
    contents.push_back(std::move(content));
  }
  return BuildPortraitPdf(contents, help.title);
}

bool WriteHelpPdf(const std::wstring& path, int language) { return WriteBinaryFile(path, BuildHelpPdf(language)); }

}  // namespace velkor
