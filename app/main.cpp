// Console stand-in until the window exists: runs the countdown chain once
// for the first-start settings and prints the time left.
#include "CountdownEngine.h"

#include <iostream>

namespace {

class ConsoleCollaborator final : public vostrel::CountdownCollaborator {
public:
    void ExchangeIn() override {}
    void ExchangeOut() override {}
    void Beep(unsigned, unsigned) override { m_expired = true; }
    void ShowWindow() override {}
    void ChangeTip(const std::string& tip) override { m_tip = tip; }
    void LoadIconRange(unsigned, unsigned) override {}
    void StartCycle(unsigned, unsigned) override {}
    const vostrel::Clock& GetClock() const override { return m_clock; }

    bool m_expired = false;
    std::string m_tip;

private:
    vostrel::SystemClock m_clock;
};

} // namespace

int main()
{
    vostrel::CountdownState state;
    state.m_strEndDate = "01/01/2001";
    state.m_strVacDays = "0";
    ConsoleCollaborator console;
    vostrel::CountdownEngine(state, console).ComputeVacationAdjust();
    std::cout << "Vostrel: " << state.m_strEndDate << " -> " << console.m_tip
              << (console.m_expired ? " (expired)" : "") << '\n';
    return 0;
}
