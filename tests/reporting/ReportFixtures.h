#pragma once

#include "DataSet.h"
#include "ReportData.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>

// Small in-memory data sets shaped like the callers' selects, and helpers to
// read back what the report engine wrote.
namespace ReportFixtures {

struct Column
{
    QString name;
    FieldKind kind;
    QString label;
};

std::unique_ptr<TDataSet> makeSet(const QList<Column> &columns, const QList<QVariantList> &rows);

QVariant date(int y, int m, int d);

// An employee list row set (the main window's list, the profile's d0).
std::unique_ptr<TDataSet> employees(int count);
// A one-pixel-per-cell PNG of the given size and colour, as stored photos are.
QByteArray pngBytes(int width, int height, Qt::GlobalColor color);

// Variables as the program's host offers them.
void addCompanyVariables(
    ReportData &data, const QString &company = QStringLiteral("澄岚测试有限公司"));

// The text pdftotext finds in a PDF (pages separated by form feeds); empty
// with *error set when the tool fails.
QString pdfText(const QString &path, QString *error);
int pdfPageCount(const QString &pdfText);
// The bytes of one member of a zip archive (an .odt or .xlsx).
QByteArray zipEntry(const QString &archive, const QString &member);

// The source folder of the shipped report templates.
QString reportsDir();

} // namespace ReportFixtures
