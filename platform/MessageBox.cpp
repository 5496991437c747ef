#include "platform/MessageBox.h"

#include "platform/Dialog.h"
#include "platform/ProgramFile.h"
#include "res/Resources.h"

#include <string_view>

namespace {

// path's last component less its last extension ("/usr/bin/quorlis.bin" gives "quorlis").
std::string NameWithoutFolderAndExtension(std::string_view path) {
    const std::size_t slash = path.find_last_of(GetPathSeparators());
    if (slash != std::string_view::npos) path.remove_prefix(slash + 1);
    const std::size_t dot = path.rfind('.');
    if (dot != std::string_view::npos && dot > 0) path = path.substr(0, dot);
    return std::string(path);
}

}  // namespace

int ShowMessageBox(const std::string& text, EMsgBoxType type, EMsgBoxDefault defaultButton) {
    CDialog* active = CDialog::GetActiveDialog();
    IDialogWindow* owner = active ? active->GetWindow() : nullptr;
    const EMsgBoxIcon icon = type == EMsgBoxType::YesNo ? EMsgBoxIcon::Question : EMsgBoxIcon::Warning;
    return GetWindowing().ShowMessageBox(owner, text, GetProgramName(), type, icon, defaultButton);
}

int ShowMessageBox(int stringId, EMsgBoxType type) { return ShowMessageBox(LoadResString(stringId), type); }

std::string GetProgramName() {
    static const std::string name = NameWithoutFolderAndExtension(GetProgramPath());
    return name;
}
