#pragma once

#include "settings/login/LoginStart.h"

#include <QString>

namespace vostrel {

// Start at login on Windows: a value named after the executable under
// HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Run holding
// its quoted path.
class RunKeyStart final : public LoginStart {
public:
    explicit RunKeyStart(QString executable);

    bool IsOn() const override;
    bool SetOn(bool on) override;

private:
    QString m_executable;
};

} // namespace vostrel
