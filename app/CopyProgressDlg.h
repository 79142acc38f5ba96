#pragma once
// The progress of an install: a small window of its own, shown once the
// copies have run for half a second, with the mod being copied, its bytes
// and a Cancel. While it is up the main window is disabled but keeps
// painting: the copies tell it between chunks, and it lets the messages
// waiting be handled then.

#include <windows.h>

#include <cstdint>
#include <string>

#include "mods/Install.h"

class CCopyProgressDlg final : public mods::InstallProgress {
public:
    explicit CCopyProgressDlg(HWND owner);
    ~CCopyProgressDlg() override;
    CCopyProgressDlg(const CCopyProgressDlg&) = delete;
    CCopyProgressDlg& operator=(const CCopyProgressDlg&) = delete;

    void CopyingMod(const std::wstring& name, std::size_t index, std::size_t count) override;
    bool Copied(std::uint64_t bytes, std::uint64_t total) override;

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM w, LPARAM l);
    void HandleWaitingMessages();

    HWND owner_;
    HWND window_ = nullptr;
    bool ownerWasEnabled_ = false;
    bool cancelled_ = false;
    DWORD startedAt_ = 0;
    DWORD shownAt_ = 0;  // when the texts were last brought up to date
    std::wstring mod_;
    std::size_t index_ = 0, count_ = 0;
};
