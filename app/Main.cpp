#include <windows.h>

#include "app/ModManagerApp.h"

static CModManagerApp theApp;

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    return fw::RunApplication();
}
