#pragma once
// The resolution (dots per inch) a window is shown at, and the system's sizes at it. The calls for
// a window's own resolution exist from Windows 10 version 1607 on; they are looked up at run time,
// so that the program still runs on older Windows, where every window has the screen's resolution.

#include <windows.h>

using DpiForWindowFunction = UINT(WINAPI*)(HWND);
using SystemMetricForDpiFunction = int(WINAPI*)(int, UINT);

// The system's GetDpiForWindow and GetSystemMetricsForDpi, or nullptr where it has none.
DpiForWindowFunction FindDpiForWindow();
SystemMetricForDpiFunction FindSystemMetricForDpi();

// The screen's resolution (GetDeviceCaps LOGPIXELSX); 96 where it cannot be read.
int ScreenDpi();

// The resolution of window: its monitor's where the program is aware of monitors' resolutions and
// dpiForWindow is given, else the screen's. Never less than 1.
int WindowDpi(HWND window, DpiForWindowFunction dpiForWindow = FindDpiForWindow());

// System metric index (SM_CXVSCROLL...) at resolution dpi: the system's own figure where
// metricForDpi is given, else the metric at the screen's resolution scaled to dpi.
int SystemMetricAtDpi(int index, int dpi, SystemMetricForDpiFunction metricForDpi = FindSystemMetricForDpi());

// System metric index at the resolution of window.
int WindowSystemMetric(HWND window, int index);
