#pragma once
// The application object: one instance per program, started by RunApplication.

#include <windows.h>

#include <string>

namespace fw {

class CWinApp {
public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // Sets the program up; FALSE ends it without entering a message loop.
    virtual BOOL InitInstance() = 0;
    // The message loop, run only when InitInstance returned TRUE.
    virtual int Run();

    static CWinApp* Current();
};

// Where the program's resources (dialogs, icons) live.
HINSTANCE ResourceInstance();

// The program's title: string resource kAppTitleId of its resources.
inline constexpr UINT kAppTitleId = 0xE000;
std::wstring AppTitle();

// A message box captioned with the program's title.
int AppMessageBox(HWND owner, const std::wstring& text, UINT flags);

// The full path of the running program, of any length.
std::wstring ProgramPath();

// Initialises the common controls and runs the application object.
int RunApplication();

}  // namespace fw
