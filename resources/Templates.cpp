#include "resources/Templates.h"

#include "resources/ResourceIds.h"
#include "resources/Version.h"

#include <array>

namespace vostrel::res {
namespace {

using enum ControlClass;
using namespace style;

constexpr std::uint32_t kShown = child | visible;

// One of the six pictures along the bottom that choose the window's icon.
constexpr ControlTemplate IconChoice(int id, int iconId, int x)
{
    return {id, staticControl, "", iconId, {x, 76, 20, 20}, kShown | centreImage | notify | iconPicture};
}

constexpr std::array kCountdownControls = {
    ControlTemplate{IDC_UNIT_DAYS, button, "D", 0, {11, 5, 17, 15}, kShown | group | autoRadioButton},
    ControlTemplate{IDC_UNIT_HOURS, button, "H", 0, {31, 5, 17, 15}, kShown | autoRadioButton},
    ControlTemplate{IDC_UNIT_MINUTES, button, "M", 0, {51, 5, 17, 15}, kShown | autoRadioButton},
    ControlTemplate{IDC_UNIT_SECONDS, button, "S", 0, {71, 5, 17, 15}, kShown | autoRadioButton},
    ControlTemplate{IDC_UNIT_HMS, button, "H:M:S", 0, {90, 6, 28, 13}, kShown | autoRadioButton},
    ControlTemplate{IDC_END_DATE, edit, "", 0, {45, 26, 76, 12}, kShown | border | autoHorizontalScroll},
    ControlTemplate{IDC_BTN_OK, button, "OK", 0, {136, 26, 18, 12}, kShown | defaultPushButton},
    IconChoice(IDC_ICON_CHOICE0, IDI_FIRECRACKER, 11),
    IconChoice(IDC_ICON_CHOICE1, IDI_EYE, 37),
    IconChoice(IDC_ICON_CHOICE2, IDI_FROWN, 63),
    IconChoice(IDC_ICON_CHOICE3, IDI_SMILE, 89),
    IconChoice(IDC_ICON_CHOICE4, IDI_CLOCK, 115),
    IconChoice(IDC_ICON_CHOICE5, IDI_STOPWATCH2, 136),
    ControlTemplate{IDC_STATIC, staticControl, "Date[Time]:", 0, {5, 27, 36, 10}, kShown},
    ControlTemplate{IDC_DISPLAY, staticControl, "", 0, {5, 46, 159, 20}, kShown | group | centreImage},
    ControlTemplate{IDC_STATIC, button, "", 0, {5, 70, 159, 28}, kShown | groupBox},
    ControlTemplate{IDC_STATIC, button, "", 0, {5, 0, 115, 21}, kShown | groupBox},
    ControlTemplate{IDC_VAC_DAYS,
                    edit,
                    "",
                    0,
                    {140, 9, 11, 12},
                    kShown | border | group | tabStop | autoHorizontalScroll},
    ControlTemplate{IDC_STATIC, staticControl, "Vac. Days", 0, {126, 0, 36, 9}, kShown | group},
};

constexpr std::array kAboutControls = {
    ControlTemplate{IDC_STATIC, staticControl, "", IDI_STOPWATCH, {11, 17, 20, 20}, kShown | iconPicture},
    ControlTemplate{IDC_STATIC, staticControl, kAboutVersion, 0, {40, 10, 124, 8}, kShown | group | noPrefix},
    ControlTemplate{IDC_STATIC,
                    staticControl,
                    "Copyright (C) 2026 Pelmark. All rights reserved.",
                    0,
                    {40, 25, 140, 8},
                    kShown | group},
    ControlTemplate{IDOK, button, "OK", 0, {178, 7, 32, 14}, kShown | group | tabStop | defaultPushButton},
    ControlTemplate{
        IDC_STATIC, staticControl, "E-mail: vostrel@pelmark.example", 0, {40, 45, 125, 8}, kShown | group},
    ControlTemplate{IDC_STATIC,
                    staticControl,
                    "Home page: https://pelmark.example/vostrel",
                    0,
                    {40, 35, 132, 8},
                    kShown | group},
};

constexpr std::array kDialogs = {
    DialogTemplate{IDD_COUNTDOWN,
                   popup | caption | systemMenu | dialogFont,
                   {82, 70, 169, 103},
                   "Vostrel",
                   8,
                   "MS Sans Serif",
                   kCountdownControls},
    DialogTemplate{IDD_ABOUTBOX,
                   popup | caption | systemMenu | dialogFont | modalFrame,
                   {0, 0, 217, 55},
                   "About Vostrel",
                   8,
                   "MS Sans Serif",
                   kAboutControls},
};

constexpr std::array kTrayMenuItems = {
    MenuItem{"Update Timer", ID_UPDATE_TIMER}, MenuItem{"", 0}, MenuItem{"Help", ID_SHOW_HELP},
    MenuItem{"About", ID_SHOW_ABOUT},          MenuItem{"", 0}, MenuItem{"E&xit", ID_APP_EXIT},
};

constexpr MenuTemplate kTrayMenu{IDR_TRAYMENU, "POPUP", kTrayMenuItems};

constexpr std::array kVersionStrings = {
    VersionString{"Comments", "Times an interval in your choice of unit."},
    VersionString{"CompanyName", "Pelmark (vostrel@pelmark.example, https://pelmark.example/vostrel)"},
    VersionString{"FileDescription", ""},
    VersionString{"FileVersion", "5, 0, 0, 0"},
    VersionString{"InternalName", "Vostrel"},
    VersionString{"LegalCopyright", "Copyright (C) 2026 Pelmark. All rights reserved."},
    VersionString{"OriginalFilename", "Vostrel.EXE"},
    VersionString{"ProductName", "Vostrel"},
    VersionString{"ProductVersion", "5, 0, 0, 0"},
};

constexpr VersionBlock kVersion{1, {1, 0, 0, 1}, {1, 0, 0, 1}, "040904b0", kVersionStrings, 0x0409, 1200};

} // namespace

const DialogTemplate* FindDialogTemplate(int id)
{
    for (const DialogTemplate& dialog : kDialogs) {
        if (dialog.id == id)
            return &dialog;
    }
    return nullptr;
}

const MenuTemplate* FindMenu(int id)
{
    return id == kTrayMenu.id ? &kTrayMenu : nullptr;
}

std::string_view LoadString(int id)
{
    return id == IDS_ABOUTBOX ? "&About Vostrel..." : "";
}

const VersionBlock& GetVersionBlock()
{
    return kVersion;
}

std::string_view VersionValue(std::string_view key)
{
    for (const VersionString& entry : kVersion.strings) {
        if (entry.key == key)
            return entry.value;
    }
    return {};
}

} // namespace vostrel::res
