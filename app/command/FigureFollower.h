#pragma once

#include "app/command/CountdownFigure.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>

#include <functional>
#include <string>

namespace vostrel {

class Clock;

// Prints the time left each time its text changes, and at once when the
// countdown changes (its settings file is saved). Sleeps between changes:
// a count in days wakes it once a day, not once a second.
class FigureFollower final : public QObject {
public:
    // figure: reads the countdown as it stands; line: the line printed for
    // it at a moment; print: writes a line, false once nobody reads.
    using FigureSource = std::function<CountdownFigure()>;
    using LineFormat = std::function<std::string(const CountdownFigure&, const OleDate& now)>;
    using Printer = std::function<bool(const std::string& line)>;

    FigureFollower(const Clock& clock, FigureSource figure, LineFormat line, Printer print,
                   QString settingsFile);

    // Prints the first line and follows; ends the event loop once printing fails.
    void Start();

    // Seconds from now until the figure's text or class first differs from
    // what it is now; at most the limit.
    static int SecondsToNextChange(const CountdownFigure& figure, const OleDate& now, int limit);

private:
    void Tick();
    void Reread();
    void Watch();

    const Clock& m_clock;
    FigureSource m_source;
    LineFormat m_line;
    Printer m_print;
    QString m_settingsFile;
    CountdownFigure m_figure;
    std::string m_shown; // the text and class last printed
    bool m_printedOnce = false;
    QTimer m_timer;
    QFileSystemWatcher m_watcher;
};

} // namespace vostrel
