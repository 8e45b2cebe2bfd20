// The time left as scripts read it: the tooltip's text and the JSON line, and
// the follower that prints them as they change.
#include "app/command/CountdownFigure.h"
#include "app/command/FigureFollower.h"

#include "engine/CountdownText.h"
#include "tests/support/Files.h"
#include "tests/support/FixedClock.h"
#include "tests/support/MemoryStore.h"

#include <QtTest>

#include <gtest/gtest.h>

using namespace vostrel;

namespace {

using test::At;

// The JSON line at a moment, one line of valid JSON, with its end, which carries the local offset, taken out.
std::string JsonAt(const CountdownFigure& figure, const OleDate& now, QString* end = nullptr)
{
    const std::string line = figure.Json(now);
    EXPECT_EQ(line.find('\n'), std::string::npos);
    QJsonParseError error{};
    QJsonObject fields = QJsonDocument::fromJson(QByteArray::fromStdString(line), &error).object();
    EXPECT_EQ(error.error, QJsonParseError::NoError) << line;
    if (end)
        *end = fields.value("end").toString();
    fields.remove("end");
    return QJsonDocument(fields).toJson(QJsonDocument::Compact).toStdString();
}

TEST(CountdownFigure, SettingsGiveTheWindowsFigureWithItsDefaultsAndItsBoxes)
{
    const test::FixedClock clock(At(2026, 12, 8, 10, 0, 0));
    test::MemoryStore store;
    const auto figure = [&] { return CountdownFigure::FromSettings(store, clock); };
    // Never saved: 1 January 2001 in days, long gone.
    EXPECT_EQ(figure().unit, unitDays);
    EXPECT_EQ(figure().Text(clock.now), "-9472 Days");

    store.texts["Settings/EndDate"] = "12/24/2026 18:00:00";
    store.ints["Settings/DisplayPeriod"] = unitHms;
    EXPECT_EQ(figure().Text(clock.now), "392:0:0 HMS");

    // The vacation rule takes (20 + 116) days a year off a year; a stored count
    // longer than the box lets anyone type counts whole, as in the window.
    store.texts["Settings/EndDate"] = "12/08/2027 10:00:00";
    store.texts["Settings/VacationDays"] = "20";
    EXPECT_NEAR((figure().end - clock.now).GetTotalDays(), 365 - 365 / 365.25 * 136, 1e-6);
    store.texts["Settings/VacationDays"] = "100";
    EXPECT_NEAR((figure().end - clock.now).GetTotalDays(), 365 - 365 / 365.25 * 216, 1e-6);

    // A unit no button shows gives the empty text the tooltip would show.
    store.ints["Settings/DisplayPeriod"] = 9;
    EXPECT_EQ(figure().unit, -1);
    EXPECT_EQ(figure().Text(clock.now), "");
}

TEST(CountdownFigure, JsonLineHasEveryFieldBeforeAtAndAfterTheEnd)
{
    const CountdownFigure figure{At(2026, 12, 24, 18, 0, 0), unitHms};
    QString end;
    EXPECT_EQ(JsonAt(figure, At(2026, 12, 24, 16, 59, 46), &end),
              R"({"alt":"HMS","class":"counting","seconds":3614,"text":"1:0:14 HMS",)"
              R"("tooltip":"Counting down to 12/24/2026 18:00:00"})");
    EXPECT_EQ(QDateTime::fromString(end, Qt::ISODate), QDateTime(QDate(2026, 12, 24), QTime(18, 0)))
        << end.toStdString();
    EXPECT_TRUE(end.startsWith("2026-12-24T18:00:00")) << end.toStdString();
    EXPECT_EQ(JsonAt(figure, At(2026, 12, 24, 18, 0, 0)),
              R"({"alt":"HMS","class":"counting","seconds":0,"text":"0:0:0 HMS",)"
              R"("tooltip":"Counting down to 12/24/2026 18:00:00"})");
    EXPECT_EQ(JsonAt(figure, At(2026, 12, 24, 18, 0, 3)),
              R"({"alt":"HMS","class":"expired","seconds":-3,"text":"0:0:-3 HMS",)"
              R"("tooltip":"Time ran out at 12/24/2026 18:00:00"})");

    // A vacation rule leaves a fraction of a second: the count is taken down, so
    // the last fraction before the end is 0 and after it -1.
    const CountdownFigure fractional{OleDate(At(2026, 12, 24, 18, 0, 0).GetValue() - 0.4 / 86400), unitDays};
    EXPECT_NE(JsonAt(fractional, At(2026, 12, 24, 17, 59, 59)).find(R"("class":"counting","seconds":0,)"),
              std::string::npos);
    EXPECT_NE(
        JsonAt(fractional, At(2026, 12, 24, 18, 0, 0)).find(R"({"alt":"D","class":"expired","seconds":-1,)"),
        std::string::npos);
    for (const auto& [unit, name] : {std::pair{unitHours, "H"}, {unitMinutes, "M"}, {unitSeconds, "S"}})
        EXPECT_EQ(
            JsonAt({fractional.end, unit}, At(2026, 12, 1)).rfind(R"({"alt":")" + std::string(name) + '"', 0),
            0u);
}

TEST(FigureFollower, SleepsUntilTheTextChangesPrintsEachChangeAndANewTargetAtOnceAndEndsWhenNobodyReads)
{
    // It sleeps until the text changes.
    const OleDate now = At(2026, 12, 8, 10, 0, 30);
    const OleDate end = At(2026, 12, 8, 12, 0, 0);
    const auto next = [](const OleDate& to, std::int32_t unit, const OleDate& from) {
        return FigureFollower::SecondsToNextChange({to, unit}, from, 3600);
    };
    EXPECT_EQ(next(end, unitHms, now), 1);
    EXPECT_EQ(next(end, unitSeconds, now), 1);
    // 119.5 minutes show as 120 at 10:00:30 and as 119 a second later, until
    // 118.5 are left at 10:01:30 (halves go to the even number).
    EXPECT_EQ(next(end, unitMinutes, now), 1);
    EXPECT_EQ(next(end, unitMinutes, At(2026, 12, 8, 10, 0, 31)), 59);
    // Hours: 2 until 1.5 h are left at 10:30:00, 1 from the second after.
    EXPECT_EQ(next(end, unitHours, now), 1771);
    EXPECT_EQ(next(end, unitDays, now), 3600);
    // The end itself still counts; the second after it is expired.
    EXPECT_EQ(next(At(2026, 12, 8, 10, 0, 31), unitDays, now), 2);

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
    // The line printed as the count-th, once it comes.
    const auto line = [&printed](std::size_t count) {
        return QTest::qWaitFor([&] { return printed.size() >= count; }, 3000) ? printed.at(count - 1) : "";
    };
    follower.Start();
    ASSERT_EQ(printed, std::vector<std::string>{"0:0:5 HMS"});

    // The clock moves: a line a second, none while the text stays.
    clock.now = At(2026, 12, 8, 10, 0, 1);
    EXPECT_EQ(line(2), "0:0:4 HMS");
    QTest::qWait(1200);
    EXPECT_EQ(printed.size(), 2u);

    // The settings saved (their folder made first, then the file replaced, then
    // written to): the new target at once.
    figure = {At(2026, 12, 8, 10, 2, 1), unitHms};
    ASSERT_TRUE(QDir().mkpath(dir.filePath("Pelmark")));
    EXPECT_EQ(line(3), "0:2:0 HMS");
    figure = {At(2026, 12, 8, 11, 0, 1), unitHms};
    QSaveFile save(settingsFile);
    ASSERT_TRUE(save.open(QIODevice::WriteOnly));
    save.write("[Settings]\n");
    ASSERT_TRUE(save.commit());
    EXPECT_EQ(line(4), "1:0:0 HMS");
    figure = {At(2026, 12, 8, 12, 0, 1), unitHms};
    ASSERT_TRUE(test::Write(settingsFile, "[Settings]\nx=1\n"));
    EXPECT_EQ(line(5), "2:0:0 HMS");

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
