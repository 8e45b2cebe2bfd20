#pragma once

#include "engine/CountdownCollaborator.h"
#include "engine/CountdownState.h"
#include "tests/support/FixedClock.h"

#include <string>
#include <tuple>
#include <vector>

namespace vostrel::test {

// What the dialog's controls show for the bound fields.
struct Controls {
    std::string endDate, vacDays;
    std::int32_t unit = 0;
    std::string display;
};

// Stands in for the dialog: keeps the controls, exchanges them with the state
// like the dialog's data exchange, and records every call.
class RecordingCollaborator final : public CountdownCollaborator {
public:
    explicit RecordingCollaborator(CountdownState& state) : m_state(state) {}

    void ExchangeIn() override { Exchange(true); }
    void ExchangeOut() override { Exchange(false); }
    void Beep(unsigned hz, unsigned ms) override { Record("Beep", hz, ms); }
    void ShowWindow() override { calls.push_back("ShowWindow"); }
    void ChangeTip(const std::string& tip) override { calls.push_back("ChangeTip " + tip); }
    void LoadIconRange(unsigned first, unsigned last) override { Record("LoadIconRange", first, last); }
    void StartCycle(unsigned ms, unsigned seconds) override { Record("StartCycle", ms, seconds); }
    const Clock& GetClock() const override { return clock; }

    Controls controls;
    FixedClock clock;
    std::vector<std::string> calls;

private:
    void Exchange(bool in)
    {
        calls.push_back(in ? "ExchangeIn" : "ExchangeOut");
        auto fields = std::tie(m_state.m_strEndDate, m_state.m_strVacDays, m_state.m_nDisplayPeriod,
                               m_state.m_strDisplay);
        auto shown = std::tie(controls.endDate, controls.vacDays, controls.unit, controls.display);
        if (in)
            fields = shown;
        else
            shown = fields;
    }
    void Record(const std::string& call, unsigned a, unsigned b)
    {
        calls.push_back(call + " " + std::to_string(a) + " " + std::to_string(b));
    }

    CountdownState& m_state;
};

} // namespace vostrel::test
