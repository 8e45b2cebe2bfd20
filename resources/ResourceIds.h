#pragma once

// Numbers by which the program looks up its user-interface resources, and
// the command and control ids its windows exchange.
namespace vostrel::res {

// Dialog templates and the string table.
constexpr int IDD_ABOUTBOX = 100;
constexpr int IDS_ABOUTBOX = 101;
constexpr int IDD_COUNTDOWN = 102;

// Icons. There is no 129 and no 135: the sixth icon choice is 136.
constexpr int IDI_STOPWATCH = 128;
constexpr int IDI_FIRECRACKER = 130;
constexpr int IDI_EYE = 131;
constexpr int IDI_FROWN = 132;
constexpr int IDI_SMILE = 133;
constexpr int IDI_CLOCK = 134;
constexpr int IDI_STOPWATCH2 = 136;

// The tray menu; the same number is the tray icon's id.
constexpr int IDR_TRAYMENU = 139;

// Commands.
constexpr int IDM_ABOUTBOX = 16;
constexpr int ID_UPDATE_TIMER = 32772;
constexpr int ID_SHOW_HELP = 32773;
constexpr int ID_SHOW_ABOUT = 32774;
constexpr int ID_APP_EXIT = 57665;
constexpr int ID_HELP = 57670;

// Controls. 1005 and 1008 are not used.
constexpr int IDOK = 1;
constexpr int IDC_STATIC = -1;
constexpr int IDC_UNIT_HMS = 1000;
constexpr int IDC_UNIT_SECONDS = 1001;
constexpr int IDC_UNIT_MINUTES = 1002;
constexpr int IDC_UNIT_HOURS = 1003;
constexpr int IDC_UNIT_DAYS = 1004;
constexpr int IDC_BTN_OK = 1006;
constexpr int IDC_END_DATE = 1007;
constexpr int IDC_ICON_CHOICE0 = 1009;
constexpr int IDC_ICON_CHOICE1 = 1010;
constexpr int IDC_ICON_CHOICE2 = 1011;
constexpr int IDC_ICON_CHOICE3 = 1012;
constexpr int IDC_ICON_CHOICE4 = 1013;
constexpr int IDC_ICON_CHOICE5 = 1014;
constexpr int IDC_DISPLAY = 1015;
constexpr int IDC_VAC_DAYS = 1016;

} // namespace vostrel::res
