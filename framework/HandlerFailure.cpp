#include "framework/HandlerFailure.h"

#include <exception>
#include <new>
#include <string>
#include <string_view>

#include "base/FormatText.h"
#include "framework/App.h"

namespace fw {
namespace {

thread_local ActionName* t_innermost = nullptr;
thread_local const wchar_t* t_failedAction = nullptr;  // set as an exception leaves an ActionName
thread_local bool t_showing = false;

// Chinese characters and punctuation, written without spaces between them.
bool IsChinese(wchar_t c) { return c >= 0x2E80; }

// A control's or menu item's text as an action's name, without what lays it
// out: a break or spaces vanish beside Chinese and leave one space between
// other words ("Smart\n\nsort"), a hyphen ending a line joins the word it
// broke ("Con-\nflict"), and "&" goes; so does a letter named after the
// words in brackets, as Chinese texts name it ("检测\n(&C)").
std::wstring NameFromText(std::wstring_view text)
{
    if (text.size() >= 4 && text.substr(text.size() - 4, 2) == L"(&" && text.back() == L')')
        text.remove_suffix(4);
    std::wstring name;
    bool spaced = false, broken = false;
    for (const wchar_t c : text) {
        if (c == L'&')
            continue;
        if (c == L'\r' || c == L'\n' || c == L'\t' || c == L' ') {
            spaced = true;
            broken = broken || c == L'\n';
            continue;
        }
        if (spaced && !name.empty()) {
            if (broken && name.back() == L'-')
                name.pop_back();
            else if (!IsChinese(name.back()) && !IsChinese(c))
                name += L' ';
        }
        spaced = broken = false;
        name += c;
    }
    return name;
}

std::wstring NameOfMessage(HWND window, UINT message, WPARAM w, LPARAM l)
{
    if (message == WM_COMMAND && l != 0) {
        const HWND control = reinterpret_cast<HWND>(l);
        wchar_t className[16] = {};
        GetClassNameW(control, className, 16);
        if (std::wstring_view(className) == L"Button") {
            std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
            text.resize(static_cast<std::size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
            return NameFromText(text);
        }
    }
    if (message == WM_SYSCOMMAND) {
        wchar_t text[128] = {};
        if (GetMenuStringW(GetSystemMenu(window, FALSE), static_cast<UINT>(w & 0xFFF0), text, 128, MF_BYCOMMAND) > 0)
            return NameFromText(text);
    }
    return {};
}

}  // namespace

ActionName::ActionName(const wchar_t* name)
    : name_(name), outer_(t_innermost), exceptionsAtStart_(std::uncaught_exceptions())
{
    if (!outer_)
        t_failedAction = nullptr;
    t_innermost = this;
}

ActionName::~ActionName()
{
    // Left by an exception: the first name it leaves is the innermost.
    if (std::uncaught_exceptions() > exceptionsAtStart_ && !t_failedAction)
        t_failedAction = name_;
    t_innermost = outer_;
}

void ReportHandlerFailure(HWND window, UINT message, WPARAM w, LPARAM l) noexcept
{
    const HandlerFailureTexts texts = ProgramHandlerFailureTexts();
    const wchar_t* named = t_failedAction;
    t_failedAction = nullptr;
    // One message at a time: a failure while one shows (a repaint under the
    // box) is the same failure again.
    if (t_showing)
        return;
    const HWND owner = window && IsWindow(window) ? GetAncestor(window, GA_ROOT) : nullptr;
    t_showing = true;
    try {
        const wchar_t* reason = texts.unexpected;
        try {
            throw;
        } catch (const std::bad_alloc&) {
            reason = texts.outOfMemory;
        } catch (...) {
        }
        std::wstring action = named ? std::wstring(named) : NameOfMessage(window, message, w, l);
        if (action.empty())
            action = texts.anAction;
        AppMessageBox(owner, FormatText(texts.failed, action, reason), MB_OK | MB_ICONERROR);
    } catch (...) {
        // Too little memory even to say what failed: say that much.
        MessageBoxW(owner, texts.outOfMemory, nullptr, MB_OK | MB_ICONERROR);
    }
    t_showing = false;
}

}  // namespace fw
