#pragma once

#include "row.h"

#include <QSqlField>
#include <QSqlRecord>
#include <initializer_list>
#include <utility>

// A job or settings row as the database hands it over, built in a test.
inline Row rowOf(std::initializer_list<std::pair<QString, QVariant>> columns) {
    QSqlRecord record;
    for (const auto& [name, value] : columns) {
        QSqlField field(name, value.metaType());
        field.setValue(value);
        record.append(field);
    }
    return Row(record);
}
