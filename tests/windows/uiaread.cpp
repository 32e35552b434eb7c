// The program's windows as a Windows screen reader finds them through UI
// Automation: every element under each visible top-level window of the
// processes whose executable has the given file name, walked with
// UI Automation's flat API (UiaNodeFromHandle, then UiaNavigate's first child
// and next sibling under the true condition). One line per element, indented
// two spaces a level:
//   TYPE|NAME|focus=0|1|labeledby=NAME|value=TEXT|id=RUNTIME.ID
// A property the provider does not give reads "!" and the HRESULT in hex;
// labeledby reads "-" when the element names no label.
// Built with MinGW on its own, without Qt:
//   x86_64-w64-mingw32-g++ -static -municode -o uiaread.exe uiaread.cpp -luiautomationcore -loleaut32 -lole32
//   uiaread.exe QuorvathItemlist.exe
#include "ourwindows.h"

#include <uiautomation.h>

#include <cstdio>
#include <set>
#include <string>

namespace {

std::wstring imageName;
std::set<std::wstring> seen;   // runtime ids: a cycle in the tree is walked once
int lines = 0;

// One element a line: line breaks and the field separator are shown.
std::string field(const std::wstring &text)
{
    std::string out = utf8(text);
    for (char &c : out)
        if (c == '\n' || c == '\r' || c == '|')
            c = c == '|' ? '/' : ' ';
    return out;
}

std::string hresult(HRESULT hr)
{
    char text[16];
    std::snprintf(text, sizeof text, "!%08lx", static_cast<unsigned long>(hr));
    return text;
}

const char *controlType(int id)
{
    static const char *const names[] = {
        "Button", "Calendar", "CheckBox", "ComboBox", "Edit", "Hyperlink", "Image", "ListItem", "List", "Menu",
        "MenuBar", "MenuItem", "ProgressBar", "RadioButton", "ScrollBar", "Slider", "Spinner", "StatusBar", "Tab",
        "TabItem", "Text", "ToolBar", "ToolTip", "Tree", "TreeItem", "Custom", "Group", "Thumb", "DataGrid",
        "DataItem", "Document", "SplitButton", "Window", "Pane", "Header", "HeaderItem", "Table", "TitleBar",
        "Separator"};
    const int index = id - UIA_ButtonControlTypeId;
    return index >= 0 && index < int(std::size(names)) ? names[index] : "Unknown";
}

std::string stringProperty(HUIANODE node, PROPERTYID id)
{
    VARIANT v;
    VariantInit(&v);
    const HRESULT hr = UiaGetPropertyValue(node, id, &v);
    if (FAILED(hr))
        return hresult(hr);
    std::string out = v.vt == VT_BSTR && v.bstrVal ? field(v.bstrVal) : std::string();
    VariantClear(&v);
    return out;
}

std::string labeledBy(HUIANODE node)
{
    VARIANT v;
    VariantInit(&v);
    const HRESULT hr = UiaGetPropertyValue(node, UIA_LabeledByPropertyId, &v);
    if (FAILED(hr))
        return hresult(hr);
    std::string out = "-";
    HUIANODE label = nullptr;
    if (v.vt == VT_UNKNOWN && v.punkVal && SUCCEEDED(UiaHUiaNodeFromVariant(&v, &label)) && label) {
        out = stringProperty(label, UIA_NamePropertyId);
        UiaNodeRelease(label);
    }
    VariantClear(&v);
    return out;
}

std::wstring runtimeId(HUIANODE node)
{
    SAFEARRAY *ids = nullptr;
    if (FAILED(UiaGetRuntimeId(node, &ids)) || !ids)
        return L"";
    std::wstring out;
    LONG low = 0, high = -1;
    SafeArrayGetLBound(ids, 1, &low);
    SafeArrayGetUBound(ids, 1, &high);
    for (LONG i = low; i <= high; ++i) {
        int part = 0;
        SafeArrayGetElement(ids, &i, &part);
        out += (i > low ? L"." : L"") + std::to_wstring(part);
    }
    SafeArrayDestroy(ids);
    return out;
}

// The element in direction `dir` from `node` under the true condition, or null.
HUIANODE navigate(HUIANODE node, NavigateDirection dir)
{
    UiaCondition any = {ConditionType_True};
    UiaCacheRequest request = {};
    request.pViewCondition = &any;
    request.Scope = TreeScope_Element;
    request.automationElementMode = AutomationElementMode_Full;
    SAFEARRAY *found = nullptr;
    BSTR structure = nullptr;
    HUIANODE next = nullptr;
    if (SUCCEEDED(UiaNavigate(node, dir, &any, &request, &found, &structure)) && found) {
        VARIANT v;
        VariantInit(&v);
        LONG at[2] = {0, 0};
        if (SUCCEEDED(SafeArrayGetElement(found, at, &v)))
            UiaHUiaNodeFromVariant(&v, &next);
        VariantClear(&v);
        SafeArrayDestroy(found);
    }
    SysFreeString(structure);
    return next;
}

void walk(HUIANODE node, int depth)
{
    const std::wstring id = runtimeId(node);
    if (depth > 40 || lines > 3000 || (!id.empty() && !seen.insert(id).second)) {
        std::printf("%*sLOOP|%s\n", depth * 2, "", field(id).c_str());
        return;
    }
    ++lines;
    VARIANT type, focus;
    VariantInit(&type);
    VariantInit(&focus);
    const HRESULT typeHr = UiaGetPropertyValue(node, UIA_ControlTypePropertyId, &type);
    const HRESULT focusHr = UiaGetPropertyValue(node, UIA_HasKeyboardFocusPropertyId, &focus);
    std::printf("%*s%s|%s|focus=%s|labeledby=%s|value=%s|id=%s\n", depth * 2, "",
                SUCCEEDED(typeHr) && type.vt == VT_I4 ? controlType(type.lVal) : hresult(typeHr).c_str(),
                stringProperty(node, UIA_NamePropertyId).c_str(),
                FAILED(focusHr) ? hresult(focusHr).c_str() : focus.vt == VT_BOOL && focus.boolVal ? "1" : "0",
                labeledBy(node).c_str(), stringProperty(node, UIA_ValueValuePropertyId).c_str(), field(id).c_str());
    VariantClear(&type);
    VariantClear(&focus);
    for (HUIANODE child = navigate(node, NavigateDirection_FirstChild); child;) {
        walk(child, depth + 1);
        HUIANODE next = navigate(child, NavigateDirection_NextSibling);
        UiaNodeRelease(child);
        child = next;
    }
}

BOOL CALLBACK report(HWND window, LPARAM)
{
    if (!IsWindowVisible(window) || !ofImage(window, imageName))
        return TRUE;
    HUIANODE node = nullptr;
    const HRESULT hr = UiaNodeFromHandle(window, &node);
    if (FAILED(hr) || !node) {
        std::printf("NONODE|%s\n", hresult(hr).c_str());
        return TRUE;
    }
    walk(node, 0);
    UiaNodeRelease(node);
    return TRUE;
}

} // namespace

int wmain(int argc, wchar_t **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: uiaread EXECUTABLE-NAME\n");
        return 2;
    }
    imageName = argv[1];
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    EnumWindows(report, 0);
    std::fflush(stdout);
    CoUninitialize();
    return 0;
}
