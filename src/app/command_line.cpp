#include "command_line.h"

#include <QCommandLineParser>
#include <QDir>
#include <array>

namespace {

const QString folderOption = QStringLiteral("program-folder");

struct Options {
    QCommandLineOption folder{folderOption,
                              QStringLiteral("The program folder: the configuration file and "
                                             "the logs (default: the executable's folder)."),
                              QStringLiteral("folder")};
    QCommandLineOption setup{QStringLiteral("setup"),
                             QStringLiteral("Write 환경설정.CFG into the program folder and check "
                                            "the driver, the server, the connection and the "
                                            "settings row.")};
    QCommandLineOption store{QStringLiteral("store"), QStringLiteral("Store code (with --setup)."),
                             QStringLiteral("code")};
    QCommandLineOption pos{QStringLiteral("pos"), QStringLiteral("POS ID (with --setup)."),
                           QStringLiteral("id")};
    QCommandLineOption server{QStringLiteral("server"),
                              QStringLiteral("Database server (with --setup)."),
                              QStringLiteral("host")};
    QCommandLineOption overwrite{
        QStringLiteral("overwrite"),
        QStringLiteral("Replace an existing 환경설정.CFG (with --setup).")};
    QCommandLineOption check{QStringLiteral("check"),
                             QStringLiteral("Check the driver, the server, the connection and the "
                                            "settings row with the existing 환경설정.CFG, "
                                            "writing nothing.")};
    QCommandLineOption autostart{
        QStringLiteral("autostart"),
        QStringLiteral("Started with the desktop session: without 환경설정.CFG end quietly "
                       "(one line on standard error) instead of showing the failure.")};
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")},
                            QStringLiteral("Show this help.")};
    QCommandLineOption version{QStringLiteral("version"), QStringLiteral("Show the version.")};

    std::array<const QCommandLineOption*, 10> all() const {
        return {&folder,    &setup, &store,     &pos,  &server,
                &overwrite, &check, &autostart, &help, &version};
    }

    void addTo(QCommandLineParser& parser) const {
        for (const QCommandLineOption* option : all()) {
            parser.addOption(*option);
        }
    }

    // The option an argument such as "--store", "-store" or "--store=S1" names, if it is ours.
    const QCommandLineOption* named(QStringView argument) const;
};

// Qt and the parser (reading single-dash words as long options) take "-name" as "--name".
QStringView withoutDashes(QStringView argument) {
    return argument.sliced(argument.startsWith(u"--") ? 2 : 1);
}

const QCommandLineOption* Options::named(QStringView argument) const {
    if (!argument.startsWith(u'-')) {
        return nullptr;
    }
    const QStringView name = withoutDashes(argument);
    const QStringView withoutValue = name.left(name.indexOf(u'='));
    for (const QCommandLineOption* option : all()) {
        if (option->names().contains(withoutValue)) {
            return option;
        }
    }
    return nullptr;
}

// What Qt 6.4 takes from the command line: QCoreApplication (-qmljsdebugger), QGuiApplication
// (platform, plugins, window geometry, title and icon, layout direction, session, style),
// QApplication (style sheet, widget count) and the xcb platform (display, name, visual, grabs).
// A window program's Qt takes out those its platform knows before the program reads its
// arguments; the terminal commands run without a window system, and another platform knows
// fewer (-geometry, -title, -icon and -display are xcb's), so what is left of them is passed over
// here as Qt would have taken it.
const QStringList qtOptionsWithValue =
    QStringLiteral("platform platformpluginpath platformtheme plugin qwindowgeometry geometry "
                   "qwindowtitle title qwindowicon icon session display name visual style "
                   "stylesheet qmljsdebugger")
        .split(u' ');
// These three also take their value after '=' in the same argument.
const QStringList qtOptionsWithValueAfterEquals =
    QStringLiteral("style stylesheet qmljsdebugger").split(u' ');
const QStringList qtOptionsAlone =
    QStringLiteral("reverse testability widgetcount nograb dograb").split(u' ');

// How many arguments from this one on are Qt's: none, the option alone, or it and its value.
int argumentsTakenByQt(QStringView argument) {
    if (!argument.startsWith(u'-')) {
        return 0;
    }
    const QStringView name = withoutDashes(argument);
    if (qtOptionsAlone.contains(name)) {
        return 1;
    }
    if (qtOptionsWithValue.contains(name)) {
        return 2;
    }
    const qsizetype equals = name.indexOf(u'=');
    return equals > 0 && qtOptionsWithValueAfterEquals.contains(name.first(equals)) ? 1 : 0;
}

// Qt looks at every argument, a value of the program's own options included, as it does itself.
QStringList withoutQtOptions(const QStringList& arguments) {
    QStringList left{arguments.value(0)};
    for (qsizetype i = 1; i < arguments.size();) {
        const int taken = argumentsTakenByQt(arguments.at(i));
        if (taken == 0) {
            left << arguments.at(i);
            ++i;
        } else {
            i += taken;
        }
    }
    return left;
}

struct SortedArguments {
    QStringList own;
    QStringList unknown;
};

// The program's own options with their values go to the parser, as it would read them; the
// rest is unknown.
SortedArguments sortArguments(const QStringList& arguments, const Options& options) {
    const QStringList rest = withoutQtOptions(arguments);
    SortedArguments sorted{{rest.value(0)}, {}};
    for (qsizetype i = 1; i < rest.size(); ++i) {
        const QString& argument = rest.at(i);
        const QCommandLineOption* option = options.named(argument);
        if (option == nullptr) {
            sorted.unknown << argument;
            continue;
        }
        sorted.own << argument;
        if (!option->valueName().isEmpty() && !argument.contains(u'=') && i + 1 < rest.size()) {
            sorted.own << rest.at(++i);
        }
    }
    return sorted;
}

CommandLine refused(const QString& why) {
    CommandLine command;
    command.action = CommandLine::Action::Refused;
    command.refusal = why;
    return command;
}

CommandLine setupCommand(const QCommandLineParser& parser, const Options& options,
                         CommandLine command) {
    for (const QCommandLineOption* needed : {&options.store, &options.pos, &options.server}) {
        if (parser.value(*needed).trimmed().isEmpty()) {
            return refused(QStringLiteral("--setup needs --%1").arg(needed->names().constFirst()));
        }
    }
    command.action = CommandLine::Action::Setup;
    command.setup =
        ConfigFile{parser.value(options.store).trimmed(), parser.value(options.pos).trimmed(),
                   parser.value(options.server).trimmed(), QStringLiteral("MS-SQL")};
    command.overwrite = parser.isSet(options.overwrite);
    return command;
}

} // namespace

bool isTerminalCommand(int argc, const char* const* argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    return parseCommandLine(arguments, QString()).action != CommandLine::Action::Run;
}

CommandLine parseCommandLine(const QStringList& arguments, const QString& executableFolder) {
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const Options options;
    options.addTo(parser);
    const SortedArguments sorted = sortArguments(arguments, options);
    if (!parser.parse(sorted.own)) {
        return refused(parser.errorText());
    }
    if (parser.isSet(options.folder) && parser.value(options.folder).trimmed().isEmpty()) {
        return refused(QStringLiteral("--program-folder needs a folder"));
    }
    CommandLine command;
    command.unknownArguments = sorted.unknown;
    command.autostart = parser.isSet(options.autostart);
    command.programFolder = parser.isSet(options.folder)
                                ? QDir(parser.value(options.folder)).absolutePath()
                                : executableFolder;
    if (parser.isSet(options.help)) {
        command.action = CommandLine::Action::Help;
    } else if (parser.isSet(options.version)) {
        command.action = CommandLine::Action::Version;
    } else if (parser.isSet(options.setup)) {
        return setupCommand(parser, options, command);
    } else if (parser.isSet(options.check)) {
        command.action = CommandLine::Action::Check;
    } else if (parser.isSet(options.store) || parser.isSet(options.pos) ||
               parser.isSet(options.server) || parser.isSet(options.overwrite)) {
        return refused(QStringLiteral("--store, --pos, --server and --overwrite go with --setup"));
    }
    return command;
}

QString commandLineHelp() {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Kitchen print server: prints the kitchen tickets the POS terminals file in "
                       "the store's database.\nWithout options it runs in the notification area."));
    Options().addTo(parser);
    return parser.helpText();
}

QString helpReference() {
    return QStringLiteral("kitchen-print-server --help lists the options.");
}

QString unknownArgumentsNotice(const QStringList& unknownArguments) {
    QStringList quoted;
    for (const QString& argument : unknownArguments) {
        quoted << QLatin1Char('\'') + argument + QLatin1Char('\'');
    }
    return QStringLiteral("%1 ignored: %2; %3")
        .arg(unknownArguments.size() == 1 ? QStringLiteral("unknown argument")
                                          : QStringLiteral("unknown arguments"),
             quoted.join(QLatin1Char(' ')), helpReference());
}
