#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QPrinter;
class QWidget;
class ReportRenderer;

// Writing a prepared report out: PDF pages, one picture file per page, the
// master rows as a spreadsheet table, a word-processor document, or the
// printer. Writers return false with *error set when a file cannot be
// written; a partial file is removed.
namespace ReportExport {

enum class Format { Pdf, Png, Jpeg, Xlsx, Odt };

// The file filter and default suffix of a format, for the save dialog.
QString FileFilter(Format format);
QString DefaultSuffix(Format format);

// PDF with the template's paper size; text stays text.
bool WritePdf(const ReportRenderer &report, const QString &path, QString *error);

// One picture per page at dpi: a one-page report goes to path itself, longer
// ones to "name-1.png", "name-2.png", ... beside it. *written lists the files.
bool WriteImages(const ReportRenderer &report, const QString &path, Format format, int dpi,
    QStringList *written, QString *error);

// The master rows as a table: a header row with the captions of the master
// band's columns (the column header's text above each, else the field's
// caption), then one row per master row with each text as printed. Every cell
// is text in the Text number format, so codes keep their leading zeros.
bool WriteXlsx(const ReportRenderer &report, const QString &path, QString *error);
// The columns WriteXlsx writes: captions, then the rows.
QList<QStringList> MasterTable(const ReportRenderer &report);

// An OpenDocument text of the report's flow: bands laid out side by side
// become table rows, single texts paragraphs; page headers and footers are
// left to the word processor.
bool WriteOdt(const ReportRenderer &report, const QString &path, QString *error);

// Asks for a printer with the print dialog and prints the chosen pages.
// False when the dialog was cancelled.
bool Print(const ReportRenderer &report, QWidget *parent);
// Prints every page (or fromPage..toPage, 1-based, when given) on printer.
bool PrintTo(const ReportRenderer &report, QPrinter &printer, QString *error);

// The print dialog, replaceable for tests: true with the printer set up, or
// false when cancelled. nullptr restores QPrintDialog.
using PrintDialogRunner = std::function<bool(QPrinter &printer, QWidget *parent)>;
PrintDialogRunner SetPrintDialogRunner(PrintDialogRunner runner);

} // namespace ReportExport
