#include "platform/errors.h"
#include "platform/posix/posix_util.h"

#include <cerrno>
#include <cstring>

namespace velkor::platform {
namespace {

thread_local uint32_t tLastError = 0;
thread_local int tLastErrno = 0;  // the errno tLastError came from, 0 when it came from none

struct CodeText {
  uint32_t code;
  int errnoValue;         // 0: no errno stands for it; use text
  const wchar_t* text;    // used when errnoValue is 0
};

// Windows codes the POSIX side produces, with the errno whose system text describes them; the
// two codes no errno stands for carry the Windows wording.
constexpr CodeText kTexts[] = {
    {kErrorFileNotFound, ENOENT, nullptr},
    {kErrorPathNotFound, ENOENT, nullptr},
    {kErrorAccessDenied, EACCES, nullptr},
    {kErrorInvalidHandle, EBADF, nullptr},
    {kErrorNotEnoughMemory, ENOMEM, nullptr},
    {kErrorWriteProtect, EROFS, nullptr},
    {kErrorNotReady, ENODEV, nullptr},
    {kErrorWriteFault, 0, L"The system cannot write to the specified device"},
    {kErrorReadFault, 0, L"The system cannot read from the specified device"},
    {kErrorSharingViolation, EBUSY, nullptr},
    {kErrorHandleEof, 0, L"Reached the end of the file"},
    {kErrorNotSupported, EOPNOTSUPP, nullptr},
    {kErrorFileExists, EEXIST, nullptr},
    {kErrorInvalidParameter, EINVAL, nullptr},
    {kErrorDiskFull, ENOSPC, nullptr},
    {kErrorInvalidName, EILSEQ, nullptr},
    {kErrorAlreadyExists, EEXIST, nullptr},
    {kErrorFilenameTooLong, ENAMETOOLONG, nullptr},
    {kErrorIoDevice, EIO, nullptr},
    {1224, ETXTBSY, nullptr},
    {1392, EUCLEAN, nullptr},
    {1450, ENOBUFS, nullptr},
    {1460, ETIMEDOUT, nullptr},
    {1167, ENXIO, nullptr},
    {4, EMFILE, nullptr},
    {267, EISDIR, nullptr},
    {1920, ELOOP, nullptr},
    {1816, EDQUOT, nullptr},
    {665, EFBIG, nullptr},
    {1005, ESHUTDOWN, nullptr},
    {1006, ENOTCONN, nullptr},
    {145, ENOTEMPTY, nullptr},
    {17, EXDEV, nullptr},
    {1, ENOSYS, nullptr},
};

// The errno a code stands for: the one it was made from when that is still the last error
// (a code saved and set again keeps it), else the table's; 0 for none.
int ErrnoOf(uint32_t code) {
  if (tLastErrno != 0 && WindowsCodeOfErrno(tLastErrno) == code) return tLastErrno;
  for (const CodeText& entry : kTexts) {
    if (entry.code == code) return entry.errnoValue;
  }
  return 0;
}

}  // namespace

uint32_t LastError() { return tLastError; }

void SetLastError(uint32_t code) {
  tLastError = code;
  if (WindowsCodeOfErrno(tLastErrno) != code) tLastErrno = 0;
}

void SetLastErrorWithErrno(uint32_t code, int e) {
  tLastError = code;
  tLastErrno = e;
}

uint32_t WindowsCodeOfErrno(int e) {
  switch (e) {
    case 0: return 0;
    case ENOENT: return kErrorFileNotFound;
    case ENOTDIR: return kErrorPathNotFound;
    case EACCES:
    case EPERM: return kErrorAccessDenied;
    case EBADF: return kErrorInvalidHandle;
    case ENOMEM: return kErrorNotEnoughMemory;
    case EROFS: return kErrorWriteProtect;
    case ENODEV: return kErrorNotReady;
    case EBUSY: return kErrorSharingViolation;
    case EOPNOTSUPP: return kErrorNotSupported;
    case EEXIST: return kErrorAlreadyExists;
    case EINVAL: return kErrorInvalidParameter;
    case ENOSPC: return kErrorDiskFull;
    case EILSEQ: return kErrorInvalidName;
    case ENAMETOOLONG: return kErrorFilenameTooLong;
    case EIO: return kErrorIoDevice;
    case ETXTBSY: return 1224;
    case EUCLEAN: return 1392;
    case ENOBUFS: return 1450;
    case ETIMEDOUT: return 1460;
    case ENXIO: return 1167;
    case EMFILE:
    case ENFILE: return 4;
    case EISDIR: return 267;
    case ELOOP: return 1920;
    case EDQUOT: return 1816;
    case EFBIG: return 665;
    case ESHUTDOWN: return 1005;
    case ENOTCONN: return 1006;
    case ENOTEMPTY: return 145;
    case EXDEV: return 17;
    case ENOSYS: return 1;
    default: return kErrorIoDevice;
  }
}

void SetLastErrorFromErrno(int e) {
  tLastError = WindowsCodeOfErrno(e);
  tLastErrno = e;
}

bool SystemErrorText(uint32_t code, std::wstring* text) {
  const int e = ErrnoOf(code);
  if (e != 0) {
    char buffer[256];
    const char* message = strerror_r(e, buffer, sizeof buffer);
    *text = Utf8ToWide(message ? message : "");
    return !text->empty();
  }
  for (const CodeText& entry : kTexts) {
    if (entry.code == code && entry.text != nullptr) {
      *text = entry.text;
      return true;
    }
  }
  return false;
}

std::wstring SystemErrorName(uint32_t code) {
  const int e = ErrnoOf(code);
  const char* name = e != 0 ? strerrorname_np(e) : nullptr;
  if (name == nullptr) return L"Fehler " + std::to_wstring(code);
  return L"Linux-Fehler " + std::to_wstring(e) + L" (" + Utf8ToWide(name) + L")";
}

// No Linux program locks another out of a file; only a busy answer (EBUSY) may pass. Access
// denied is the file's rights, which waiting does not change.
bool MayBeHeldByAnotherProgram(uint32_t code) { return code == kErrorSharingViolation; }

}  // namespace velkor::platform
