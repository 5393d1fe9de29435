#pragma once

#include <QString>
#include <QVector>
#include <functional>

class QWidget;
class TDataSet;

// One shown grid column as an export writes it.
struct TExportColumn
{
    QString Caption;
    QString FieldName;
    // Pixels; 0 leaves the spreadsheet's default width.
    int Width = 0;
};
using TExportColumns = QVector<TExportColumn>;

// How far an export has got. Update returns false to cancel it.
class TExportProgress
{
public:
    virtual ~TExportProgress() = default;
    virtual bool Update(int done, int total) = 0;
};

// Writing a grid's shown columns to a spreadsheet (.xlsx) or an HTML page:
// a header row of captions, then one row per record with each column's
// display text. The rows are read by position, so the data set's cursor never
// moves. The writers raise QmError when the file cannot be written and return
// false (removing the partial file) when cancelled.
namespace GridExport {

enum class Format { Xlsx, Html };

// Every cell, the header included, is a string in the Text number format, so
// "007" stays "007" and long numbers keep every digit.
bool WriteXlsx(const QString &path, const TDataSet &set, const TExportColumns &columns,
    TExportProgress *progress = nullptr);

// UTF-8 with a charset declaration; each tag on its own CR LF line, each cell
// "<td nowrap>" + escaped text + "&nbsp;</td>".
bool WriteHtml(const QString &path, const TDataSet &set, const TExportColumns &columns,
    TExportProgress *progress = nullptr);

QString HtmlEscape(const QString &text);

// The save dialog, replaceable for tests: returns the chosen path or an empty
// text when cancelled. Filters are in Qt's form ("网页文件 (*.htm *.html)").
using SaveFileAsker
    = std::function<QString(QWidget *parent, const QString &filter, const QString &defaultSuffix)>;
// Installs an asker (nullptr restores the dialog) and returns the previous one.
SaveFileAsker SetSaveFileAsker(SaveFileAsker asker);
// The chosen path with defaultSuffix added when it has none.
QString AskSaveFileName(QWidget *parent, const QString &filter, const QString &defaultSuffix);

// Opens a written file with the desktop's program for it; replaceable for tests.
using FileOpener = std::function<bool(const QString &path)>;
FileOpener SetFileOpener(FileOpener opener);
bool OpenFile(const QString &path);

// Whether long exports show a progress dialog (on by default).
void SetProgressShown(bool shown);

// The whole export command: asks for the file, writes it (with a cancellable
// progress dialog for long lists) and then asks openQuestion; on yes opens
// the file. True when the file was written. Failures raise QmError.
bool RunExport(QWidget *parent, Format format, const TDataSet &set, const TExportColumns &columns,
    const QString &openQuestion);

} // namespace GridExport
