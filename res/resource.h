// Resource and control ids of PakOrder.
#pragma once

#define IDD_MODMANAGER_DIALOG   102
#define IDR_MAINFRAME           128
#define IDD_MODTIME_DIALOG      131
#define IDD_CONFLICT_DIALOG     132
#define IDD_HISTORY_DIALOG      133
#define IDD_PROGRESS            134

#define IDC_MOVE_TOP            1000
#define IDC_MOVE_UP             1001
#define IDC_MOVE_DOWN           1002
#define IDC_MOVE_BOTTOM         1003
#define IDC_CONFLICT_CHECK      1004
#define IDC_MOD_LIST            1005
#define IDC_RESTORE             1006
#define IDC_EDIT_TIME           1007
#define IDC_LAUNCH_GAME         1008
#define IDC_STATUS              1009
#define IDC_MOD_DATE            1010
#define IDC_CONFLICT_SUMMARY    1011
#define IDC_CONFLICT_NOTE       1012
#define IDC_CONFLICT_LIST       1013
#define IDC_UNCHECKED_MODS      1014
#define IDC_HISTORY_LIST        1015
#define IDC_HISTORY_NOTE        1016
#define IDC_PROGRESS_TEXT       1017
#define IDC_PROGRESS_BAR        1018
