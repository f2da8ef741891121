#include "connection_text.h"
#include "database_error.h"
#include "pos_database.h"
#include "test_rig.h"

#include <gtest/gtest.h>

namespace {

class PosDatabaseTest : public testing::Test {
protected:
    void SetUp() override {
        REQUIRE_TEST_RIG();
        test_rig::runSql(QStringLiteral("Delete From 환경설정; Delete From 주방출력물;"));
        addSettingsRow(QStringLiteral("S001"), QStringLiteral("250"));
    }

    static void addSettingsRow(const QString& storeCode, const QString& receiptDelay,
                               const QString& otherOptions = QString()) {
        test_rig::runSql(QStringLiteral("Insert Into 환경설정 (매장코드, POSID, 영수증딜레이타임, "
                                        "기타옵션) Values ('%1', '01', %2, '%3');")
                             .arg(QString(storeCode).replace('\'', QStringLiteral("''")),
                                  receiptDelay, otherOptions));
    }

    PosDatabase database(const QString& storeCode = QStringLiteral("S001"),
                         const QString& server = QStringLiteral("127.0.0.1")) {
        return PosDatabase(StoreIdentity{storeCode, QStringLiteral("01"), server},
                           [this](const QString& text) { messages_ << text; });
    }

    QStringList messages_;
};

TEST_F(PosDatabaseTest, ReceiptDelayIsAtLeastTenMilliseconds) {
    const QList<QPair<QString, qint16>> cases = {{"0", 10},  {"5", 10},    {"-3", 10},
                                                 {"10", 10}, {"250", 250}, {"12.5", 12}};
    for (const auto& [stored, expected] : cases) {
        test_rig::runSql(QStringLiteral("Update 환경설정 Set 영수증딜레이타임 = %1;").arg(stored));
        PosDatabase db = database();
        ASSERT_TRUE(db.connectDatabase()) << stored.toStdString();
        EXPECT_EQ(db.receiptDelayMs(), expected) << stored.toStdString();
    }
    EXPECT_TRUE(messages_.isEmpty());
}

TEST_F(PosDatabaseTest, UnusableReceiptDelayIsShownAndTheDelayStays) {
    PosDatabase db = database();
    ASSERT_TRUE(db.connectDatabase());
    for (const QString& stored : {QStringLiteral("Null"), QStringLiteral("40000")}) {
        test_rig::runSql(QStringLiteral("Update 환경설정 Set 영수증딜레이타임 = %1;").arg(stored));
        EXPECT_TRUE(db.connectDatabase()) << stored.toStdString();
        EXPECT_EQ(db.receiptDelayMs(), 250);
    }
    ASSERT_EQ(messages_.size(), 2);
    EXPECT_TRUE(messages_.at(0).startsWith(QStringLiteral("\r\n")));
    EXPECT_TRUE(messages_.at(1).contains(QStringLiteral("40000")));
}

TEST_F(PosDatabaseTest, NoSettingsRowFailsSilently) {
    PosDatabase db = database(QStringLiteral("S999"));
    EXPECT_FALSE(db.connectDatabase());
    EXPECT_TRUE(messages_.isEmpty());
    EXPECT_THROW(db.settings(), DatabaseError);
}

TEST_F(PosDatabaseTest, EmptyServerFailsWithoutAnAttempt) {
    PosDatabase db = database(QStringLiteral("S001"), QString());
    EXPECT_FALSE(db.connectDatabase());
    EXPECT_TRUE(db.lastConnectionText().isEmpty());
}

TEST_F(PosDatabaseTest, QuoteInTheStoreCodeDoesNotChangeTheStatement) {
    addSettingsRow(QStringLiteral("A'01"), QStringLiteral("30"));
    PosDatabase db = database(QStringLiteral("A'01"));
    ASSERT_TRUE(db.connectDatabase());
    EXPECT_EQ(db.receiptDelayMs(), 30);
}

// The first connection of a run always uses 1433; a port from the option lines applies from
// the next connection on.
TEST_F(PosDatabaseTest, SqlPortFromLine37IsUsedByLaterConnections) {
    QStringList lines;
    for (int line = 1; line <= 40; ++line) {
        lines << (line == 37 ? QStringLiteral(" 1444 ") : QStringLiteral("o%1=%1").arg(line));
    }
    test_rig::runSql(QStringLiteral("Update 환경설정 Set 기타옵션 = '%1';")
                         .arg(lines.join(QStringLiteral("\r\n"))));
    PosDatabase db = database();
    ASSERT_TRUE(db.connectDatabase());
    EXPECT_TRUE(db.lastConnectionText().contains(QStringLiteral("SERVER=127.0.0.1,1433;")));
    db.loadOtherOptions();
    EXPECT_EQ(db.otherOptions().text(39), QStringLiteral("40"));
    EXPECT_FALSE(db.otherOptions().slot(40).isValid());
    ASSERT_TRUE(db.connectDatabase());
    EXPECT_TRUE(db.lastConnectionText().contains(QStringLiteral("SERVER=127.0.0.1,1444;")));
}

TEST_F(PosDatabaseTest, SqlPortThatIsNotAPortNumberNeverReachesTheDriver) {
    for (const QString& port :
         {QStringLiteral("1433;SERVER=elsewhere"), QStringLiteral("0"), QStringLiteral("65536")}) {
        QStringList lines(36, QStringLiteral("o=1"));
        lines << QStringLiteral("sqlport=") + port;
        test_rig::runSql(QStringLiteral("Update 환경설정 Set 기타옵션 = '%1';")
                             .arg(lines.join(QStringLiteral("\r\n"))));
        PosDatabase db = database();
        ASSERT_TRUE(db.connectDatabase());
        const std::optional<QString> refused = db.loadOtherOptions();
        ASSERT_TRUE(refused.has_value()) << port.toStdString();
        EXPECT_TRUE(refused->contains(port));
        ASSERT_TRUE(db.connectDatabase());
        EXPECT_TRUE(db.lastConnectionText().endsWith(
            QStringLiteral("SERVER=127.0.0.1,1433;DATABASE=젤노포스식음;UID=sa;PWD=vextrolam;")))
            << db.lastConnectionText().toStdString();
    }
}

TEST_F(PosDatabaseTest, OptionOutOfRangeIsShownWithoutLineBreak) {
    test_rig::runSql(QStringLiteral("Update 환경설정 Set 기타옵션 = 'a=1' || chr(13) || chr(10) || "
                                    "repeat('x=1' || chr(13) || chr(10), 10) || 'n=70000';"));
    PosDatabase db = database();
    ASSERT_TRUE(db.connectDatabase());
    db.loadOtherOptions();
    ASSERT_EQ(messages_.size(), 1);
    EXPECT_TRUE(messages_.at(0).contains(QStringLiteral("70000")));
    EXPECT_FALSE(messages_.at(0).startsWith(QStringLiteral("\r\n")));
    EXPECT_EQ(db.otherOptions().text(OtherOptions::sqlPortSlot), QStringLiteral("1433"));
}

TEST_F(PosDatabaseTest, StoppedServerIsALostConnectionAndAFreshConnectionRecovers) {
    PosDatabase db = database();
    ASSERT_TRUE(db.connectDatabase());
    test_rig::stopDatabase();
    for (int attempt = 0; attempt < 2; ++attempt) {
        try {
            db.connection().query(QStringLiteral("Select * From 주방출력물"));
            ADD_FAILURE() << "the server is down";
        } catch (const DatabaseError& error) {
            EXPECT_EQ(error.number(), DatabaseError::lostConnection)
                << error.description().toStdString();
        }
    }
    EXPECT_FALSE(db.connectDatabase());
    test_rig::startDatabase();
    ASSERT_TRUE(db.connectDatabase());
    EXPECT_NO_THROW(db.connection().query(QStringLiteral("Select * From 주방출력물")));
}

TEST_F(PosDatabaseTest, DeleteRowRemovesExactlyThatRowByItsKey) {
    test_rig::runSql(QStringLiteral("Insert Into 주방출력물 (매장코드, 테이블번호) Values "
                                    "('S001', 1), ('S001', 1), ('S001', 2);"));
    PosDatabase db = database();
    ASSERT_TRUE(db.connectDatabase());
    const QString selection = QStringLiteral("Select * From 주방출력물 Order by 테이블번호");
    const ResultSet before = db.connection().query(selection);
    ASSERT_EQ(before.size(), 3u);
    Connection& connection = db.connection();
    EXPECT_EQ(connection.deleteOneRow(jobTable, connection.rowCondition(jobTable, before.at(1))),
              1);
    const ResultSet after = db.connection().query(selection);
    ASSERT_EQ(after.size(), 2u);
    EXPECT_EQ(after.at(0).value(QStringLiteral("일련번호")),
              before.at(0).value(QStringLiteral("일련번호")));
    EXPECT_EQ(after.at(1).value(QStringLiteral("일련번호")),
              before.at(2).value(QStringLiteral("일련번호")));
}

// SQL Server's drivers hand the rows over while they are still coming: a row locked by another
// terminal blocks the fetch, not the execution. The rig's driver does the same with a cursor.
TEST_F(PosDatabaseTest, FetchThatStallsIsCutOffAsALostConnection) {
    Connection connection(std::chrono::seconds(2));
    ASSERT_TRUE(connection.open(connectionText(QStringLiteral("127.0.0.1"), QStringLiteral("1433"),
                                               QStringLiteral("젤노포스식음"), QStringLiteral("sa"),
                                               QStringLiteral("vextrolam")) +
                                    QStringLiteral("UseDeclareFetch=1;Fetch=2;"),
                                10));
    try {
        connection.query(QStringLiteral("Select n, pg_sleep(Case When n = 3 Then 20 Else 0 End) "
                                        "From generate_series(1, 5) n"));
        ADD_FAILURE() << "the third row never came in time";
    } catch (const DatabaseError& error) {
        EXPECT_EQ(error.number(), DatabaseError::lostConnection)
            << error.description().toStdString();
    }
}

TEST_F(PosDatabaseTest, ColumnsAreFoundWhateverTheirLetterCase) {
    PosDatabase db = database();
    ASSERT_TRUE(db.connectDatabase());
    EXPECT_EQ(db.settings().text(QStringLiteral("posid")), QStringLiteral("01"));
    EXPECT_EQ(db.settings().text(QStringLiteral("POSID")), QStringLiteral("01"));
    EXPECT_THROW(db.settings().value(QStringLiteral("없는열")), DatabaseError);
}

} // namespace

// Order numbers of 17 and more digits lie beyond what a double tells apart (2^53); a unique
// index over a column holding nulls, or one that covers only some rows, tells no row apart.
// Each row's condition must delete that row and no other.
TEST_F(PosDatabaseTest, EveryRowIsNamedByItsOwnConditionWhateverTheTableKeeps) {
    test_rig::runSql(QStringLiteral(
        "Drop Table If Exists 키시험, 널시험, 부분시험; "
        "Create Table 키시험 (번호 numeric(18,0) Primary Key, 내용 varchar(5)); "
        "Insert Into 키시험 Values (9007199254740991, 'a'), (9007199254740992, 'b'), "
        "(9007199254740993, 'c'), (20261211123456788, 'd'), (20261211123456789, 'e'); "
        "Create Table 널시험 (코드 varchar(5), 내용 varchar(5)); "
        "Create Unique Index 널시험_코드 On 널시험 (코드); "
        "Insert Into 널시험 Values (Null, 'a'), (Null, 'b'), ('c', 'c'); "
        "Create Table 부분시험 (구분 int, 내용 varchar(5)); "
        "Create Unique Index 부분시험_구분 On 부분시험 (구분) Where 구분 > 0; "
        "Insert Into 부분시험 Values (0, 'a'), (0, 'b'), (1, 'c');"));
    PosDatabase db = database();
    ASSERT_TRUE(db.connectDatabase());
    Connection& connection = db.connection();
    // The 내용 of the rows left once the row holding `gone` is deleted by its own condition.
    const auto leftAfterDeleting = [&](const QString& table, const QString& gone) {
        const QString selection = QStringLiteral("Select * From %1 Order by 내용").arg(table);
        QStringList left;
        for (const Row& row : connection.query(selection)) {
            if (row.text(QStringLiteral("내용")) == gone) {
                EXPECT_EQ(connection.deleteOneRow(table, connection.rowCondition(table, row)), 1);
            }
        }
        for (const Row& row : connection.query(selection)) {
            left << row.text(QStringLiteral("내용"));
        }
        return left;
    };
    // As doubles, 2^53 + 1 reads as 2^53 and ...789 as ...788.
    EXPECT_EQ(leftAfterDeleting(QStringLiteral("키시험"), QStringLiteral("e")),
              (QStringList{"a", "b", "c", "d"}));
    EXPECT_EQ(leftAfterDeleting(QStringLiteral("키시험"), QStringLiteral("c")),
              (QStringList{"a", "b", "d"}));
    EXPECT_EQ(leftAfterDeleting(QStringLiteral("널시험"), QStringLiteral("b")),
              (QStringList{"a", "c"}));
    EXPECT_EQ(leftAfterDeleting(QStringLiteral("부분시험"), QStringLiteral("b")),
              (QStringList{"a", "c"}));
    const ResultSet keys = connection.query(QStringLiteral("Select 번호 From 키시험 Order by 1"));
    EXPECT_EQ(keys.back().exactNumber(0), QStringLiteral("20261211123456788"));
    EXPECT_EQ(keys.back().value(QStringLiteral("번호")).toDouble(), 20261211123456788.0);
}
