#include "engine/own_files.h"

#include "common/diag_log.h"
#include "common/paths.h"
#include "pdf/help_files.h"
#include "results/results_database.h"

namespace velkor {

std::wstring MoveOwnFilesToUserFolder(bool moveResults) {
  const std::wstring folder = GetUserDataDirectory();
  if (folder.empty()) {
    return L"Hinweis: Velkor läuft vom getesteten Laufwerk, aber es gibt keinen Benutzerordner; Log und Ergebnisse "
           L"bleiben beim Programm.";
  }
  SetLogFilePath(JoinPath(JoinPath(folder, L"logs"), L"velkor.log"));
  if (moveResults) SetResultsFolder(JoinPath(folder, L"results"));
  SetHelpFolder(folder);
  return L"Hinweis: Velkor läuft vom getesteten Laufwerk. Log und Ergebnisse liegen deshalb im Benutzerordner: Log " +
         GetLogFilePath() + L", Ergebnisse " + GetResultsFolder();
}

}  // namespace velkor
