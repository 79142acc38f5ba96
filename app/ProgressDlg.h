#pragma once
// The progress of long work: a small window of its own, shown once the work
// has run for half a second, with what is being done, a bar and, for work
// that can stop, a Cancel. While it is up the main window is disabled but
// keeps painting: the work reports between its steps, and the messages
// waiting are handled then.

#include <windows.h>

#include <cstdint>
#include <string>

#include "mods/Install.h"
#include "mods/StepProgress.h"

class CProgressDlg {
public:
    CProgressDlg(HWND owner, const wchar_t* caption, bool cancellable);
    ~CProgressDlg();
    CProgressDlg(const CProgressDlg&) = delete;
    CProgressDlg& operator=(const CProgressDlg&) = delete;

    // How far the work has got; false once the player has cancelled it.
    bool Step(const std::wstring& text, std::uint64_t done, std::uint64_t total);
    // True when a Step now would show something: its text is worth making.
    bool Due() const;

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM w, LPARAM l);
    void HandleWaitingMessages();

    HWND owner_;
    HWND window_ = nullptr;
    bool ownerWasEnabled_ = false;
    HWND focus_ = nullptr;  // given back when the work is done
    bool cancelled_ = false;
    DWORD startedAt_ = 0;
    DWORD shownAt_ = 0;  // when the window was last brought up to date
};

// Work of many steps (rows, mods, manifests), its progress shown in the dialog.
mods::StepProgress StepsShownIn(CProgressDlg& dialog);

// An install's progress, shown as its copies tell it: which mod, and how
// many of its megabytes are copied.
class InstallProgressShown final : public mods::InstallProgress {
public:
    explicit InstallProgressShown(HWND owner);
    void CopyingMod(const std::wstring& name, std::size_t index, std::size_t count) override;
    bool Copied(std::uint64_t bytes, std::uint64_t total) override;

private:
    CProgressDlg dialog_;
    std::wstring mod_;
    std::size_t index_ = 0, count_ = 0;
};
