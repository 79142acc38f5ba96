#include "gui/MainWindowFixture.h"

#include <gtest/gtest.h>

#include "res/resource.h"

namespace gui {

std::ostream& operator<<(std::ostream& out, const Row& row)
{
    return out << "{" << row.check << ", " << testing::PrintToString(row.name) << ", "
               << testing::PrintToString(row.date) << ", " << testing::PrintToString(row.mark) << "}";
}

CExtListCtrl* ModList(HWND dialog)
{
    return dynamic_cast<CExtListCtrl*>(fw::WindowSubclass::FromHandle(GetDlgItem(dialog, IDC_MOD_LIST)));
}

std::vector<Row> Rows(HWND dialog)
{
    std::vector<Row> rows;
    OnUiThread([&] {
        HWND list = GetDlgItem(dialog, IDC_MOD_LIST);
        CExtListCtrl* control = ModList(dialog);
        if (!control)
            return;
        for (int row = 0; row < ListCount(list); ++row)
            rows.push_back(Row{control->GetCellCheck(row, 0), ListText(list, row, 1), ListText(list, row, 2),
                               ListText(list, row, 3)});
    });
    return rows;
}

std::wstring Status(HWND dialog) { return WindowText(GetDlgItem(dialog, IDC_STATUS)); }

void RunMainWindow(const std::wstring& programPath, const std::function<void(HWND window)>& script)
{
    CModManagerDlg dialog(programPath);
    RunDialog(dialog, [&] {
        HWND window = WaitForDialog(kCaptionStart);
        ASSERT_NE(window, nullptr);
        script(window);
    });
}

GameFolder::GameFolder(bool withGame)
{
    testing_files::MakeFolder(paks);
    testing_files::WriteFileWithTime(Pak(L"DATA.PAK"), testing_files::Time(2012, 9, 20));
    if (withGame)
        testing_files::WriteFile(root / L"Torchlight2.exe", "game");
}

}  // namespace gui
