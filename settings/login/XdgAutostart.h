#pragma once

#include "settings/login/LoginStart.h"

#include <QString>

namespace vostrel {

// Start at login the freedesktop.org way (Desktop Application Autostart): a
// desktop entry in the user's autostart folder that runs the executable by
// its absolute path. The entry is named after the executable, so that a
// renamed copy has an entry of its own and starts itself. An entry marked
// Hidden counts as deleted, as those autostart rules say.
class XdgAutostart final : public LoginStart {
public:
    XdgAutostart(QString folder, QString executable);

    // $XDG_CONFIG_HOME/autostart, by default ~/.config/autostart.
    static QString UserFolder();

    bool IsOn() const override;
    bool SetOn(bool on) override;

    // The entry's file.
    QString EntryPath() const;
    // The entry's text.
    QByteArray Entry() const;

private:
    QString m_folder;
    QString m_executable;
};

} // namespace vostrel
