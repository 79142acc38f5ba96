#pragma once
#include "framework/App.h"

class CModManagerApp : public fw::CWinApp {
public:
    // Runs the main window; returns FALSE so the program ends when it closes.
    BOOL InitInstance() override;
};
