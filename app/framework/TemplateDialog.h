#pragma once

#include "app/framework/DialogUnits.h"
#include "app/framework/WindowTimers.h"
#include "resources/Templates.h"

#include <QDialog>
#include <QHash>

#include <map>
#include <vector>

class QAbstractButton;

namespace vostrel {

class DataExchange;
class Messages;

// A dialog whose controls are created from one of the program's dialog
// templates. It gives its subclasses the services they are written
// against: controls by id, notifications from them, data exchange, window
// timers and the modal run.
class TemplateDialog : public QDialog {
    Q_OBJECT
public:
    enum class Notification { clicked, killFocus };

    TemplateDialog(int templateId, Messages& messages, QWidget* parent = nullptr);

    // The modal run: initialises the dialog, starts it and runs a nested
    // event loop until the dialog ends (done(), Escape, the close box). The
    // loop does not end when the dialog is merely hidden.
    int DoModal();
    // The start of the modal run without its loop: initialise, then appear.
    void Start();

    // A control by id. While the dialog is hidden its controls may lag
    // behind its fields (see UpdateData): handing one out brings them up to
    // date first, so whoever looks at a control sees the fields.
    QWidget* GetDlgItem(int id) const
    {
        BringControlsUpToDate();
        return m_controls.value(id);
    }
    // The control made from the template's control at this position.
    QWidget* ControlAt(std::size_t index) const
    {
        BringControlsUpToDate();
        return m_templateControls.at(index);
    }
    template <typename Widget> Widget* Item(int id) const { return qobject_cast<Widget*>(GetDlgItem(id)); }

    // Copies controls into fields (true) or fields into controls (false);
    // false if a control's content was refused. Nobody can see or edit the
    // controls of a hidden dialog, so while it is hidden the fields are what
    // counts: copying them out waits until the dialog is shown or a control
    // is asked for, and controls left behind that way have nothing newer to
    // copy in. A hidden window's every-second exchange touches no control.
    bool UpdateData(bool saveAndValidate);

    // The radio buttons of the group that starts at firstId, in template order.
    int CheckedRadioIndex(int firstId) const;
    void CheckRadioIndex(int firstId, int index);

    // Tells the user why a control's content was refused and puts the focus
    // back on it.
    void RefuseInput(int controlId, const QString& message);

    const res::DialogTemplate& Template() const { return m_template; }
    // Where a control of the template goes, in pixels.
    QRect ControlRect(const res::ControlTemplate& control) const;
    const DialogUnits& Units() const { return m_units; }

protected:
    virtual void OnInitDialog() {}
    virtual void DoDataExchange(DataExchange&) {}
    virtual void OnNotify(int, Notification) {}
    virtual void OnTimer(int) {}
    // How the modal run makes the dialog appear; by default it shows it.
    virtual void StartVisibility();

    WindowTimers& Timers() { return m_timers; }

    void timerEvent(QTimerEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* CreateControl(const res::ControlTemplate& control);
    const QList<QWidget*>& RadioGroup(int firstId) const;
    bool ExchangeWithControls(bool saveAndValidate);
    bool StepRadioGroup(QAbstractButton* from, int key);
    void NameEditBoxesAfterTheirLabels();
    // Copies out fields whose copying out was put off while hidden.
    void BringControlsUpToDate() const;

    const res::DialogTemplate& m_template;
    Messages& m_messages;
    DialogUnits m_units;
    WindowTimers m_timers{this};
    QHash<int, QWidget*> m_controls;
    std::vector<QWidget*> m_templateControls;
    QHash<QObject*, int> m_editIds;
    mutable std::map<int, QList<QWidget*>> m_radioGroups;
    bool m_refusing = false;
    // The fields were last copied out while the dialog was hidden, so the
    // controls do not show them yet.
    mutable bool m_controlsBehind = false;
};

} // namespace vostrel
