#include "codepage949.h"
#include "config_file.h"
#include "listen_address.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class ConfigFileTest : public testing::Test {
protected:
    QString write(const QString& text) {
        const QString path = folder_.filePath(configFileName);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(toCodePage949(text));
        return path;
    }

    QTemporaryDir folder_;
};

} // namespace

TEST_F(ConfigFileTest, ValuesAreReadByPositionAndTrimmed) {
    const ConfigFile config =
        readConfigFile(write(QStringLiteral("[POS]\r\n매장코드 =  강남 1호점 \r\n"
                                            "POSID=01\r\nSERVER=a=b\r\nDB=MS-SQL   \r\n"
                                            "extra=ignored\r\n")));
    EXPECT_EQ(config.storeCode, QStringLiteral("강남 1호점"));
    EXPECT_EQ(config.posId, QStringLiteral("01"));
    EXPECT_EQ(config.dbServer, QStringLiteral("a=b"));
    EXPECT_EQ(config.dbKind, QStringLiteral("MS-SQL"));
}

TEST_F(ConfigFileTest, LineWithoutEqualsSignIsTakenWhole) {
    const ConfigFile config =
        readConfigFile(write(QStringLiteral("x\r\n  S001  \r\n01\r\n127.0.0.1\r\nms-sql")));
    EXPECT_EQ(config.storeCode, QStringLiteral("S001"));
    EXPECT_EQ(config.dbServer, QStringLiteral("127.0.0.1"));
    EXPECT_EQ(config.dbKind, QStringLiteral("ms-sql"));
}

TEST_F(ConfigFileTest, LinesEndingInLineFeedAloneAreLinesToo) {
    const ConfigFile config =
        readConfigFile(write(QStringLiteral("a\nb=S1\nc=P1\nd=srv\ne=MS-SQL\n")));
    EXPECT_EQ(config.storeCode, QStringLiteral("S1"));
    EXPECT_EQ(config.dbKind, QStringLiteral("MS-SQL"));
}

TEST_F(ConfigFileTest, FewerThanFiveLinesOrNoFileFail) {
    EXPECT_THROW(readConfigFile(write(QStringLiteral("a\r\nb=S1\r\nc=P1\r\nd=srv\r\n"))),
                 std::runtime_error);
    EXPECT_THROW(readConfigFile(folder_.filePath(QStringLiteral("없음.CFG"))), std::runtime_error);
}

TEST(ConfigFileStatusPage, OnlyASixthLineWithItsKeyNamesWhereThePageListens) {
    const QByteArray five = "[POS]\r\nS=S001\r\nP=01\r\nH=db\r\nDB=MS-SQL\r\n";
    EXPECT_EQ(parseConfigFile(five, configFileName).statusPage, std::nullopt);
    EXPECT_EQ(parseConfigFile(five + "other=1\r\n", configFileName).statusPage, std::nullopt);
    const QByteArray sixth = toCodePage949(QStringLiteral(" 상태페이지 = 0.0.0.0:8080 \r\n"));
    EXPECT_EQ(parseConfigFile(five + sixth, configFileName).statusPage,
              QStringLiteral("0.0.0.0:8080"));
    EXPECT_EQ(parseConfigFile(five + "\r\n" + sixth, configFileName).statusPage, std::nullopt);
}

TEST(ConfigFileStatusPage, ListenAddressIsAnIpAddressAndAPortExactly) {
    const auto good = parseListenAddress(QStringLiteral("[::1]:65535"));
    ASSERT_TRUE(good);
    EXPECT_EQ(good->host, QHostAddress::LocalHostIPv6);
    EXPECT_EQ(good->port, 65535);
    EXPECT_EQ(parseListenAddress(QStringLiteral("192.168.0.10:80"))->host,
              QHostAddress(QStringLiteral("192.168.0.10")));
    for (const char* bad :
         {"", "127.0.0.1", ":8080", "127.0.0.1:0", "127.0.0.1:65536", "127.0.0.1:080", "127.1:8080",
          "127.0.0.01:8080", "256.0.0.1:80", "localhost:8080", "::1:8080", "[127.0.0.1]:80",
          "127.0.0.1: 80", "127.0.0.1:80x"}) {
        EXPECT_FALSE(parseListenAddress(QString::fromLatin1(bad))) << bad;
    }
}

// The terminals write code page 949; a technician's Linux editor writes UTF-8, with or without
// a byte-order mark. Each must give the same store code.
TEST(ConfigFileEncoding, CodePage949AndUtf8FilesGiveTheSameValues) {
    const QString text =
        QStringLiteral("[POS]\r\n매장코드=강남점\r\nPOSID=01\r\nSERVER=db\r\nDB=MS-SQL\r\n");
    for (const QByteArray& contents :
         {toCodePage949(text), text.toUtf8(), QByteArray("\xEF\xBB\xBF") + text.toUtf8()}) {
        EXPECT_EQ(parseConfigFile(contents, configFileName).storeCode, QStringLiteral("강남점"));
    }
    const QByteArray ascii = "[POS]\r\nS=S001\r\nP=01\r\nH=db\r\nDB=MS-SQL\r\n";
    EXPECT_EQ(parseConfigFile(ascii, configFileName).storeCode, QStringLiteral("S001"));
    // A last line of one lead byte is not UTF-8 waiting for more: it stays a fifth line.
    EXPECT_NO_THROW(parseConfigFile("a\nb\nc\nd\n\xC9", configFileName));
}

TEST(ConfigFileEncoding, WrittenFileIsCodePage949WithCrLfAndReadsBack) {
    const ConfigFile written{QStringLiteral("강남점"), QStringLiteral("01"), QStringLiteral("db"),
                             QStringLiteral("MS-SQL")};
    const QByteArray contents = configFileContents(written);
    EXPECT_EQ(contents,
              toCodePage949(QStringLiteral(
                  "[ZelnorPOS]\r\n매장코드=강남점\r\nPOSID=01\r\nSERVER=db\r\nDB=MS-SQL\r\n")));
    const ConfigFile read = parseConfigFile(contents, configFileName);
    EXPECT_EQ(read.storeCode, written.storeCode);
    EXPECT_EQ(read.dbKind, written.dbKind);
}
