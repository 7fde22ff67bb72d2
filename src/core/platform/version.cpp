#include "platform/version.h"

#include <QSysInfo>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace sortilan::plataforma {

QString NativeGetVersion() {
#ifdef Q_OS_WIN
  // GetVersionEx lies to programs without a manifest; the kernel call does not.
  using RtlGetVersionFn = LONG(WINAPI*)(PRTL_OSVERSIONINFOW);
  if (HMODULE ntdll = GetModuleHandleW(L"ntdll.dll")) {
    auto fn = reinterpret_cast<RtlGetVersionFn>(reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion")));
    RTL_OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof(info);
    if (fn && fn(&info) == 0)
      return QStringLiteral("%1.%2.%3").arg(info.dwPlatformId).arg(info.dwMajorVersion).arg(info.dwMinorVersion);
  }
#endif
  return QSysInfo::prettyProductName();
}

}  // namespace sortilan::plataforma
