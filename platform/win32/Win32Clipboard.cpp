#include "platform/win32/Win32Clipboard.h"

#include <cstring>
#include <string_view>

namespace {

// Holds the clipboard open for its lifetime.
class CClipboardScope {
public:
    explicit CClipboardScope(HWND owner) : m_open(OpenClipboard(owner) != FALSE) {}
    ~CClipboardScope() {
        if (m_open) CloseClipboard();
    }
    CClipboardScope(const CClipboardScope&) = delete;
    CClipboardScope& operator=(const CClipboardScope&) = delete;
    bool IsOpen() const { return m_open; }

private:
    bool m_open;
};

std::wstring AnsiToWide(const std::string& text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide.data(), length);
    return wide;
}

// line in the ANSI code page; lossy tells whether a character had to become "?".
std::string WideToAnsi(std::wstring_view line, bool& lossy) {
    lossy = false;
    if (line.empty()) return {};
    // A UTF-8 code page holds every character and takes neither the flag nor the default character.
    const bool utf8 = GetACP() == CP_UTF8;
    const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* usedDefaultOut = utf8 ? nullptr : &usedDefault;
    const char* defaultChar = utf8 ? nullptr : "?";
    const int size = static_cast<int>(line.size());
    const int length = WideCharToMultiByte(CP_ACP, flags, line.data(), size, nullptr, 0, defaultChar, usedDefaultOut);
    std::string ansi(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, flags, line.data(), size, ansi.data(), length, defaultChar, usedDefaultOut);
    lossy = usedDefault != FALSE;
    return ansi;
}

}  // namespace

bool PutClipboardText(HWND owner, const std::string& text) {
    const std::wstring wide = AnsiToWide(text);
    const std::size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (!memory) return false;
    void* data = GlobalLock(memory);
    std::memcpy(data, wide.c_str(), bytes);
    GlobalUnlock(memory);
    const CClipboardScope clipboard(owner);
    if (!clipboard.IsOpen() || !EmptyClipboard() || !SetClipboardData(CF_UNICODETEXT, memory)) {
        GlobalFree(memory);
        return false;
    }
    return true;  // the clipboard owns the memory now
}

std::optional<SClipboardText> TakeClipboardText(HWND owner) {
    const CClipboardScope clipboard(owner);
    if (!clipboard.IsOpen()) return std::nullopt;
    HANDLE memory = GetClipboardData(CF_UNICODETEXT);
    if (!memory) return std::nullopt;
    const auto* data = static_cast<const wchar_t*>(GlobalLock(memory));
    if (!data) return std::nullopt;
    // The text ends at its NUL, or where the memory does.
    const std::size_t most = GlobalSize(memory) / sizeof(wchar_t);
    std::wstring_view wide(data, most);
    wide = wide.substr(0, wide.find(L'\0'));
    SClipboardText result;
    int line = 1;
    for (std::size_t start = 0; start <= wide.size(); ++line) {
        std::size_t end = wide.find(L'\n', start);
        if (end == std::wstring_view::npos) end = wide.size();
        bool lossy = false;
        result.text += WideToAnsi(wide.substr(start, end - start), lossy);
        if (lossy && result.unconvertibleLine == 0) result.unconvertibleLine = line;
        if (end < wide.size()) result.text.push_back('\n');
        start = end + 1;
    }
    GlobalUnlock(memory);
    return result;
}
