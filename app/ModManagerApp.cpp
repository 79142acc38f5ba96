#include "app/ModManagerApp.h"

#include "app/ModManagerDlg.h"

BOOL CModManagerApp::InitInstance()
{
    CModManagerDlg dialog(fw::ProgramPath());
    dialog.DoModal();
    return FALSE;
}
