// The program's windows as Windows sees them, for the end-to-end test under
// Wine. Prints one line for every visible top-level window of the processes
// whose executable has the given file name:
//   TITLE|owner=none|hidden|shown|thickframe=0|1|min=0|1|max=0|1|sysmenu=0|1|appwindow=0|1|toolwindow=0|1
// An unowned window without WS_EX_TOOLWINDOW, or any window with
// WS_EX_APPWINDOW, gets a taskbar button; WS_THICKFRAME makes the border
// resize the window and enables Size in the system menu, WS_MINIMIZEBOX and
// WS_MAXIMIZEBOX enable Minimize and Maximize there.
// With --version it prints the Windows version instead, as Qt reads it
// (RtlGetVersion, which no compatibility manifest bends): MAJOR.MINOR.BUILD.
// Built with MinGW on its own, without Qt:
//   x86_64-w64-mingw32-g++ -static -municode -o windowcheck.exe windowcheck.cpp
//   windowcheck.exe QuorvathItemlist.exe
//   windowcheck.exe --version
#include "ourwindows.h"

#include <cstdio>
#include <string>

namespace {

std::wstring imageName;

BOOL CALLBACK report(HWND window, LPARAM)
{
    if (!IsWindowVisible(window) || !ofImage(window, imageName))
        return TRUE;
    wchar_t title[512] = {};
    GetWindowTextW(window, title, int(std::size(title)));
    const HWND owner = GetWindow(window, GW_OWNER);
    const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    const LONG_PTR exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
    const auto bit = [](LONG_PTR value, LONG_PTR flag) { return (value & flag) ? 1 : 0; };
    std::printf("%s|owner=%s|thickframe=%d|min=%d|max=%d|sysmenu=%d|appwindow=%d|toolwindow=%d\n",
                utf8(title).c_str(), !owner ? "none" : IsWindowVisible(owner) ? "shown" : "hidden",
                bit(style, WS_THICKFRAME), bit(style, WS_MINIMIZEBOX), bit(style, WS_MAXIMIZEBOX),
                bit(style, WS_SYSMENU), bit(exStyle, WS_EX_APPWINDOW), bit(exStyle, WS_EX_TOOLWINDOW));
    return TRUE;
}

int printVersion()
{
    using GetVersion = LONG(WINAPI *)(OSVERSIONINFOW *);
    const auto get = reinterpret_cast<GetVersion>(
        reinterpret_cast<void *>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
    OSVERSIONINFOW info = {};
    info.dwOSVersionInfoSize = sizeof info;
    if (!get || get(&info) != 0)
        return 1;
    std::printf("%lu.%lu.%lu\n", info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber);
    return 0;
}

} // namespace

int wmain(int argc, wchar_t **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: windowcheck EXECUTABLE-NAME | --version\n");
        return 2;
    }
    if (std::wstring(argv[1]) == L"--version")
        return printVersion();
    imageName = argv[1];
    return EnumWindows(report, 0) ? 0 : 1;
}
