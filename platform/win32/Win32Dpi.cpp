#include "platform/win32/Win32Dpi.h"

#include "platform/DpiScale.h"

namespace {

// A function of user32 by name, or nullptr.
template <class Function>
Function FindUser32Function(const char* name) {
    const HMODULE user32 = GetModuleHandleA("user32.dll");
    const FARPROC found = user32 ? GetProcAddress(user32, name) : nullptr;
    // Through a function pointer without parameters: the compilers allow that cast without a warning.
    return found ? reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found)) : nullptr;
}

}  // namespace

DpiForWindowFunction FindDpiForWindow() {
    static const DpiForWindowFunction found = FindUser32Function<DpiForWindowFunction>("GetDpiForWindow");
    return found;
}

SystemMetricForDpiFunction FindSystemMetricForDpi() {
    static const SystemMetricForDpiFunction found =
        FindUser32Function<SystemMetricForDpiFunction>("GetSystemMetricsForDpi");
    return found;
}

int ScreenDpi() {
    const HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : kDefaultDpi;
}

int WindowDpi(HWND window, DpiForWindowFunction dpiForWindow) {
    const UINT dpi = dpiForWindow && window ? dpiForWindow(window) : 0;
    return dpi > 0 ? static_cast<int>(dpi) : ScreenDpi();
}

int SystemMetricAtDpi(int index, int dpi, SystemMetricForDpiFunction metricForDpi) {
    if (metricForDpi && dpi > 0) return metricForDpi(index, static_cast<UINT>(dpi));
    return ScaleBetweenDpi(GetSystemMetrics(index), ScreenDpi(), dpi);
}

int WindowSystemMetric(HWND window, int index) { return SystemMetricAtDpi(index, WindowDpi(window)); }
