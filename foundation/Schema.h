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

// Puts the shipped report templates of folder dir into table report, in one
// transaction: every file "<group>-<name>.qmr" becomes an entry of that group
// titled with the template's "name" (else the file's name part), under the
// next free Ids in group order. False with *error set when the folder or a
// file cannot be read, a file name has no group, or an insert fails.
bool LoadDefaultReports(TDatabase &db, const QString &dir, QString *error);

} // namespace Schema
