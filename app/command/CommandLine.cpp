#include "app/command/CommandLine.h"

#include "app/command/RemoteRequest.h"
#include "engine/CountdownEngine.h"
#include "engine/CountdownState.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QRegularExpression>

#include <array>
#include <variant>

namespace vostrel {
namespace {

const QString kForms =
    QStringLiteral("a date (12/31/2026), a date and time (12/31/2026 17:30) or an interval from now (+3:45)");
// An argument quoted in a message is cut to this many characters.
constexpr qsizetype kQuotedChars = 40;

QString Quoted(const QString& argument)
{
    return u'\'' +
           (argument.size() > kQuotedChars ? argument.left(kQuotedChars) + QStringLiteral("...") : argument) +
           u'\'';
}

// The options, in the order --help lists them.
struct Options {
    QCommandLineOption show{QStringLiteral("show"),
                            QStringLiteral("Show the running copy's window, starting one if none runs.")};
    QCommandLineOption set{QStringLiteral("set"),
                           QStringLiteral("Count down to <target>, as if typed in the window and confirmed "
                                          "with OK: ") +
                               kForms + u'.',
                           QStringLiteral("target")};
    QCommandLineOption unit{
        QStringLiteral("unit"),
        QStringLiteral("Show the time left in days (D), hours (H), minutes (M), seconds (S) "
                       "or hours:minutes:seconds (HMS), as if chosen in the window and "
                       "confirmed with OK."),
        QStringLiteral("unit")};
    QCommandLineOption quit{QStringLiteral("quit"),
                            QStringLiteral("End the running copy as Exit does; status 1 if none runs.")};
    QCommandLineOption query{QStringLiteral("query"),
                             QStringLiteral("Print the time left once, as the tooltip shows it.")};
    QCommandLineOption follow{QStringLiteral("follow"),
                              QStringLiteral("Print the time left each time it changes, until ended.")};
    QCommandLineOption format{
        QStringLiteral("format"),
        QStringLiteral("How --query and --follow print: text (the default) or json, one "
                       "object a line for status bars such as waybar."),
        QStringLiteral("format")};
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")},
                            QStringLiteral("Print this help and end.")};
    QCommandLineOption version{{QStringLiteral("v"), QStringLiteral("version")},
                               QStringLiteral("Print the version and end.")};
    // Qt's own options for the window, passed on to it.
    QCommandLineOption platform{QStringLiteral("platform"), QString(), QStringLiteral("name")};
    QCommandLineOption display{QStringLiteral("display"), QString(), QStringLiteral("name")};

    Options()
    {
        platform.setFlags(QCommandLineOption::HiddenFromHelp);
        display.setFlags(QCommandLineOption::HiddenFromHelp);
    }
};

void Prepare(QCommandLineParser& parser, const Options& options)
{
    parser.setApplicationDescription(
        QStringLiteral("A countdown timer that lives in the notification area. Without options it starts, or "
                       "shows the running copy's window."));
    // Qt's options are written with one dash: -platform wayland.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOptions({options.show, options.set, options.unit, options.quit, options.query, options.follow,
                       options.format, options.help, options.version, options.platform, options.display});
}

std::optional<std::int32_t> ReadUnit(const QString& name)
{
    static const std::array kNames{QStringLiteral("D"), QStringLiteral("H"), QStringLiteral("M"),
                                   QStringLiteral("S"), QStringLiteral("HMS")};
    for (std::size_t i = 0; i < kNames.size(); ++i)
        if (name.compare(kNames[i], Qt::CaseInsensitive) == 0)
            return static_cast<std::int32_t>(unitDays + static_cast<std::int32_t>(i));
    return std::nullopt;
}

// The target as the window's box would hold it, or what is wrong with it.
std::variant<std::string, QString> ReadTarget(const QString& typed, const Clock& clock)
{
    if (typed.trimmed().isEmpty())
        return QStringLiteral("--set needs a target: ") + kForms + u'.';
    if (static_cast<std::size_t>(typed.size()) > kMaxTargetLength)
        return QStringLiteral("the target is longer than %1 characters.").arg(kMaxTargetLength);
    const QByteArray bytes = typed.toLatin1();
    const std::string target(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    // Characters outside the single-byte set, control characters and text
    // that is no date, time or interval.
    if (QString::fromLatin1(bytes) != typed || !IsTargetOnChannel(target) || !IsReadableTarget(target, clock))
        return QStringLiteral("cannot read the target ") + Quoted(typed) + QStringLiteral(": give ") +
               kForms + u'.';
    return target;
}

QString ProgramName(const QStringList& arguments)
{
    return arguments.isEmpty() ? QStringLiteral("Vostrel") : QFileInfo(arguments.first()).fileName();
}

} // namespace

CommandLineReading ReadCommandLine(const QStringList& arguments, const Clock& clock)
{
    const QString program = ProgramName(arguments);
    const auto failure = [&program](const QString& what) {
        return CommandLineReading{std::nullopt, (program + QStringLiteral(": ") + what +
                                                 QStringLiteral(" See '%1 --help'.").arg(program))
                                                    .toStdString()};
    };
    QCommandLineParser parser;
    const Options options;
    Prepare(parser, options);
    if (!parser.parse(arguments)) {
        if (!parser.unknownOptionNames().isEmpty())
            return failure(QStringLiteral("unknown option ") + Quoted(parser.unknownOptionNames().first()) +
                           u'.');
        return failure(parser.errorText());
    }
    if (!parser.positionalArguments().isEmpty())
        return failure(QStringLiteral("unexpected argument ") + Quoted(parser.positionalArguments().first()) +
                       u'.');

    CommandRequest request;
    if (parser.isSet(options.help)) {
        request.action = CommandRequest::Action::help;
        return {request, {}};
    }
    if (parser.isSet(options.version)) {
        request.action = CommandRequest::Action::version;
        return {request, {}};
    }
    QStringList actions;
    const auto choose = [&](const QCommandLineOption& option, CommandRequest::Action action) {
        if (!parser.isSet(option))
            return;
        actions << QStringLiteral("--") + option.names().constLast();
        request.action = action;
    };
    choose(options.show, CommandRequest::Action::show);
    choose(options.quit, CommandRequest::Action::quit);
    choose(options.query, CommandRequest::Action::query);
    choose(options.follow, CommandRequest::Action::follow);
    if (parser.isSet(options.set) || parser.isSet(options.unit)) {
        actions << (parser.isSet(options.set) ? QStringLiteral("--set") : QStringLiteral("--unit"));
        request.action = CommandRequest::Action::set;
    }
    if (actions.size() > 1)
        return failure(actions[0] + QStringLiteral(" and ") + actions[1] +
                       QStringLiteral(" cannot go together."));

    if (parser.isSet(options.format)) {
        if (request.action != CommandRequest::Action::query &&
            request.action != CommandRequest::Action::follow)
            return failure(QStringLiteral("--format goes with --query or --follow."));
        const QString format = parser.value(options.format);
        if (format == QStringLiteral("json"))
            request.format = CommandRequest::Format::json;
        else if (format != QStringLiteral("text"))
            return failure(QStringLiteral("unknown format ") + Quoted(format) +
                           QStringLiteral(": give text or json."));
    }
    if (parser.isSet(options.unit)) {
        request.unit = ReadUnit(parser.value(options.unit));
        if (!request.unit)
            return failure(QStringLiteral("unknown unit ") + Quoted(parser.value(options.unit)) +
                           QStringLiteral(": give D, H, M, S or HMS."));
    }
    if (parser.isSet(options.set)) {
        const std::variant<std::string, QString> target = ReadTarget(parser.value(options.set), clock);
        if (const QString* complaint = std::get_if<QString>(&target))
            return failure(*complaint);
        request.target = std::get<std::string>(target);
    }
    return {request, {}};
}

std::string CommandLineHelp(const QString& programName)
{
    QCommandLineParser parser;
    const Options options;
    Prepare(parser, options);
    QString help = parser.helpText();
    // Qt names the program as it was typed, path and all.
    help.replace(QRegularExpression(QStringLiteral("^Usage: \\S+")), QStringLiteral("Usage: ") + programName);
    return help.toStdString();
}

} // namespace vostrel
