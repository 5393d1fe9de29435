#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

class TDatabase;

// What the program knows of the database it is given: the tables with their
// key columns, and how the shipped schema and seed scripts are split and run
// (the program itself never creates a table; the build and the database tool do).
namespace Schema {

struct Table
{
    const char *name;
    const char *key; // empty for tables without a single key column
};

const QVector<Table> &Tables();

// Statements of a script: each ends with ";" at the end of a line; lines
// starting with "--" are comments.
QStringList SplitScript(const QString &script);

// Runs every statement of the script file in one transaction; false with
// *error set when the file cannot be read or a statement fails.
bool RunScriptFile(TDatabase &db, const QString &path, QString *error);

} // namespace Schema
