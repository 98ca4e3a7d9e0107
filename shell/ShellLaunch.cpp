#include "shell/ShellLaunch.h"

#include <windows.h>

#include <shellapi.h>

namespace moke {

namespace {
std::function<void(const std::string&)>& Hook() {
    static std::function<void(const std::string&)> hook;
    return hook;
}
} // namespace

void ShellOpen(const std::string& target) {
    if (target.size() > kMaxShellTarget) return;
    if (Hook()) {
        Hook()(target);
        return;
    }
    ShellExecuteA(nullptr, "OPEN", target.c_str(), "", "", SW_SHOW);
}

void SetShellOpenHookForTesting(std::function<void(const std::string&)> hook) {
    Hook() = std::move(hook);
}

} // namespace moke
