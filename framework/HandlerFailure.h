#pragma once
// What the user is told when an exception reaches one of our window
// procedures, hooks or callbacks: a short message naming the action that
// failed. The window goes on working; the action's own clean-up ran as the
// exception left it.

#include <windows.h>

#include "base/Text.h"

namespace fw {

// Names the action a handler performs, for that message. The innermost
// name live where the exception was thrown wins.
class ActionName {
public:
    explicit ActionName(const wchar_t* name);
    ~ActionName();
    ActionName(const ActionName&) = delete;
    ActionName& operator=(const ActionName&) = delete;

private:
    const wchar_t* name_;
    ActionName* outer_;
    int exceptionsAtStart_;
};

// The message's texts, given by the program with its other texts in the
// language shown at the time.
struct HandlerFailureTexts {
    Text<2> failed;              // %s the action, %s the reason
    const wchar_t* outOfMemory;  // the reason for std::bad_alloc
    const wchar_t* unexpected;   // the reason for any other exception
    const wchar_t* anAction;     // the action when nothing names it
};
HandlerFailureTexts ProgramHandlerFailureTexts();

// Shows the message for the exception being handled; call it only inside a
// catch block. `message`, `w` and `l` are what the window was handling:
// when no ActionName named the action, a button's text or a system-menu
// item's text names it.
void ReportHandlerFailure(HWND window, UINT message = 0, WPARAM w = 0, LPARAM l = 0) noexcept;

// Runs `work` as the action `name`, reporting any exception it throws.
template <class Work>
void RunReportingFailure(HWND window, const wchar_t* name, Work&& work) noexcept
{
    try {
        ActionName action(name);
        work();
    } catch (...) {
        ReportHandlerFailure(window);
    }
}

}  // namespace fw
