#include "framework/App.h"

#include <commctrl.h>
#include <objbase.h>

#include "framework/HandlerFailure.h"

namespace fw {
namespace {

CWinApp* g_application = nullptr;

}  // namespace

CWinApp::CWinApp() { g_application = this; }

CWinApp::~CWinApp()
{
    if (g_application == this)
        g_application = nullptr;
}

int CWinApp::Run()
{
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

CWinApp* CWinApp::Current() { return g_application; }

HINSTANCE ResourceInstance() { return GetModuleHandleW(nullptr); }

std::wstring AppTitle()
{
    const wchar_t* text = nullptr;
    // With a zero buffer size LoadString hands out a pointer to the resource itself.
    const int length = LoadStringW(ResourceInstance(), kAppTitleId, reinterpret_cast<wchar_t*>(&text), 0);
    return length > 0 ? std::wstring(text, static_cast<std::size_t>(length)) : std::wstring();
}

int AppMessageBox(HWND owner, const std::wstring& text, UINT flags)
{
    return MessageBoxW(owner, text.c_str(), AppTitle().c_str(), flags);
}

std::wstring ProgramPath()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);  // truncated: try a larger buffer
    }
}

int RunApplication()
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_DATE_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    // The shell's file dialog needs a single-threaded apartment.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);

    int exitCode = 0;
    try {
        CWinApp* app = CWinApp::Current();
        if (app && app->InitInstance())
            exitCode = app->Run();
    } catch (...) {
        ReportHandlerFailure(nullptr);
        exitCode = 1;
    }
    if (SUCCEEDED(com))
        CoUninitialize();
    return exitCode;
}

}  // namespace fw
