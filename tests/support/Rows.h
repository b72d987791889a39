#pragma once

#include <QByteArray>
#include <QTest>

// One row of a data-driven test: its name, then a value for each column.
template <typename... Values> void row(const char* tag, const Values&... values)
{
    (QTest::newRow(tag) << ... << values);
}

// Table rows write CR LF as '|' so that they stay short.
inline QByteArray bar(QByteArray text)
{
    return text.replace('|', "\r\n");
}
