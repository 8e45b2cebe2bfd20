#pragma once

#include "app/framework/MessageWindow.h"
#include "tray/area/NotifyIconData.h"

#include <QString>

#include <cstring>
#include <utility>

// What every notification area does with a notify record: find it by its
// window and icon id, keep it up to date, read its tooltip, and send
// messages to its window.
namespace vostrel {

using NotifyKey = std::pair<std::uint32_t, std::uint32_t>; // window and icon id

inline NotifyKey KeyOf(const NOTIFYICONDATA& record)
{
    return {record.hWnd, record.uID};
}

inline QString TipText(const NOTIFYICONDATA& record)
{
    return QString::fromLatin1(record.szTip,
                               static_cast<qsizetype>(strnlen(record.szTip, sizeof record.szTip)));
}

// A modify request takes over the members its flags name.
inline void ApplyModify(NOTIFYICONDATA& kept, const NOTIFYICONDATA& change)
{
    if (change.uFlags & NIF_ICON)
        kept.hIcon = change.hIcon;
    if (change.uFlags & NIF_TIP)
        std::memcpy(kept.szTip, change.szTip, sizeof kept.szTip);
    if (change.uFlags & NIF_MESSAGE)
        kept.uCallbackMessage = change.uCallbackMessage;
}

// Delivers a message to the record's window, if that window still lives.
inline void SendToRecordWindow(const NOTIFYICONDATA& record, std::uint32_t message, std::uintptr_t wParam,
                               std::intptr_t lParam)
{
    if (MessageWindow* window = MessageWindow::FromHandle(record.hWnd))
        window->WindowProc(message, wParam, lParam);
}

} // namespace vostrel
