// Cost of the work the countdown does on every one-second tick and whenever
// the user leaves the target box.
#include "engine/CountdownEngine.h"
#include "engine/SystemClock.h"

#include <benchmark/benchmark.h>

namespace {

using namespace vostrel;

class QuietCollaborator final : public CountdownCollaborator {
public:
    void ExchangeIn() override {}
    void ExchangeOut() override {}
    void Beep(unsigned, unsigned) override {}
    void ShowWindow() override {}
    void ChangeTip(const std::string& tip) override { benchmark::DoNotOptimize(tip.data()); }
    void LoadIconRange(unsigned, unsigned) override {}
    void StartCycle(unsigned, unsigned) override {}
    const Clock& GetClock() const override { return m_clock; }

private:
    SystemClock m_clock;
};

void ReadDateText(benchmark::State& loop)
{
    const SystemClock clock;
    OleDate date;
    for (auto _ : loop)
        benchmark::DoNotOptimize(date.ParseDateTime("Dec 31, 2027 5:30:15 PM", clock));
}
BENCHMARK(ReadDateText);

void RefreshDisplayTick(benchmark::State& loop)
{
    CountdownState state;
    state.m_strEndDate = "12/31/2027 17:00:00";
    state.m_nDisplayPeriod = unitHms;
    QuietCollaborator host;
    CountdownEngine engine(state, host);
    engine.ResolveTarget();
    for (auto _ : loop)
        engine.RefreshDisplay();
}
BENCHMARK(RefreshDisplayTick);

void ResolveIntervalTarget(benchmark::State& loop)
{
    CountdownState state;
    QuietCollaborator host;
    CountdownEngine engine(state, host);
    for (auto _ : loop) {
        state.m_strEndDate = "+100:30";
        engine.ComputeVacationAdjust();
    }
}
BENCHMARK(ResolveIntervalTarget);

} // namespace
