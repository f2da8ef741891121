#include "sql_dialect.h"
#include "sql_literals.h"

#include <QDateTime>
#include <QSqlField>
#include <cmath>
#include <gtest/gtest.h>
#include <sqlext.h>

namespace {

const QDateTime second = QDateTime::fromMSecsSinceEpoch(1'796'896'800'000, Qt::UTC);

// Whether SQL Server would find a stored value, given in milliseconds after `second`, inside
// the range the program builds for a reading.
bool holds(const StoredTimeRange& range, double storedMs) {
    const double from = double(second.msecsTo(range.from));
    const double to = double(second.msecsTo(range.to));
    return (range.fromIncluded ? storedMs >= from : storedMs > from) &&
           (range.toIncluded ? storedMs <= to : storedMs < to);
}

StoredTimeRange rangeFor(double readMs, int digits) {
    return sqlServerStoredTimeRange(second.addMSecs(qint64(readMs)), digits);
}

QSqlField timestampField(const QDateTime& value, int digits) {
    QSqlField field(QStringLiteral("주문일시"), QMetaType(QMetaType::QDateTime));
    field.setSqlType(SQL_TYPE_TIMESTAMP);
    field.setPrecision(digits);
    field.setValue(value);
    return field;
}

} // namespace

// datetime keeps 1/300 s. The driver's value reaches the program cut (or rounded) to the
// millisecond, and the server compares the column as its exact value, or below compatibility
// level 130 as the millisecond it displays.
TEST(SqlServerTimeRange, EveryDatetimeTickIsFoundAndNoNeighbour) {
    const auto exact = [](int tick) { return tick * 10.0 / 3.0; };
    for (int tick = 1; tick < 299; ++tick) {
        for (const double read : {std::floor(exact(tick)), std::round(exact(tick))}) {
            const StoredTimeRange range = rangeFor(read, 3);
            for (const double compared : {exact(tick), std::round(exact(tick))}) {
                EXPECT_TRUE(holds(range, compared)) << tick << " read as " << read;
            }
            EXPECT_FALSE(holds(range, exact(tick - 1)) || holds(range, exact(tick + 1))) << tick;
        }
    }
}

TEST(SqlServerTimeRange, ExactAndFinerTypesAreFoundAndNoNeighbour) {
    EXPECT_TRUE(holds(rangeFor(0, 0), 0)); // smalldatetime: whole minutes, read exactly
    EXPECT_FALSE(holds(rangeFor(0, 0), 1));
    EXPECT_TRUE(holds(rangeFor(123, 3), 123)); // datetime2(3), described like datetime
    EXPECT_FALSE(holds(rangeFor(123, 3), 122));
    for (const double stored : {123.0, 123.0001, 123.9999}) { // datetime2(7), read cut
        const StoredTimeRange range = rangeFor(std::floor(stored), 7);
        EXPECT_TRUE(holds(range, stored)) << stored;
        EXPECT_FALSE(holds(range, stored - 1) || holds(range, stored + 1)) << stored;
    }
}

// The forms as SQL Server documents them: DELETE TOP (expression) FROM … WHERE …, CONVERT
// with style 121 (yyyy-mm-dd hh:mi:ss.mmm), text compared through a cast to nvarchar(max), the
// catalog view of indexes.
TEST(SqlServerStatements, DeleteDateAndLongTextForms) {
    EXPECT_EQ(deleteOneRowStatement(SqlDialect::sqlServer, QStringLiteral("주방출력물"),
                                    QStringLiteral("일련번호 = 7")),
              QStringLiteral("Delete Top (1) From 주방출력물 Where 일련번호 = 7"));
    EXPECT_EQ(matchingCondition(SqlDialect::sqlServer, QStringLiteral("주문일시"),
                                timestampField(second.addMSecs(7), 3)),
              QStringLiteral("주문일시 > Convert(datetime2(7), '2026-12-10 10:00:00.006', 121) "
                             "and 주문일시 <= Convert(datetime2(7), '2026-12-10 10:00:00.008', "
                             "121)"));
    QSqlField text(QStringLiteral("프린트내용"), QMetaType(QMetaType::QString));
    text.setSqlType(SQL_WLONGVARCHAR);
    text.setValue(QString(9000, QLatin1Char('x')) + QStringLiteral("'%_"));
    EXPECT_EQ(matchingCondition(SqlDialect::sqlServer, QStringLiteral("프린트내용"), text),
              QStringLiteral("Cast(프린트내용 As nvarchar(max)) = N'") +
                  QString(9000, QLatin1Char('x')) + QStringLiteral("''%_'"));
    // sys.indexes: is_unique and has_filter, the table named through OBJECT_ID.
    EXPECT_EQ(filteredIndexesStatement(SqlDialect::sqlServer, QStringLiteral("주방출력물")),
              QStringLiteral("Select name From sys.indexes Where object_id = "
                             "Object_Id(N'주방출력물') and is_unique = 1 and has_filter = 1"));
}

// A decimal key by the driver's exact text, at 2^53 + 1 and at 18 digits, where a double would
// name its neighbour too; a floating-point value by the shortest text of its double.
TEST(MatchingCondition, NumbersAreWrittenExactly) {
    QSqlField amount(QStringLiteral("미결금액"), QMetaType(QMetaType::Double));
    amount.setValue(1234.56);
    EXPECT_EQ(matchingCondition(SqlDialect::sqlServer, QStringLiteral("미결금액"), amount),
              QStringLiteral("미결금액 = 1234.56"));
    QSqlField key(QStringLiteral("번호"), QMetaType(QMetaType::Double));
    key.setValue(9007199254740993.0);
    EXPECT_EQ(matchingCondition(SqlDialect::sqlServer, QStringLiteral("번호"), key,
                                QStringLiteral("9007199254740993")),
              QStringLiteral("번호 = 9007199254740993"));
    EXPECT_EQ(matchingCondition(SqlDialect::postgreSql, QStringLiteral("번호"), key,
                                QStringLiteral("-123456789012345678.50")),
              QStringLiteral("번호 = -123456789012345678.50"));
}
