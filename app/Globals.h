#pragma once
// State shared by the main window's operations for the whole run.

#include <string>

class CModManagerDlg;

// The folder whose paks are managed; after start-up it ends with exactly one
// separator, so a file's path is g_paksFolder + its name.
extern std::wstring g_paksFolder;
// The program's own folder + "Torchlight2.exe".
extern std::wstring g_gameExePath;
// The running main window.
extern CModManagerDlg* g_mainDialog;
