#include "app/command/FigureFollower.h"

#include "engine/Clock.h"
#include "engine/OleDateSpan.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace vostrel {
namespace {

// A wake at least this often, in seconds, so that a change of the system
// clock (a resume from sleep, a new time zone) shows within the hour.
constexpr int kLongestSleep = 3600;

std::string Shown(const CountdownFigure& figure, const OleDate& now)
{
    return figure.Text(now) + (figure.Expired(now) ? "\n" : "");
}

OleDate SecondsAfter(const OleDate& now, int seconds)
{
    return OleDate(now.GetValue() + static_cast<double>(seconds) / kSecondsPerDay);
}

} // namespace

FigureFollower::FigureFollower(const Clock& clock, FigureSource figure, LineFormat line, Printer print,
                               QString settingsFile)
    : m_clock(clock), m_source(std::move(figure)), m_line(std::move(line)), m_print(std::move(print)),
      m_settingsFile(std::move(settingsFile))
{
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, [this] { Tick(); });
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, [this] { Reread(); });
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, [this] { Reread(); });
}

void FigureFollower::Start()
{
    Watch();
    m_figure = m_source();
    Tick();
}

int FigureFollower::SecondsToNextChange(const CountdownFigure& figure, const OleDate& now, int limit)
{
    // The text runs one way only as time passes, so the first second that
    // shows another one is found by halving.
    const std::string current = Shown(figure, now);
    if (Shown(figure, SecondsAfter(now, limit)) == current)
        return limit;
    int same = 0;
    int other = limit;
    while (other - same > 1) {
        const int middle = same + (other - same) / 2;
        (Shown(figure, SecondsAfter(now, middle)) == current ? same : other) = middle;
    }
    return other;
}

void FigureFollower::Tick()
{
    const OleDate now = m_clock.Now();
    const std::string shown = Shown(m_figure, now);
    if (!m_printedOnce || shown != m_shown) {
        if (!m_print(m_line(m_figure, now))) {
            // Queued, so that a failure before the loop runs ends it too.
            QMetaObject::invokeMethod(
                QCoreApplication::instance(), [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
            return;
        }
        m_printedOnce = true;
        m_shown = shown;
    }
    const int seconds = SecondsToNextChange(m_figure, now, kLongestSleep);
    m_timer.start((seconds - 1) * 1000 + MillisecondsToNextSecond(m_clock.MillisecondsIntoSecond()));
}

void FigureFollower::Reread()
{
    // Saving replaces the file: watch the new one.
    Watch();
    m_figure = m_source();
    Tick();
}

void FigureFollower::Watch()
{
    // The file, or while it does not exist the nearest folder above it
    // that does, whose change may be the file's making.
    if (!m_watcher.files().isEmpty())
        m_watcher.removePaths(m_watcher.files());
    if (!m_watcher.directories().isEmpty())
        m_watcher.removePaths(m_watcher.directories());
    const QFileInfo file(m_settingsFile);
    if (file.exists())
        m_watcher.addPath(file.absoluteFilePath());
    QString folder = file.absolutePath();
    while (!QFileInfo::exists(folder) && QFileInfo(folder).absolutePath() != folder)
        folder = QFileInfo(folder).absolutePath();
    m_watcher.addPath(folder);
}

} // namespace vostrel
