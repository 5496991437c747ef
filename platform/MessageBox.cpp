#include "platform/MessageBox.h"

#include "platform/Dialog.h"
#include "res/Resources.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

#include <string_view>

namespace {

// The program file's full path, or "" when the system does not tell.
std::string GetProgramPath() {
#ifdef _WIN32
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::string(path, length) : std::string();
#else
    char path[4096];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path);
    if (length <= 0 || static_cast<std::size_t>(length) >= sizeof path) return {};
    std::string_view result(path, static_cast<std::size_t>(length));
    constexpr std::string_view kDeleted = " (deleted)";
    if (result.ends_with(kDeleted)) result.remove_suffix(kDeleted.size());
    return std::string(result);
#endif
}

// path's last component less its last extension ("/usr/bin/quorlis.bin" gives "quorlis").
std::string NameWithoutFolderAndExtension(std::string_view path) {
#ifdef _WIN32
    constexpr std::string_view kSeparators = "\\/";
#else
    constexpr std::string_view kSeparators = "/";
#endif
    const std::size_t slash = path.find_last_of(kSeparators);
    if (slash != std::string_view::npos) path.remove_prefix(slash + 1);
    const std::size_t dot = path.rfind('.');
    if (dot != std::string_view::npos && dot > 0) path = path.substr(0, dot);
    return std::string(path);
}

}  // namespace

int ShowMessageBox(const std::string& text, EMsgBoxType type) {
    CDialog* active = CDialog::GetActiveDialog();
    IDialogWindow* owner = active ? active->GetWindow() : nullptr;
    const EMsgBoxIcon icon = type == EMsgBoxType::YesNo ? EMsgBoxIcon::Question : EMsgBoxIcon::Warning;
    return GetWindowing().ShowMessageBox(owner, text, GetProgramName(), type, icon);
}

int ShowMessageBox(int stringId, EMsgBoxType type) { return ShowMessageBox(LoadResString(stringId), type); }

std::string GetProgramName() {
    static const std::string name = NameWithoutFolderAndExtension(GetProgramPath());
    return name;
}
