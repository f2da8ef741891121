#include "remembered_rows.h"

#include "daily_logs.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <utility>

namespace {

const QString procedureName = QStringLiteral("지우지못한출력물");

// The file holds one object: each group's name with the list of its conditions. Anything else
// is no file this program wrote.
bool readGroups(const QJsonDocument& document, QMap<QString, QStringList>& groups) {
    if (!document.isObject()) {
        return false;
    }
    const QJsonObject object = document.object();
    for (auto group = object.begin(); group != object.end(); ++group) {
        if (!group.value().isArray()) {
            return false;
        }
        QStringList conditions;
        const QJsonArray list = group.value().toArray();
        for (const auto& condition : list) {
            if (!condition.isString()) {
                return false;
            }
            conditions << condition.toString();
        }
        groups.insert(group.key(), conditions);
    }
    return true;
}

} // namespace

const QString RememberedRows::fileName = procedureName + QStringLiteral(".json");

RememberedRows::RememberedRows(const QString& programFolder, const DailyLogs& logs,
                               const QString& database)
    : path_(QDir(programFolder).filePath(fileName)), logs_(logs), database_(database) {
    load();
}

QString RememberedRows::keyOf(const QString& group) const {
    return database_ + QLatin1Char(' ') + group;
}

QStringList RememberedRows::rows(const QString& group) const {
    return groups_.value(keyOf(group));
}

void RememberedRows::add(const QString& group, const QString& condition) {
    groups_[keyOf(group)] << condition;
    save();
}

void RememberedRows::removeOne(const QString& group, const QString& condition) {
    const auto found = groups_.find(keyOf(group));
    if (found != groups_.end() && found->removeOne(condition)) {
        if (found->isEmpty()) {
            groups_.erase(found);
        }
        save();
    }
}

void RememberedRows::keepPresent(const QString& group, const QStringList& present) {
    const QStringList remembered = rows(group);
    QStringList unmatched = present;
    QStringList kept;
    for (const QString& condition : remembered) {
        if (unmatched.removeOne(condition)) {
            kept << condition;
        }
    }
    if (kept.size() != remembered.size()) {
        replace(group, kept);
    }
}

void RememberedRows::replace(const QString& group, const QStringList& conditions) {
    if (rows(group) == conditions) {
        return;
    }
    if (conditions.isEmpty()) {
        groups_.remove(keyOf(group));
    } else {
        groups_.insert(keyOf(group), conditions);
    }
    save();
}

// A file this program cannot read is left as it is until the next change replaces it; the
// rows it named are then printed again rather than deleted unprinted.
void RememberedRows::load() {
    QFile file(path_);
    if (!file.exists()) {
        return;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        logs_.writeErrorLog(procedureName, path_ + QStringLiteral(" 파일을 읽을 수 없습니다: ") +
                                               file.errorString());
        return;
    }
    const QByteArray contents = file.readAll();
    // Closed before anything may replace or remove it: Windows removes no open file.
    file.close();
    QJsonParseError parseError{};
    const QJsonDocument document = QJsonDocument::fromJson(contents, &parseError);
    QMap<QString, QStringList> groups;
    if (parseError.error != QJsonParseError::NoError || !readGroups(document, groups)) {
        logs_.writeErrorLog(procedureName,
                            path_ + QStringLiteral(" 파일의 내용을 알 수 없어 쓰지 않습니다"));
        return;
    }
    for (auto group = groups.cbegin(); group != groups.cend(); ++group) {
        if (group.key().startsWith(keyOf(QString()))) {
            groups_.insert(group.key(), group.value());
        }
    }
    if (groups_.size() != groups.size()) {
        logs_.writeErrorLog(procedureName,
                            QStringLiteral("다른 데이타베이스의 지우지 못한 행은 잊습니다"));
        save();
    }
}

// Written whole into a new file that then takes the old one's place, so that a program ended
// in the middle of writing leaves the earlier file, never half of one.
void RememberedRows::save() {
    if (groups_.isEmpty()) {
        QFile file(path_);
        if (file.exists() && !file.remove()) {
            reportWriteFailure(file.errorString());
            return;
        }
        writeFailing_ = false;
        return;
    }
    QJsonObject object;
    for (auto group = groups_.cbegin(); group != groups_.cend(); ++group) {
        object.insert(group.key(), QJsonArray::fromStringList(group.value()));
    }
    QSaveFile file(path_);
    if (!file.open(QIODevice::WriteOnly) || file.write(QJsonDocument(object).toJson()) < 0 ||
        !file.commit()) {
        reportWriteFailure(file.errorString());
        return;
    }
    writeFailing_ = false;
}

void RememberedRows::reportWriteFailure(const QString& reason) {
    if (!std::exchange(writeFailing_, true)) {
        logs_.writeErrorLog(procedureName,
                            path_ + QStringLiteral(" 파일을 쓸 수 없습니다: ") + reason);
    }
}
