#pragma once

#include <QList>
#include <QPair>
#include <QString>

// A "key=value;key=value" connection string. Values holding ';', quotes or
// blank ends are written in double quotes (a quote inside doubled), so any
// password or path survives composing and reading back.
class ConnectionString
{
public:
    void add(const QString &key, const QString &value);
    QString toString() const;

    // The value of the first item whose key equals key (case-sensitive), or an
    // empty text when there is none.
    static QString value(const QString &connectionString, const QString &key);
    static QString quoted(const QString &value);

private:
    QList<QPair<QString, QString>> m_items;
};
