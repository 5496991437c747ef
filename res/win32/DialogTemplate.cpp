#include "res/win32/DialogTemplate.h"

#include <cstdlib>
#include <string_view>

using namespace DialogStyleBits;

namespace {

// Predefined window classes by atom.
constexpr std::uint16_t kButtonClass = 0x0080;
constexpr std::uint16_t kEditClass = 0x0081;
constexpr std::uint16_t kStaticClass = 0x0082;
constexpr char16_t kListViewClass[] = u"SysListView32";

constexpr std::uint16_t kFontWeightNormal = 400;
constexpr std::uint8_t kDefaultCharset = 1;

class CTemplateWriter {
public:
    void Word(std::uint16_t value) { m_words.push_back(value); }
    void Dword(std::uint32_t value) {
        Word(static_cast<std::uint16_t>(value & 0xFFFF));
        Word(static_cast<std::uint16_t>(value >> 16));
    }
    void String(std::u16string_view text) {
        for (char16_t c : text) Word(c);
        Word(0);
    }
    void Ordinal(std::uint16_t value) {
        Word(0xFFFF);
        Word(value);
    }
    void AlignToDword() {
        if (m_words.size() % 2) Word(0);
    }
    std::vector<std::uint16_t> Take() { return std::move(m_words); }

private:
    std::vector<std::uint16_t> m_words;
};

std::uint32_t ButtonStyle(const SControlLayout& control) {
    if (control.kind == EControlKind::GroupBox) return kBsGroupBox;
    return (control.style & kCsDefault) ? kBsDefPushButton : 0;
}

std::uint32_t ListStyle(const SControlLayout& control) {
    std::uint32_t style = kLvsOwnerData;
    if (control.style & kCsReport) style |= kLvsReport;
    if (control.style & kCsSingleSel) style |= kLvsSingleSel;
    if (control.style & kCsNoSortHeader) style |= kLvsNoSortHeader;
    if (control.style & kCsShowSelAlways) style |= kLvsShowSelAlways;
    return style;
}

std::uint32_t KindStyle(const SControlLayout& control) {
    switch (control.kind) {
        case EControlKind::PushButton:
        case EControlKind::GroupBox:
            return ButtonStyle(control);
        case EControlKind::StaticText:
            return (control.style & kCsSunken) ? kSsSunken : 0;
        case EControlKind::Icon:
            return kSsIcon;
        case EControlKind::Edit:
            return (control.style & kCsAutoHScroll) ? kEsAutoHScroll : 0;
        case EControlKind::ListView:
            return ListStyle(control);
    }
    return 0;
}

void WriteControlClass(CTemplateWriter& writer, EControlKind kind) {
    switch (kind) {
        case EControlKind::PushButton:
        case EControlKind::GroupBox:
            writer.Ordinal(kButtonClass);
            return;
        case EControlKind::StaticText:
        case EControlKind::Icon:
            writer.Ordinal(kStaticClass);
            return;
        case EControlKind::Edit:
            writer.Ordinal(kEditClass);
            return;
        case EControlKind::ListView:
            writer.String(kListViewClass);
            return;
    }
}

// An icon control's text names its icon resource as "#128".
void WriteControlText(CTemplateWriter& writer, const SControlLayout& control, const FAnsiToUtf16& toUtf16) {
    const std::string_view text = control.text ? control.text : "";
    if (control.kind == EControlKind::Icon && text.starts_with('#')) {
        writer.Ordinal(static_cast<std::uint16_t>(std::strtoul(control.text + 1, nullptr, 10)));
    } else {
        writer.String(toUtf16(control.text ? control.text : ""));
    }
}

void WriteControl(CTemplateWriter& writer, const SControlLayout& control, const FAnsiToUtf16& toUtf16) {
    writer.AlignToDword();
    writer.Dword(0);  // help id
    writer.Dword(0);  // extended style
    writer.Dword(ControlTemplateStyle(control));
    for (int value : {control.x, control.y, control.cx, control.cy}) writer.Word(static_cast<std::uint16_t>(value));
    writer.Dword(static_cast<std::uint32_t>(control.id));
    WriteControlClass(writer, control.kind);
    WriteControlText(writer, control, toUtf16);
    writer.Word(0);  // no creation data
}

}  // namespace

std::uint32_t DialogTemplateStyle(const SDialogLayout& layout) {
    std::uint32_t style = kWsPopup | kDsSetFont;
    if (layout.style & kDsCaption) style |= kWsCaption;
    if (layout.style & kDsSysMenu) style |= kWsSysMenu;
    if (layout.style & kDsModalFrame) style |= kDsModalFrameStyle;
    return style;
}

std::uint32_t DialogTemplateExStyle(const SDialogLayout& layout) {
    return (layout.style & kDsAppWindow) ? kWsExAppWindow : 0;
}

std::uint32_t ControlTemplateStyle(const SControlLayout& control) {
    std::uint32_t style = kWsChild | kWsVisible | KindStyle(control);
    if (control.style & kCsTabStop) style |= kWsTabStop;
    if (control.style & kCsBorder) style |= kWsBorder;
    return style;
}

std::vector<std::uint16_t> BuildDialogTemplate(const SDialogLayout& layout, const FAnsiToUtf16& toUtf16) {
    CTemplateWriter writer;
    writer.Word(1);       // version
    writer.Word(0xFFFF);  // extended template
    writer.Dword(0);      // help id
    writer.Dword(DialogTemplateExStyle(layout));
    writer.Dword(DialogTemplateStyle(layout));
    writer.Word(static_cast<std::uint16_t>(layout.controls.size()));
    for (int value : {0, 0, layout.cx, layout.cy}) writer.Word(static_cast<std::uint16_t>(value));
    writer.Word(0);  // no menu
    writer.Word(0);  // the dialog class
    writer.String(toUtf16(layout.title));
    writer.Word(static_cast<std::uint16_t>(layout.pointSize));
    writer.Word(kFontWeightNormal);
    writer.Word(kDefaultCharset << 8);  // italic 0, then the character set
    writer.String(toUtf16(layout.fontName));
    for (const SControlLayout& control : layout.controls) WriteControl(writer, control, toUtf16);
    return writer.Take();
}
