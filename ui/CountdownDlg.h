#pragma once

#include "app/framework/Application.h"
#include "app/framework/TemplateDialog.h"
#include "engine/CountdownEngine.h"
#include "resources/Icons.h"
#include "tray/SystemTray.h"
#include "ui/CountdownServices.h"

#include <QFont>
#include <QRect>
#include <optional>

class QPushButton;

namespace vostrel {

class Clock;

// The program's main window: shows the time left, lets the user change the
// target, the unit, the vacation days and the icon, and routes every timer
// tick, button, edit-box and menu event to the countdown. It is hidden most
// of its life; the tray icon is what the user sees.
class CCountdownDlg final : public TemplateDialog,
                            public CountdownState,
                            public CommandWindow,
                            private CountdownCollaborator {
    Q_OBJECT
public:
    explicit CCountdownDlg(const CountdownServices& services);
    ~CCountdownDlg() override;

    // A command from a menu, the tray icon or a double click on it; false
    // when the window has no handler for it.
    bool OnCommand(unsigned id);
    void OnSysCommand(unsigned id);
    void SendCommand(unsigned id) override { OnCommand(id); }
    QWidget* Widget() override { return this; }

    // The countdown chain, entered at any of its three steps.
    void ComputeVacationAdjust() { m_engine.ComputeVacationAdjust(); }
    void ResolveTarget() { m_engine.ResolveTarget(); }
    void RefreshDisplay() { m_engine.RefreshDisplay(); }

    // Takes a target and a unit (either may be left as it is) as if typed
    // into the window and confirmed with OK.
    void ConfirmTarget(const std::optional<std::string>& target, std::optional<std::int32_t> unit);

    void LoadSettings();
    void SaveSettings();
    void ApplyIconChoice();
    res::IconHandle OnQueryDragIcon() const { return m_hIcon; }

    CSystemTray m_TrayIcon;
    std::optional<QFont> m_Font;
    QRect m_rcDisplay;
    QPushButton* m_btnOK = nullptr;
    std::int32_t m_nWhichIcon = 0;
    res::IconHandle m_hIcon = 0;

protected:
    void OnInitDialog() override;
    void DoDataExchange(DataExchange& exchange) override;
    void OnNotify(int controlId, Notification code) override;
    void OnTimer(int id) override;
    void StartVisibility() override;
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
#ifdef Q_OS_WIN
    bool nativeEvent(const QByteArray& eventType, void* message, qintptr* result) override;
#endif

private:
    friend struct CountdownEventTable;

    // The event table's handlers.
    void OnUnitClicked(int)
    {
        RefreshDisplay();
    }
    void OnOkClicked(int);
    void OnEndDateKillFocus(int)
    {
        ResolveTarget();
    }
    void OnVacDaysKillFocus(int)
    {
        ComputeVacationAdjust();
    }
    void OnIconClicked(int controlId);
    void OnAppExit();
    void OnShowAbout();
    void OnShowHelp();
    void OnStartAtLogin(bool on);
    void OnUpdateTimer();

    int CreateTrayIcon();
    void ScheduleNextTick();
    void CreateDisplayFont();
    void NameTheControlsWithoutText();
    void FitDisplayText();
    void AddAboutEntry();
    void ApplyVisibility();
    // As ApplyVisibility, but a minimised window stays minimised.
    void KeepVisibility();
    // Shows the window, restored if minimised, raised and asking for the focus.
    void BringBack();
    void ShowIfHidden();
    // The alarm's every-second request to see the window.
    void ShowForAlarm();
    void NotifyExpiry();

    // What the countdown asks of the window, the tray icon and the speaker.
    void ExchangeIn() override
    {
        UpdateData(true);
    }
    void ExchangeOut() override
    {
        UpdateData(false);
    }
    void Beep(unsigned frequencyHz, unsigned durationMs) override;
    void ShowWindow() override;
    void ChangeTip(const std::string& tip) override;
    void LoadIconRange(unsigned firstId, unsigned lastId) override
    {
        m_TrayIcon.LoadIconRange(firstId, lastId);
    }
    void StartCycle(unsigned msPerFrame, unsigned seconds) override
    {
        m_TrayIcon.StartCycle(msPerFrame, seconds);
    }
    const Clock& GetClock() const override
    {
        return m_services.clock;
    }

    CountdownServices m_services;
    CountdownEngine m_engine{*this, *this};
    QString m_aboutEntry; // the About entry offered on the window's menu
    // The refresh under way raised the alarm; the last finished one had.
    bool m_alarmThisRefresh = false;
    bool m_expired = false;
    // The alarm's last request found the window off the screen.
    bool m_offScreenAtLastAlarm = false;
};

} // namespace vostrel
