// What the Windows test tools share: which windows are the program's (by
// their process's executable file name), and text as UTF-8.
#pragma once

#include <windows.h>

#include <cwchar>
#include <string>

inline std::string utf8(const std::wstring &text)
{
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(size_t(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), int(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

// Whether the window belongs to a process whose executable is `imageName`.
inline bool ofImage(HWND window, const std::wstring &imageName)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (!process)
        return false;
    wchar_t path[MAX_PATH * 2];
    DWORD size = DWORD(std::size(path));
    const bool ok = QueryFullProcessImageNameW(process, 0, path, &size);
    CloseHandle(process);
    if (!ok)
        return false;
    const wchar_t *slash = std::wcsrchr(path, L'\\');
    return _wcsicmp(slash ? slash + 1 : path, imageName.c_str()) == 0;
}
