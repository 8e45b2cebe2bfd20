// The time left as scripts read it: the tooltip's text and the JSON line,
// and the follower that prints them as they change.
#include "app/command/CountdownFigure.h"
#include "app/command/FigureFollower.h"

#include "engine/CountdownText.h"
#include "tests/support/FixedClock.h"
#include "tests/support/MemoryStore.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace vostrel {
namespace {

using test::At;

QJsonObject JsonAt(const CountdownFigure& figure, const OleDate& now)
{
    const std::string line = figure.Json(now);
    EXPECT_EQ(line.find('\n'), std::string::npos);
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(line), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << line;
    return document.object();
}

TEST(CountdownFigure, SettingsGiveTheWindowsFigureWithItsDefaultsAndItsBoxes)
{
    const test::FixedClock clock(At(2026, 12, 8, 10, 0, 0));
    test::MemoryStore store;
    // Never saved: 1 January 2001 in days, long gone.
    CountdownFigure figure = CountdownFigure::FromSettings(store, clock);
    EXPECT_EQ(figure.unit, unitDays);
    EXPECT_EQ(figure.Text(clock.now), "-9472 Days");

    store.texts["Settings/EndDate"] = "12/24/2026 18:00:00";
    store.ints["Settings/DisplayPeriod"] = unitHms;
    figure = CountdownFigure::FromSettings(store, clock);
    EXPECT_EQ(figure.Text(clock.now), "392:0:0 HMS");

    // The vacation rule takes (20 + 116) days a year off a year.
    store.texts["Settings/EndDate"] = "12/08/2027 10:00:00";
    store.texts["Settings/VacationDays"] = "20";
    figure = CountdownFigure::FromSettings(store, clock);
    const double expected = 365 - 365 / 365.25 * 136;
    EXPECT_NEAR((figure.end - clock.now).GetTotalDays(), expected, 1e-6);
    // A stored count longer than the box lets anyone type counts whole, as
    // in the window.
    store.texts["Settings/VacationDays"] = "100";
    EXPECT_NEAR((CountdownFigure::FromSettings(store, clock).end - clock.now).GetTotalDays(),
                365 - 365 / 365.25 * 216, 1e-6);

    // A unit no button shows gives the empty text the tooltip would show.
    store.ints["Settings/DisplayPeriod"] = 9;
    EXPECT_EQ(CountdownFigure::FromSettings(store, clock).unit, -1);
    EXPECT_EQ(CountdownFigure::FromSettings(store, clock).Text(clock.now), "");
}

TEST(CountdownFigure, JsonLineHasEveryFieldBeforeAtAndAfterTheEnd)
{
    const CountdownFigure figure{At(2026, 12, 24, 18, 0, 0), unitHms};
    const QJsonObject counting = JsonAt(figure, At(2026, 12, 24, 16, 59, 46));
    EXPECT_EQ(counting.value("text").toString(), "1:0:14 HMS");
    EXPECT_EQ(counting.value("tooltip").toString(), "Counting down to 12/24/2026 18:00:00");
    EXPECT_EQ(counting.value("class").toString(), "counting");
    EXPECT_EQ(counting.value("alt").toString(), "HMS");
    EXPECT_EQ(counting.value("seconds").toInteger(), 3614);
    const QDateTime end = QDateTime::fromString(counting.value("end").toString(), Qt::ISODate);
    EXPECT_EQ(end, QDateTime(QDate(2026, 12, 24), QTime(18, 0)))
        << counting.value("end").toString().toStdString();
    EXPECT_TRUE(counting.value("end").toString().startsWith("2026-12-24T18:00:00"));
    EXPECT_EQ(counting.size(), 6);

    const QJsonObject atTheEnd = JsonAt(figure, At(2026, 12, 24, 18, 0, 0));
    EXPECT_EQ(atTheEnd.value("class").toString(), "counting");
    EXPECT_EQ(atTheEnd.value("seconds").toInteger(), 0);

    const QJsonObject expired = JsonAt(figure, At(2026, 12, 24, 18, 0, 3));
    EXPECT_EQ(expired.value("class").toString(), "expired");
    EXPECT_EQ(expired.value("seconds").toInteger(), -3);
    EXPECT_EQ(expired.value("text").toString(), "0:0:-3 HMS");
    EXPECT_EQ(expired.value("tooltip").toString(), "Time ran out at 12/24/2026 18:00:00");

    // A vacation rule leaves a fraction of a second: the count is taken
    // down, so the last fraction before the end is 0 and after it -1.
    const CountdownFigure fractional{OleDate(At(2026, 12, 24, 18, 0, 0).GetValue() - 0.4 / 86400), unitDays};
    EXPECT_EQ(JsonAt(fractional, At(2026, 12, 24, 17, 59, 59)).value("seconds").toInteger(), 0);
    EXPECT_EQ(JsonAt(fractional, At(2026, 12, 24, 18, 0, 0)).value("seconds").toInteger(), -1);
    EXPECT_EQ(JsonAt(fractional, At(2026, 12, 24, 18, 0, 0)).value("class").toString(), "expired");
    EXPECT_EQ(JsonAt(fractional, At(2026, 12, 24, 18, 0, 0)).value("alt").toString(), "D");
    for (const auto& [unit, name] : {std::pair{unitHours, "H"}, {unitMinutes, "M"}, {unitSeconds, "S"}})
        EXPECT_EQ(JsonAt({fractional.end, unit}, At(2026, 12, 1)).value("alt").toString(), name);
}

TEST(FigureFollower, SleepsUntilTheTextChanges)
{
    const OleDate now = At(2026, 12, 8, 10, 0, 30);
    const OleDate end = At(2026, 12, 8, 12, 0, 0);
    EXPECT_EQ(FigureFollower::SecondsToNextChange({end, unitHms}, now, 3600), 1);
    EXPECT_EQ(FigureFollower::SecondsToNextChange({end, unitSeconds}, now, 3600), 1);
    // 119.5 minutes show as 120 at 10:00:30 and as 119 a second later,
    // until 118.5 are left at 10:01:30 (halves go to the even number).
    EXPECT_EQ(FigureFollower::SecondsToNextChange({end, unitMinutes}, now, 3600), 1);
    EXPECT_EQ(FigureFollower::SecondsToNextChange({end, unitMinutes}, At(2026, 12, 8, 10, 0, 31), 3600), 59);
    // Hours: 2 until 1.5 h are left at 10:30:00, 1 from the second after.
    EXPECT_EQ(FigureFollower::SecondsToNextChange({end, unitHours}, now, 3600), 1771);
    EXPECT_EQ(FigureFollower::SecondsToNextChange({end, unitDays}, now, 3600), 3600);
    // The end itself still counts; the second after it is expired.
    EXPECT_EQ(FigureFollower::SecondsToNextChange({At(2026, 12, 8, 10, 0, 31), unitDays}, now, 3600), 2);
}

TEST(FigureFollower, PrintsEachChangeAndANewTargetAtOnceAndEndsWhenNobodyReads)
{
    QTemporaryDir dir;
    const QString settingsFile = dir.filePath("Pelmark/Vostrel.conf");
    test::FixedClock clock(At(2026, 12, 8, 10, 0, 0));
    CountdownFigure figure{At(2026, 12, 8, 10, 0, 5), unitHms};
    std::vector<std::string> printed;
    bool reading = true;
    FigureFollower follower(
        clock, [&figure] { return figure; },
        [](const CountdownFigure& shown, const OleDate& now) { return shown.Text(now); },
        [&](const std::string& line) {
            printed.push_back(line);
            return reading;
        },
        settingsFile);
    follower.Start();
    ASSERT_EQ(printed, std::vector<std::string>{"0:0:5 HMS"});

    // The clock moves: a line a second, none while the text stays.
    clock.now = At(2026, 12, 8, 10, 0, 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return printed.size() == 2; }, 3000));
    EXPECT_EQ(printed.back(), "0:0:4 HMS");
    QTest::qWait(1200);
    EXPECT_EQ(printed.size(), 2u);

    // The settings saved (their folder made first, then the file replaced):
    // the new target at once.
    figure = {At(2026, 12, 8, 10, 2, 1), unitHms};
    ASSERT_TRUE(QDir().mkpath(dir.filePath("Pelmark")));
    EXPECT_TRUE(QTest::qWaitFor([&] { return printed.size() == 3; }, 3000));
    EXPECT_EQ(printed.back(), "0:2:0 HMS");
    figure = {At(2026, 12, 8, 11, 0, 1), unitHms};
    QSaveFile save(settingsFile);
    ASSERT_TRUE(save.open(QIODevice::WriteOnly));
    save.write("[Settings]\n");
    ASSERT_TRUE(save.commit());
    EXPECT_TRUE(QTest::qWaitFor([&] { return printed.size() == 4; }, 3000));
    EXPECT_EQ(printed.back(), "1:0:0 HMS");
    figure = {At(2026, 12, 8, 12, 0, 1), unitHms};
    QFile again(settingsFile);
    ASSERT_TRUE(again.open(QIODevice::Append));
    again.write("x=1\n");
    again.close();
    EXPECT_TRUE(QTest::qWaitFor([&] { return printed.size() == 5; }, 3000));
    EXPECT_EQ(printed.back(), "2:0:0 HMS");

    // A failed write ends the loop.
    reading = false;
    clock.now = At(2026, 12, 8, 10, 0, 2);
    QTimer tooLong;
    tooLong.callOnTimeout([] { QCoreApplication::exit(1); });
    tooLong.start(10000);
    EXPECT_EQ(QCoreApplication::exec(), 0);
    EXPECT_EQ(printed.back(), "1:59:59 HMS");
}

} // namespace
} // namespace vostrel
