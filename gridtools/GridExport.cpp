#include "GridExport.h"

#include "DataSet.h"
#include "Error.h"
#include "Utils.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QProgressDialog>
#include <QSaveFile>
#include <QUrl>
#include <algorithm>
#include <memory>
#include <xlsxwriter.h>

namespace {

GridExport::SaveFileAsker &saveFileAsker()
{
    static GridExport::SaveFileAsker asker;
    return asker;
}

GridExport::FileOpener &fileOpener()
{
    static GridExport::FileOpener opener;
    return opener;
}

bool &progressShown()
{
    static bool shown = true;
    return shown;
}

// Lists shorter than this finish before a dialog would be worth showing.
constexpr int progressThreshold = 2000;
constexpr int progressStep = 500;

// The set's field index of each column; -1 for a name the set lacks, which
// then exports as empty cells.
QVector<int> fieldIndexes(const TDataSet &set, const TExportColumns &columns)
{
    QVector<int> indexes;
    for (const TExportColumn &c : columns) {
        const TField *f = set.FindField(c.FieldName);
        indexes << (f ? f->Index() : -1);
    }
    return indexes;
}

QString cellText(const TDataSet &set, int row, int field)
{
    return field < 0 ? QString() : set.DisplayTextAt(row, field);
}

bool reportProgress(TExportProgress *progress, int done, int total)
{
    return !progress || progress->Update(done, total);
}

// A cell holds at most 32767 characters; a longer text is cut there rather
// than leaving the cell empty.
QByteArray sheetText(QString text)
{
    constexpr int maxChars = 32767;
    if (text.size() > maxChars) {
        text.truncate(maxChars);
        if (text.back().isHighSurrogate())
            text.chop(1);
    }
    return text.toUtf8();
}

QString xlsxError(lxw_error error, const QString &path)
{
    return QStringLiteral("导出文件写入失败: %1\r\n%2")
        .arg(QString::fromUtf8(lxw_strerror(error)), path);
}

class DialogProgress : public TExportProgress
{
public:
    DialogProgress(QWidget *parent, int total)
        : m_dialog(QStringLiteral("正在导出..."), QStringLiteral("取消"), 0, total, parent)
    {
        m_dialog.setWindowTitle(QStringLiteral("导出"));
        m_dialog.setWindowModality(Qt::WindowModal);
        m_dialog.setMinimumDuration(400);
        m_dialog.setAutoClose(false);
        m_dialog.setAutoReset(false);
    }
    bool Update(int done, int) override
    {
        m_dialog.setValue(done);
        return !m_dialog.wasCanceled();
    }

private:
    QProgressDialog m_dialog;
};

} // namespace

namespace GridExport {

bool WriteXlsx(const QString &path, const TDataSet &set, const TExportColumns &columns,
    TExportProgress *progress)
{
    const int rows = set.Active() ? set.RecordCount() : 0;
    if (rows + 1 > LXW_ROW_MAX || columns.size() > LXW_COL_MAX)
        throw QmError(QStringLiteral("记录或列太多, 超出了Excel工作表的容量(%1 行, %2 列).")
                          .arg(LXW_ROW_MAX)
                          .arg(LXW_COL_MAX));
    // The workbook is only assembled at the end; a folder that cannot take
    // the file should fail before all the rows were written.
    const QFileInfo folder(QFileInfo(path).absolutePath());
    if (!folder.isDir() || !folder.isWritable())
        throw QmError(xlsxError(LXW_ERROR_CREATING_XLSX_FILE, path));
    const QByteArray fileName = QFile::encodeName(path);
    const QByteArray tempDir = QFile::encodeName(QDir::tempPath());
    // Rows go straight to a temporary file instead of staying in memory, so
    // 100,000 rows of 20 columns take no more memory than ten.
    lxw_workbook_options options = {};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = const_cast<char *>(tempDir.constData());
    lxw_workbook *workbook = workbook_new_opt(fileName.constData(), &options);
    if (!workbook)
        throw QmError(xlsxError(LXW_ERROR_MEMORY_MALLOC_FAILED, path));
    lxw_worksheet *sheet = workbook_add_worksheet(workbook, nullptr);
    lxw_format *text = workbook_add_format(workbook);
    format_set_num_format_index(text, 49);
    lxw_format *header = workbook_add_format(workbook);
    format_set_num_format_index(header, 49);
    format_set_bold(header);

    lxw_error failure = LXW_NO_ERROR;
    auto check = [&failure](lxw_error e) {
        if (e != LXW_NO_ERROR && failure == LXW_NO_ERROR)
            failure = e;
    };
    const auto columnCount = static_cast<lxw_col_t>(columns.size());
    for (lxw_col_t c = 0; c < columnCount; ++c) {
        const int px = columns[static_cast<int>(c)].Width;
        const double chars = px > 0 ? std::clamp(px / 7.0, 4.0, 100.0) : LXW_DEF_COL_WIDTH;
        check(worksheet_set_column(sheet, c, c, chars, text));
        check(worksheet_write_string(
            sheet, 0, c, sheetText(columns[static_cast<int>(c)].Caption).constData(), header));
    }

    const QVector<int> fields = fieldIndexes(set, columns);
    bool cancelled = false;
    for (int r = 0; r < rows && failure == LXW_NO_ERROR; ++r) {
        if (r % progressStep == 0 && !reportProgress(progress, r, rows)) {
            cancelled = true;
            break;
        }
        for (lxw_col_t c = 0; c < columnCount; ++c)
            check(worksheet_write_string(sheet, static_cast<lxw_row_t>(r + 1), c,
                sheetText(cellText(set, r, fields[static_cast<int>(c)])).constData(), text));
    }
    check(workbook_close(workbook));
    if (cancelled || failure != LXW_NO_ERROR)
        QFile::remove(path);
    if (failure != LXW_NO_ERROR)
        throw QmError(xlsxError(failure, path));
    if (cancelled)
        return false;
    reportProgress(progress, rows, rows);
    return true;
}

QString HtmlEscape(const QString &text)
{
    QString out;
    out.reserve(text.size() + text.size() / 8);
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '&':
            out += QLatin1String("&amp;");
            break;
        case '<':
            out += QLatin1String("&lt;");
            break;
        case '>':
            out += QLatin1String("&gt;");
            break;
        case '"':
            out += QLatin1String("&quot;");
            break;
        case '\'':
            out += QLatin1String("&#39;");
            break;
        default:
            out += c;
        }
    }
    return out;
}

bool WriteHtml(const QString &path, const TDataSet &set, const TExportColumns &columns,
    TExportProgress *progress)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw QmError(QStringLiteral("导出文件写入失败: %1\r\n%2").arg(file.errorString(), path));
    QByteArray chunk;
    auto line = [&chunk](const QString &text) {
        chunk += text.toUtf8();
        chunk += "\r\n";
    };
    auto flush = [&] {
        if (file.write(chunk) != chunk.size())
            throw QmError(
                QStringLiteral("导出文件写入失败: %1\r\n%2").arg(file.errorString(), path));
        chunk.clear();
    };
    auto cell = [&](const QString &text) {
        line(QLatin1String("<td nowrap>") + HtmlEscape(text) + QLatin1String("&nbsp;</td>"));
    };

    for (const char *tag : {"<html>", "<head>", "<meta charset=\"utf-8\">", "<title></title>",
             "</head>", "<body>", "<table>", "<tr>"})
        line(QLatin1String(tag));
    for (const TExportColumn &c : columns)
        cell(c.Caption);
    line(QStringLiteral("</tr>"));

    const QVector<int> fields = fieldIndexes(set, columns);
    const int rows = set.Active() ? set.RecordCount() : 0;
    for (int r = 0; r < rows; ++r) {
        if (r % progressStep == 0) {
            if (!reportProgress(progress, r, rows)) {
                file.cancelWriting();
                return false;
            }
            flush();
        }
        line(QStringLiteral("<tr>"));
        for (int field : fields)
            cell(cellText(set, r, field));
        line(QStringLiteral("</tr>"));
    }
    for (const char *tag : {"</table>", "</body>", "</html>"})
        line(QLatin1String(tag));
    flush();
    if (!file.commit())
        throw QmError(QStringLiteral("导出文件写入失败: %1\r\n%2").arg(file.errorString(), path));
    reportProgress(progress, rows, rows);
    return true;
}

SaveFileAsker SetSaveFileAsker(SaveFileAsker asker)
{
    SaveFileAsker previous = saveFileAsker();
    saveFileAsker() = std::move(asker);
    return previous;
}

QString AskSaveFileName(QWidget *parent, const QString &filter, const QString &defaultSuffix)
{
    QString path;
    if (saveFileAsker()) {
        path = saveFileAsker()(parent, filter, defaultSuffix);
    } else {
        QFileDialog dialog(parent);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setNameFilter(filter);
        dialog.setDefaultSuffix(defaultSuffix);
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
            path = dialog.selectedFiles().first();
    }
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty())
        path += QLatin1Char('.') + defaultSuffix;
    return path;
}

FileOpener SetFileOpener(FileOpener opener)
{
    FileOpener previous = fileOpener();
    fileOpener() = std::move(opener);
    return previous;
}

bool OpenFile(const QString &path)
{
    if (fileOpener())
        return fileOpener()(path);
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void SetProgressShown(bool shown)
{
    progressShown() = shown;
}

bool RunExport(QWidget *parent, Format format, const TDataSet &set, const TExportColumns &columns,
    const QString &openQuestion)
{
    const bool xlsx = format == Format::Xlsx;
    const QString path = xlsx
        ? AskSaveFileName(parent, QStringLiteral("Excel 文件 (*.xlsx)"), QStringLiteral("xlsx"))
        : AskSaveFileName(
            parent, QStringLiteral("网页文件 (*.htm *.html)"), QStringLiteral("html"));
    if (path.isEmpty())
        return false;

    const int rows = set.Active() ? set.RecordCount() : 0;
    std::unique_ptr<DialogProgress> progress;
    if (progressShown() && rows >= progressThreshold)
        progress = std::make_unique<DialogProgress>(parent, rows);
    const bool written = xlsx ? WriteXlsx(path, set, columns, progress.get())
                              : WriteHtml(path, set, columns, progress.get());
    progress.reset();
    if (!written)
        return false;

    const bool open = xlsx
        ? AskYesNo(openQuestion)
        : prompter().message(MessageKind::Confirmation, messageCaption(MessageKind::Confirmation),
              openQuestion, MessageButton::Ok | MessageButton::Cancel, MessageButton::Ok)
            == MessageButton::Ok;
    if (open)
        OpenFile(path);
    return true;
}

} // namespace GridExport
