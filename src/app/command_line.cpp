#include "command_line.h"

#include <QCommandLineParser>
#include <QDir>
#include <string_view>

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
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")},
                            QStringLiteral("Show this help.")};
    QCommandLineOption version{QStringLiteral("version"), QStringLiteral("Show the version.")};

    void addTo(QCommandLineParser& parser) const {
        parser.addOptions({folder, setup, store, pos, server, overwrite, help, version});
    }
};

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
    constexpr std::string_view folderWithValue = "--program-folder=";
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--program-folder") {
            ++i;
        } else if (!argument.starts_with(folderWithValue)) {
            return true;
        }
    }
    return false;
}

CommandLine parseCommandLine(const QStringList& arguments, const QString& executableFolder) {
    QCommandLineParser parser;
    const Options options;
    options.addTo(parser);
    if (!parser.parse(arguments)) {
        return refused(parser.errorText());
    }
    if (!parser.positionalArguments().isEmpty()) {
        return refused(QStringLiteral("unexpected argument: ") +
                       parser.positionalArguments().first());
    }
    if (parser.isSet(options.folder) && parser.value(options.folder).trimmed().isEmpty()) {
        return refused(QStringLiteral("--program-folder needs a folder"));
    }
    CommandLine command;
    command.programFolder = parser.isSet(options.folder)
                                ? QDir(parser.value(options.folder)).absolutePath()
                                : executableFolder;
    if (parser.isSet(options.help)) {
        command.action = CommandLine::Action::Help;
    } else if (parser.isSet(options.version)) {
        command.action = CommandLine::Action::Version;
    } else if (parser.isSet(options.setup)) {
        return setupCommand(parser, options, command);
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
