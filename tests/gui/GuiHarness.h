#pragma once
// Runs a real modal dialog on the test's main thread while a script drives
// it from a second thread, as a user would: messages, clicks, and answers to
// real message boxes.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/Dialog.h"

namespace gui {

// Runs `dialog` modally; `script` runs on a second thread once the dialog is
// up (or earlier message boxes must be answered: see WaitForMessageBox).
// The dialog is cancelled after the script if it is still open. Returns
// what DoModal returned.
INT_PTR RunDialog(fw::CDialog& dialog, const std::function<void()>& script);

// Runs `work` on the dialog's thread and waits for it.
void OnUiThread(const std::function<void()>& work);

// The visible dialog window of the UI thread whose caption starts with
// `captionStart`, waiting up to a few seconds; null when none shows.
HWND WaitForDialog(const std::wstring& captionStart);

// The visible dialog of the UI thread whose caption is exactly `caption`.
HWND WaitForDialogTitled(const std::wstring& caption, int timeoutMs = 5000);

struct MessageBoxSeen {
    HWND window = nullptr;
    HWND owner = nullptr;
    std::wstring caption;
    std::wstring text;
};
// Waits for a message box with this caption on the UI thread.
MessageBoxSeen WaitForMessageBox(const std::wstring& caption, int timeoutMs = 5000);
// Presses a message box's button (IDOK, IDCANCEL, ...) and waits until it closes.
void Answer(const MessageBoxSeen& box, int button);

// Clicks a dialog button as the user would (BM_CLICK) and waits for its handler.
void ClickButton(HWND dialog, int id);

// Posts a press and a release of the left or right button at a client point,
// as the mouse would; returns at once (the press may open a modal box).
void PostClick(HWND window, POINT point, bool rightButton = false);
// Waits until the UI thread has handled every message posted before.
void Settle();

// The popup menu open on the UI thread, waiting up to `timeoutMs`.
HWND WaitForPopupMenu(int timeoutMs = 5000);
// The popup menu open on the UI thread that holds an item of this text.
HWND WaitForPopupMenuHolding(const std::wstring& item, int timeoutMs = 5000);
std::vector<std::wstring> MenuItems(HWND menuWindow);
// Picks an item with the keyboard, as a user would, or closes the menu.
void ChooseMenuItem(HWND menuWindow, int index);
void CloseMenu(HWND menuWindow);

// The visible window of that control id anywhere below `root` (dialogs in dialogs included).
HWND FindVisibleDescendant(HWND root, int id);
std::wstring WindowText(HWND window);
std::wstring ListText(HWND list, int row, int column);
int ListCount(HWND list);

}  // namespace gui
