#include "platform/DialogKeys.h"

#include "res/Resources.h"

namespace {

// The layout entry of control id, or nullptr.
const SControlLayout* FindControl(const SDialogLayout& layout, int id) {
    for (const SControlLayout& control : layout.controls) {
        if (control.id == id && id != IDC_STATIC) return &control;
    }
    return nullptr;
}

}  // namespace

int CommandForEnter(const SDialogLayout& layout, int focusedId) {
    const SControlLayout* focused = FindControl(layout, focusedId);
    if (focused && focused->kind == EControlKind::PushButton) return focused->id;
    for (const SControlLayout& control : layout.controls) {
        if (control.kind == EControlKind::PushButton && (control.style & kCsDefault)) return control.id;
    }
    return kIdOk;
}

int CommandForEscape() { return kIdCancel; }
