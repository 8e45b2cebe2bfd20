#pragma once

#include "Clock.h"
#include "CountdownCollaborator.h"
#include "CountdownState.h"

#include <string>
#include <vector>

namespace vostrel::test {

// A clock that shows whatever moment the test sets.
class FixedClock final : public Clock {
public:
    explicit FixedClock(OleDate now = {}) : m_now(now) {}
    OleDate Now() const override { return m_now; }
    void Set(OleDate now) { m_now = now; }

private:
    OleDate m_now;
};

inline OleDate At(int year, int month, int day, int hour = 0, int minute = 0, int second = 0)
{
    return OleDate::FromFields({year, month, day, hour, minute, second});
}

// What the dialog's controls show for the bound fields.
struct Controls {
    std::string endDate;
    std::string vacDays;
    std::int32_t unit = 0;
    std::string display;
};

// Stands in for the dialog: keeps the controls, exchanges them with the
// state like the dialog's data exchange, and records every other call.
class RecordingCollaborator final : public CountdownCollaborator {
public:
    explicit RecordingCollaborator(CountdownState& state) : m_state(state) {}

    void ExchangeIn() override
    {
        calls.push_back("ExchangeIn");
        m_state.m_strEndDate = controls.endDate;
        m_state.m_strVacDays = controls.vacDays;
        m_state.m_nDisplayPeriod = controls.unit;
        m_state.m_strDisplay = controls.display;
    }
    void ExchangeOut() override
    {
        calls.push_back("ExchangeOut");
        controls.endDate = m_state.m_strEndDate;
        controls.vacDays = m_state.m_strVacDays;
        controls.unit = m_state.m_nDisplayPeriod;
        controls.display = m_state.m_strDisplay;
    }
    void Beep(unsigned frequencyHz, unsigned durationMs) override
    {
        calls.push_back("Beep " + std::to_string(frequencyHz) + " " + std::to_string(durationMs));
    }
    void ShowWindow() override { calls.push_back("ShowWindow"); }
    void ChangeTip(const std::string& tip) override { calls.push_back("ChangeTip " + tip); }
    void LoadIconRange(unsigned firstId, unsigned lastId) override
    {
        calls.push_back("LoadIconRange " + std::to_string(firstId) + " " + std::to_string(lastId));
    }
    void StartCycle(unsigned msPerFrame, unsigned seconds) override
    {
        calls.push_back("StartCycle " + std::to_string(msPerFrame) + " " + std::to_string(seconds));
    }
    const Clock& GetClock() const override { return clock; }

    Controls controls;
    FixedClock clock;
    std::vector<std::string> calls;

private:
    CountdownState& m_state;
};

} // namespace vostrel::test
