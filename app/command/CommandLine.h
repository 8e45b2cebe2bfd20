#pragma once

#include <QStringList>

#include <cstdint>
#include <optional>
#include <string>

namespace vostrel {

class Clock;

// What the command line asks for.
struct CommandRequest {
    enum class Action { start, show, set, quit, query, follow, help, version };
    enum class Format { text, json };

    Action action = Action::start;
    std::optional<std::string> target; // set: as typed, single-byte text
    std::optional<std::int32_t> unit;  // set: 0 days .. 4 H:M:S
    Format format = Format::text;      // query and follow
};

// The command line read, or the one line that says what is wrong with it.
struct CommandLineReading {
    std::optional<CommandRequest> request;
    std::string error;
};

// Reads the arguments (the program's path first). The clock reads targets
// that leave out the year. Qt's own -platform and -display options are let
// through for the window.
CommandLineReading ReadCommandLine(const QStringList& arguments, const Clock& clock);

// The text of --help.
std::string CommandLineHelp(const QString& programName);

} // namespace vostrel
