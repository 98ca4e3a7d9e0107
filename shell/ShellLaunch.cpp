#include "shell/ShellLaunch.h"

#include "app/frame/CodePage.h"

#include <windows.h>

#include <shellapi.h>

namespace moke {

namespace {

std::function<void(const std::string&)>& Hook() {
    static std::function<void(const std::string&)> hook;
    return hook;
}

std::function<void(const std::wstring&)>& WideHook() {
    static std::function<void(const std::wstring&)> hook;
    return hook;
}

bool RunningOnWine() {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

} // namespace

// Nothing longer than 32767 UTF-16 units can be launched anywhere: it is the
// longest path and the longest command line the system takes. Windows
// itself opens URLs of up to 2083 characters.
//
// Wine's shell (measured with Wine 8.0 for ShellExecuteA, ShellExecuteW and
// ShellExecuteExW alike, with program names, paths and URLs as the file)
// overruns a buffer of its own on long texts: up to 987 units the call
// returns normally; from 988 on it fails with ERROR_INVALID_PARAMETER; at 997
// and from 999 to 1024 it ends the calling program with an access violation;
// at 2048, 2083, 4096 and 32767 it ends or hangs it. There the limit stays
// clear of all that.
std::size_t ShellTargetLimit() {
    static const std::size_t limit = RunningOnWine() ? 980 : 32767;
    return limit;
}

void ShellOpen(const std::string& target) {
    if (Hook()) return Hook()(target);
    // Each byte is at most one UTF-16 unit, so the byte count is a safe measure.
    if (target.size() > ShellTargetLimit()) return;
    ShellExecuteA(nullptr, "OPEN", target.c_str(), "", "", SW_SHOW);
}

void ShellOpen(std::wstring_view target) {
    if (WideHook()) return WideHook()(std::wstring(target));
    if (Hook()) return Hook()(ProgramFromWide(target));
    if (target.size() > ShellTargetLimit()) return;
    const std::wstring file(target);
    ShellExecuteW(nullptr, L"open", file.c_str(), L"", L"", SW_SHOW);
}

void SetShellOpenHookForTesting(std::function<void(const std::string&)> hook) {
    Hook() = std::move(hook);
}

void SetWideShellOpenHookForTesting(std::function<void(const std::wstring&)> hook) {
    WideHook() = std::move(hook);
}

} // namespace moke
