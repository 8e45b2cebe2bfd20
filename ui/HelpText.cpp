#include "ui/HelpText.h"

#include <array>
#include <string_view>

namespace vostrel {
namespace {

// Joined with nothing between them; the spacing is part of the text.
constexpr std::array<std::string_view, 10> kFragments = {
    "I wrote this utility to count down the time I had left before I retired. \n"
    "It displays the time in Days, or Hours, or Minutes, or Seconds, \n"
    "or Hours:Minutes:Seconds.\n\n",
    " You can also set it to not count Vacation time.  If you enter the number of vacation days you get \n"
    "in the field, the program will subtract this value plus 116 (104 weekend days plus 12 Holidays). \n\n"
    " The program displays the time left in the Tray on the taskbar, ",
    " and also plays a sound \nwhen the countdown reaches zero. \n\n"
    "Since I retired I added the ability to simply enter a period of time, so that it is ",
    " also a \ndinner timer.  This is an improvement over my previous dinner timer, the smoke alarm.  \n\n"
    "This version was rewritten in C++20 on Qt 6 so that it runs on Linux, Windows and macOS.\n\n",
    " If you select Update by right clicking on the icon in the tray, \n"
    "or if the time runs out, you get an update screen and can change the time interval.  \n"
    "You can enter the time interval, and pick which icon is displayed in the \n",
    " tray from the six shown, simple by clicking on the icon and then clicking save.\n\n",
    " The Date/Time formats the program will accept look like this:\n\n",
    " MM/DD/YY HH:MM:SS AM/PM \nExamples: \n2/6/97 or 12/31/97 5 PM (The time entry is optional)\n",
    " +HH:MM \nExample: +3:45 is 3 hours and 45 minutes from now. \n"
    "(The plus sign is required so the program knows it is an interval, not a date or time)\n\n\n",
    " Thanks to the authors of the CSystemTray class and of the trick of the hidden dialog.",
};

} // namespace

std::string HelpText()
{
    std::string text;
    for (std::string_view fragment : kFragments)
        text += fragment;
    return text;
}

} // namespace vostrel
