#include "platform/qt/QtDisplay.h"

#include "platform/MessageBox.h"

#include <QtGlobal>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string_view>

namespace {

constexpr const char* kNeedsSession = "needs a graphical session (DISPLAY or WAYLAND_DISPLAY), and there is none";

bool IsSet(const char* name) {
    const char* value = std::getenv(name);
    return value && *value;
}

// Whether Qt's platform name (one entry of QT_QPA_PLATFORM, less its ":options") finds a display.
bool PlatformFindsDisplay(std::string_view name) {
    if (name == "xcb") return IsSet("DISPLAY");
    if (name.starts_with("wayland")) return IsSet("WAYLAND_DISPLAY");
    // offscreen, minimal, vnc, the frame buffers: none of them needs a session.
    return !name.empty();
}

// QT_QPA_PLATFORM may list platforms to try in turn, "wayland;xcb".
bool AnyPlatformFindsDisplay(std::string_view platforms) {
    while (!platforms.empty()) {
        const std::size_t end = std::min(platforms.find(';'), platforms.size());
        const std::string_view entry = platforms.substr(0, end);
        if (PlatformFindsDisplay(entry.substr(0, entry.find(':')))) return true;
        platforms.remove_prefix(std::min(end + 1, platforms.size()));
    }
    return false;
}

QtMessageHandler g_previousHandler = nullptr;

void EndOnFatalMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type != QtFatalMsg) {
        if (g_previousHandler) g_previousHandler(type, context, message);
        return;
    }
    std::fprintf(stderr, "%s: cannot open a display; it needs a graphical session (DISPLAY or WAYLAND_DISPLAY)\n",
                 GetProgramName().c_str());
    std::fflush(stderr);
    std::_Exit(1);
}

}  // namespace

void RequireDisplay() {
    const char* platforms = std::getenv("QT_QPA_PLATFORM");
    const bool found =
        platforms && *platforms ? AnyPlatformFindsDisplay(platforms) : IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY");
    if (!found) throw std::runtime_error(kNeedsSession);
}

CQtStartGuard::CQtStartGuard() { g_previousHandler = qInstallMessageHandler(EndOnFatalMessage); }

CQtStartGuard::~CQtStartGuard() { qInstallMessageHandler(g_previousHandler); }
