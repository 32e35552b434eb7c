// How GDI draws a face narrowed by LOGFONT's lfWidth: a few of the program's
// texts in the face at its natural average width times each given percent,
// black on white as a window's client area has them, each into PREFIX-PCT.bmp.
// Also says whether GDI offers the face at all.
//   narrowing.exe FACE PIXELS PREFIX PCT...
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

static const wchar_t *const Lines[] = {
    L"Effect(s) of Equipping:  Activated Effect(s):  Usable By:",
    L"Bard, Geomancer, Hunter, Paladin, Warrior",
    L"Interlocking iron rings; noisy, but dependable.",
    L"and speculation as to the item's origin, purpose, and so on.",
    L"Adds +2 to the character's AC value. Continuous while equipped.",
};

static int CALLBACK found(const LOGFONTW *, const TEXTMETRICW *, DWORD type, LPARAM seen)
{
    *reinterpret_cast<DWORD *>(seen) = type | 0x100;
    return 0;
}

static bool saveBmp(const std::wstring &name, const BITMAPINFO &info, const void *bits)
{
    FILE *file = _wfopen(name.c_str(), L"wb");
    if (!file)
        return false;
    const DWORD size = info.bmiHeader.biSizeImage;
    BITMAPFILEHEADER header{0x4d42, DWORD(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + size), 0, 0,
                            DWORD(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER))};
    fwrite(&header, sizeof header, 1, file);
    fwrite(&info.bmiHeader, sizeof(BITMAPINFOHEADER), 1, file);
    fwrite(bits, size, 1, file);
    return fclose(file) == 0;
}

int wmain(int argc, wchar_t **argv)
{
    if (argc < 5)
        return 2;
    HDC dc = CreateCompatibleDC(nullptr);
    LOGFONTW font{};
    font.lfCharSet = DEFAULT_CHARSET;
    wcsncpy(font.lfFaceName, argv[1], LF_FACESIZE - 1);
    DWORD seen = 0;
    EnumFontFamiliesExW(dc, &font, found, LPARAM(&seen), 0);
    wprintf(L"%ls: %ls\n", argv[1], !seen ? L"not offered" : (seen & TRUETYPE_FONTTYPE) ? L"TrueType" : L"bitmap");

    font.lfHeight = -_wtoi(argv[2]);
    font.lfQuality = DEFAULT_QUALITY;   // the system's smoothing, as a window gets it
    HFONT natural = CreateFontIndirectW(&font);
    SelectObject(dc, natural);
    TEXTMETRICW metrics;
    GetTextMetricsW(dc, &metrics);
    const int width = 520, lineHeight = metrics.tmHeight + 6, height = lineHeight * int(std::size(Lines)) + 8;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 24, BI_RGB, DWORD(((width * 3 + 3) & ~3) * height)};
    for (int arg = 4; arg < argc; ++arg) {
        const int percent = _wtoi(argv[arg]);
        font.lfWidth = (metrics.tmAveCharWidth * percent + 50) / 100;
        HFONT narrowed = CreateFontIndirectW(&font);
        void *bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        SelectObject(dc, bitmap);
        SelectObject(dc, narrowed);
        PatBlt(dc, 0, 0, width, height, WHITENESS);
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkMode(dc, TRANSPARENT);
        int y = 4;
        for (const wchar_t *line : Lines) {
            TextOutW(dc, 4, y, line, int(wcslen(line)));
            y += lineHeight;
        }
        GdiFlush();
        const std::wstring name = std::wstring(argv[3]) + L"-" + argv[arg] + L".bmp";
        wprintf(L"%d%%: lfWidth %ld of %ld -> %ls\n", percent, font.lfWidth, metrics.tmAveCharWidth,
                saveBmp(name, info, bits) ? name.c_str() : L"not saved");
        SelectObject(dc, natural);
        DeleteObject(bitmap);
        DeleteObject(narrowed);
    }
    return 0;
}
