// The timer component: armed only while its interval is not 0, it is enabled
// and it has a handler; a failing tick is reported and the timer goes on.
#include "app/frame/Timer.h"

#include "app/frame/Application.h"
#include "app/frame/Failure.h"
#include "tests/support/Gui.h"

#include <gtest/gtest.h>

namespace moke::test {
namespace {

using std::chrono::milliseconds;

// True when platform timer 1 of the timer's window was armed (and disarms it).
bool WasArmed(TTimer& timer) {
    return KillTimer(timer.Handle(), 1) != FALSE;
}

TEST(Timer, ArmedOnlyWithIntervalEnabledAndHandler) {
    TTimer timer(&Application());
    EXPECT_EQ(timer.Interval(), 1000u);
    EXPECT_TRUE(timer.Enabled());
    EXPECT_FALSE(WasArmed(timer)); // no handler yet

    TakenMessageCount ticks(timer.Handle(), WM_TIMER);
    timer.SetInterval(20);
    PumpFor(milliseconds(150));
    EXPECT_EQ(ticks.Count(), 0);

    int runs = 0;
    timer.SetOnTimer([&](TObject& sender) {
        EXPECT_EQ(&sender, &timer);
        ++runs;
    });
    EXPECT_TRUE(PumpUntil([&] { return ticks.Count() >= 2; }, std::chrono::seconds(2)));
    EXPECT_EQ(runs, ticks.Count());

    timer.SetEnabled(false);
    Pump();
    ticks.Reset();
    PumpFor(milliseconds(150));
    EXPECT_EQ(ticks.Count(), 0);
    EXPECT_FALSE(WasArmed(timer));

    timer.SetEnabled(true);
    EXPECT_TRUE(PumpUntil([&] { return ticks.Count() >= 2; }, std::chrono::seconds(2)));

    timer.SetInterval(0);
    Pump();
    ticks.Reset();
    PumpFor(milliseconds(150));
    EXPECT_EQ(ticks.Count(), 0);
    EXPECT_FALSE(WasArmed(timer));

    timer.SetInterval(20);
    EXPECT_TRUE(PumpUntil([&] { return ticks.Count() >= 2; }, std::chrono::seconds(2)));

    timer.SetOnTimer(nullptr);
    Pump();
    ticks.Reset();
    PumpFor(milliseconds(150));
    EXPECT_EQ(ticks.Count(), 0);
    EXPECT_FALSE(WasArmed(timer));
}

TEST(Timer, IntervalChangeTakesEffect) {
    TTimer timer(&Application());
    int runs = 0;
    timer.SetOnTimer([&](TObject&) { ++runs; });
    PumpFor(milliseconds(200));
    EXPECT_EQ(runs, 0); // still the design interval of a second
    timer.SetInterval(15);
    EXPECT_TRUE(PumpUntil([&] { return runs >= 3; }, std::chrono::seconds(2)));
}

TEST(Timer, FailingTickIsReportedAndTheNextTickRuns) {
    TTimer timer(&Application());
    timer.SetInterval(20);
    int runs = 0;
    timer.SetOnTimer([&](TObject&) {
        if (++runs == 1) throw Failure("タイマーで失敗しました");
    });
    ModalAnswerer answerer;
    answerer.Expect("#32770", ModalAnswerer::Click("OK"));
    ASSERT_TRUE(PumpUntil([&] { return answerer.Done(); }, std::chrono::seconds(3)));
    EXPECT_EQ(answerer.Answered()[0].text, "タイマーで失敗しました.");
    EXPECT_EQ(answerer.Answered()[0].owner, Application().Handle());
    const int after = runs;
    EXPECT_TRUE(PumpUntil([&] { return runs >= after + 3; }, std::chrono::seconds(2)));
    timer.SetEnabled(false);
}

} // namespace
} // namespace moke::test
