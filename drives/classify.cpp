#include "drives/classify.h"

#include "common/localization.h"
#include "platform/volumes.h"

namespace velkor {

bool IsNetworkOrCloudTarget(std::wstring_view target) {
  std::wstring lower(target);
  for (wchar_t& c : lower) {
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
  }
  static constexpr const wchar_t* kMarks[] = {L"\\device\\mup", L"lanmanredirector", L"\\??\\unc\\",
                                              L"googledrive",   L"onedrive",         L"dropbox",
                                              L"cloud"};
  for (const wchar_t* mark : kMarks) {
    if (lower.find(mark) != std::wstring::npos) return true;
  }
  return false;
}

BusTypeInfo DefaultBusType(uint32_t driveType) {
  return BusTypeInfo{driveType == platform::kDriveRemovable ? L"USB/Wechselmedium" : L"IDE/Direkt", false};
}

BusTypeInfo BusTypeOfStorageBus(uint32_t busType, uint32_t driveType) {
  switch (busType) {
    case platform::kBusScsi:
    case platform::kBusAtapi:
    case platform::kBusAta:
    case platform::kBusRaid:
    case platform::kBusSas:
    case platform::kBusSata:
    case platform::kBusNvme:
      return BusTypeInfo{L"IDE/Direkt", false};
    case platform::kBusUsb:
      return BusTypeInfo{L"USB", false};
    case platform::kBusSd:
      return BusTypeInfo{L"SD", false};
    case platform::kBusMmc:
      return BusTypeInfo{L"SD/MMC", false};
    case platform::kBusVirtual:
    case platform::kBusFileBackedVirtual:
      return BusTypeInfo{L"Virtuell", true};
    default:  // unknown, 1394, SSA, Fibre Channel, iSCSI, Storage Spaces and newer buses
      return DefaultBusType(driveType);
  }
}

double FreePercent(uint64_t freeBytes, uint64_t totalBytes) {
  if (totalBytes == 0) return 0.0;
  return 100.0 * static_cast<double>(freeBytes) / static_cast<double>(totalBytes);
}

DriveInfo MakeDriveInfo(const std::wstring& root, const std::wstring& label, const std::wstring& fileSystem,
                        const std::wstring& bus, uint64_t totalBytes, uint64_t freeBytes,
                        bool writeProtected) {
  DriveInfo info;
  info.root = root;
  // German words: the file system reaches the log and the results file; the lists show them in
  // the chosen language.
  info.label = !label.empty() && label[0] != L'\0' ? label : TranslateIn(L"no_name", kLanguageGerman);
  info.fileSystem = !fileSystem.empty() ? fileSystem : TranslateIn(L"unknown", kLanguageGerman);
  info.bus = bus;
  info.status = TranslateIn(writeProtected ? L"write_protect" : L"writable", kLanguageGerman);
  info.totalBytes = totalBytes;
  info.freeBytes = freeBytes;
  info.freePercent = FreePercent(freeBytes, totalBytes);
  info.writeProtected = writeProtected;
  return info;
}

void MarkSystemVolume(DriveInfo& drive) {
  drive.systemVolume = true;
  if (!drive.writeProtected) drive.status = TranslateIn(L"system_volume", kLanguageGerman);
}

}  // namespace velkor
