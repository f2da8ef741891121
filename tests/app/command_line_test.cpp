#include "command_line.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

CommandLine parse(const QStringList& options) {
    return parseCommandLine(QStringList{QStringLiteral("kitchen-print-server")} + options,
                            QStringLiteral("/opt/pos"));
}

} // namespace

TEST(CommandLine, ProgramFolderIsTheExecutablesUnlessNamed) {
    EXPECT_EQ(parse({}).action, CommandLine::Action::Run);
    EXPECT_EQ(parse({}).programFolder, QStringLiteral("/opt/pos"));
    EXPECT_EQ(
        parse({QStringLiteral("--program-folder"), QStringLiteral("/home/pos/kps")}).programFolder,
        QDir(QStringLiteral("/home/pos/kps")).absolutePath());
    EXPECT_EQ(parse({QStringLiteral("--program-folder=")}).action, CommandLine::Action::Refused);
}

TEST(CommandLine, SetupNeedsStorePosAndServerAndNothingElseTakesThem) {
    const CommandLine setup =
        parse({QStringLiteral("--setup"), QStringLiteral("--store"), QStringLiteral("강남점"),
               QStringLiteral("--pos"), QStringLiteral("01"), QStringLiteral("--server"),
               QStringLiteral("db")});
    EXPECT_EQ(setup.action, CommandLine::Action::Setup);
    EXPECT_EQ(setup.setup.storeCode, QStringLiteral("강남점"));
    EXPECT_EQ(setup.setup.dbKind, QStringLiteral("MS-SQL"));
    EXPECT_FALSE(setup.overwrite);
    EXPECT_EQ(
        parse({QStringLiteral("--setup"), QStringLiteral("--store"), QStringLiteral("S1")}).action,
        CommandLine::Action::Refused);
    EXPECT_EQ(parse({QStringLiteral("--store"), QStringLiteral("S1")}).action,
              CommandLine::Action::Refused);
}

TEST(CommandLine, QtOptionsPassUnseenAndUnknownArgumentsAreKeptAsideNotRefused) {
    const CommandLine run = parse({QStringLiteral("-session"), QStringLiteral("--store"),
                                   QStringLiteral("--style=fusion"), QStringLiteral("--bogus=1"),
                                   QStringLiteral("-geometry"), QStringLiteral("10x10"),
                                   QStringLiteral("-program-folder"), QStringLiteral("/srv/kps"),
                                   QStringLiteral("stray"), QStringLiteral("-reverse")});
    EXPECT_EQ(run.action, CommandLine::Action::Run);
    EXPECT_EQ(run.programFolder, QDir(QStringLiteral("/srv/kps")).absolutePath());
    EXPECT_EQ(run.unknownArguments,
              QStringList({QStringLiteral("--bogus=1"), QStringLiteral("stray")}));
    EXPECT_EQ(parse({QStringLiteral("--version"), QStringLiteral("-platform"),
                     QStringLiteral("offscreen")})
                  .action,
              CommandLine::Action::Version);
}

TEST(CommandLine, OnlyTheProgramsOwnCommandsAndRefusalsSkipTheWindowSystem) {
    const char* run[] = {"kps", "--program-folder", "/x", "-session", "--help", "--bogus"};
    const char* help[] = {"kps", "-platform", "offscreen", "--help"};
    const char* refused[] = {"kps", "--program-folder"};
    EXPECT_FALSE(isTerminalCommand(6, run));
    EXPECT_TRUE(isTerminalCommand(4, help));
    EXPECT_TRUE(isTerminalCommand(2, refused));
}
