#include "ReportExport.h"

#include "Error.h"
#include "ReportRenderer.h"
#include "a.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentWriter>
#include <QTextTable>
#include <QUrl>
#include <algorithm>
#include <xlsxwriter.h>

namespace ReportExport {

namespace {

PrintDialogRunner printDialogRunner;

QPageLayout layoutFor(const ReportRenderer &report)
{
    const QSizeF mm = report.pageSize();
    const QSizeF portrait(qMin(mm.width(), mm.height()), qMax(mm.width(), mm.height()));
    const QPageSize size(portrait, QPageSize::Millimeter, QString(), QPageSize::FuzzyMatch);
    return QPageLayout(size,
        mm.width() > mm.height() ? QPageLayout::Landscape : QPageLayout::Portrait,
        QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

// The text objects of a band sorted left to right.
QVector<int> textColumns(const ReportBand &band)
{
    QVector<int> columns;
    for (int i = 0; i < band.objects.size(); ++i)
        if (band.objects[i].type == ObjectType::Text)
            columns << i;
    std::stable_sort(columns.begin(), columns.end(),
        [&](int a, int b) { return band.objects[a].x < band.objects[b].x; });
    return columns;
}

double overlap(const ReportObject &a, const ReportObject &b)
{
    return qMin(a.x + a.w, b.x + b.w) - qMax(a.x, b.x);
}

} // namespace

QString FileFilter(Format format)
{
    switch (format) {
    case Format::Pdf:
        return QStringLiteral("PDF 文件 (*.pdf)");
    case Format::Png:
        return QStringLiteral("PNG 图片 (*.png)");
    case Format::Jpeg:
        return QStringLiteral("JPEG 图片 (*.jpg *.jpeg)");
    case Format::Xlsx:
        return QStringLiteral("Excel 工作簿 (*.xlsx)");
    case Format::Odt:
        return QStringLiteral("OpenDocument 文本 (*.odt)");
    }
    return QString();
}

QString DefaultSuffix(Format format)
{
    switch (format) {
    case Format::Pdf:
        return QStringLiteral("pdf");
    case Format::Png:
        return QStringLiteral("png");
    case Format::Jpeg:
        return QStringLiteral("jpg");
    case Format::Xlsx:
        return QStringLiteral("xlsx");
    case Format::Odt:
        return QStringLiteral("odt");
    }
    return QString();
}

bool WritePdf(const ReportRenderer &report, const QString &path, QString *error)
{
    constexpr int Resolution = 600;
    {
        QPdfWriter writer(path);
        writer.setResolution(Resolution);
        writer.setPageLayout(layoutFor(report));
        writer.setTitle(report.report().name);
        writer.setCreator(QStringLiteral("qmrs26"));
        QPainter painter;
        if (!painter.begin(&writer)) {
            *error = QStringLiteral("无法写入文件 %1.").arg(path);
            return false;
        }
        for (int i = 0; i < report.pageCount(); ++i) {
            if (i > 0)
                writer.newPage();
            report.paintPage(painter, i, Resolution / 25.4);
        }
        painter.end();
    }
    if (QFileInfo(path).size() == 0) {
        QFile::remove(path);
        *error = QStringLiteral("无法写入文件 %1.").arg(path);
        return false;
    }
    return true;
}

bool WriteImages(const ReportRenderer &report, const QString &path, Format format, int dpi,
    QStringList *written, QString *error)
{
    const QFileInfo info(path);
    const QString suffix = info.suffix().isEmpty() ? DefaultSuffix(format) : info.suffix();
    const QString base = info.path() + QLatin1Char('/') + info.completeBaseName();
    written->clear();
    for (int i = 0; i < report.pageCount(); ++i) {
        const QString file = report.pageCount() == 1
            ? path
            : QStringLiteral("%1-%2.%3").arg(base).arg(i + 1).arg(suffix);
        const QImage image = report.pageImage(i, dpi);
        if (!image.save(
                file, format == Format::Jpeg ? "JPG" : "PNG", format == Format::Jpeg ? 90 : -1)) {
            for (const QString &done : *written)
                QFile::remove(done);
            written->clear();
            *error = QStringLiteral("无法写入文件 %1.").arg(file);
            return false;
        }
        written->append(file);
    }
    return true;
}

QList<QStringList> MasterTable(const ReportRenderer &report)
{
    QList<QStringList> table;
    const ReportTemplate &t = report.report();
    const int master = t.firstBandOf(BandType::Master);
    if (master < 0)
        return table;
    const ReportBand &band = t.bands[master];
    const QVector<int> columns = textColumns(band);

    const ReportBandInstance *headerInstance = nullptr;
    for (const ReportBandInstance &instance : report.flow()) {
        if (t.bands[instance.band].type == BandType::ColumnHeader) {
            headerInstance = &instance;
            break;
        }
    }
    QStringList captions;
    for (int column : columns) {
        const ReportObject &object = band.objects[column];
        QString caption;
        if (headerInstance) {
            const ReportBand &header = t.bands[headerInstance->band];
            double best = 0;
            for (int h : textColumns(header)) {
                const double shared = overlap(header.objects[h], object);
                if (shared > best + 0.001) {
                    best = shared;
                    caption = report.objectText(*headerInstance, h, 0).simplified();
                }
            }
        }
        if (caption.isEmpty())
            caption = report.fieldCaption(master, column);
        captions << caption;
    }
    table << captions;
    for (const ReportBandInstance &instance : report.flow()) {
        if (instance.band != master)
            continue;
        QStringList row;
        for (int column : columns)
            row << report.objectText(instance, column, 0);
        table << row;
    }
    return table;
}

bool WriteXlsx(const ReportRenderer &report, const QString &path, QString *error)
{
    const QList<QStringList> table = MasterTable(report);
    lxw_workbook *workbook = workbook_new(QFile::encodeName(path).constData());
    if (!workbook) {
        *error = QStringLiteral("无法写入文件 %1.").arg(path);
        return false;
    }
    lxw_worksheet *sheet = workbook_add_worksheet(workbook, nullptr);
    lxw_format *text = workbook_add_format(workbook);
    format_set_num_format_index(text, 49);
    lxw_format *header = workbook_add_format(workbook);
    format_set_num_format_index(header, 49);
    format_set_bold(header);

    const int master = report.report().firstBandOf(BandType::Master);
    if (master >= 0) {
        const ReportBand &band = report.report().bands[master];
        const QVector<int> columns = textColumns(band);
        for (int c = 0; c < columns.size(); ++c)
            worksheet_set_column(sheet, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c),
                qMax(6.0, band.objects[columns[c]].w / 2.0), nullptr);
    }
    for (int r = 0; r < table.size(); ++r) {
        const QStringList &row = table[r];
        for (int c = 0; c < row.size(); ++c)
            worksheet_write_string(sheet, static_cast<lxw_row_t>(r), static_cast<lxw_col_t>(c),
                row[c].toUtf8().constData(), r == 0 ? header : text);
    }
    const lxw_error result = workbook_close(workbook);
    if (result != LXW_NO_ERROR) {
        QFile::remove(path);
        *error = QStringLiteral("无法写入文件 %1: %2")
                     .arg(path, QString::fromUtf8(lxw_strerror(result)));
        return false;
    }
    return true;
}

namespace {

// Builds the word-processor document band by band: objects that share a
// line become the cells of a table row, and consecutive rows with the same
// columns continue one table, so a list reads as one table.
class OdtBuilder
{
public:
    OdtBuilder(const ReportRenderer &report, QTextDocument &doc)
        : m_report(report)
        , m_doc(doc)
        , m_cursor(&doc)
    {
        QFont font(report.report().fontFamily);
        font.setPointSizeF(report.report().fontSize);
        doc.setDefaultFont(font);
    }

    void add(const ReportBandInstance &instance)
    {
        const ReportBand &band = m_report.report().bands[instance.band];
        QVector<int> objects;
        for (int i = 0; i < band.objects.size(); ++i) {
            const ObjectType type = band.objects[i].type;
            if (type == ObjectType::Text || type == ObjectType::Image)
                objects << i;
        }
        std::stable_sort(objects.begin(), objects.end(),
            [&](int a, int b) { return band.objects[a].y < band.objects[b].y; });
        int i = 0;
        while (i < objects.size()) {
            QVector<int> line{objects[i]};
            double bottom = band.objects[objects[i]].y + band.objects[objects[i]].h;
            int j = i + 1;
            while (j < objects.size() && band.objects[objects[j]].y < bottom - 0.5) {
                bottom = qMax(bottom, band.objects[objects[j]].y + band.objects[objects[j]].h);
                line << objects[j++];
            }
            std::stable_sort(line.begin(), line.end(),
                [&](int a, int b) { return band.objects[a].x < band.objects[b].x; });
            addLine(instance, band, line);
            i = j;
        }
    }

private:
    void addLine(
        const ReportBandInstance &instance, const ReportBand &band, const QVector<int> &line)
    {
        if (line.size() == 1) {
            const ReportObject &o = band.objects[line.first()];
            const QString text = o.type == ObjectType::Text
                ? m_report.objectText(instance, line.first(), 0)
                : QString();
            const QImage image = m_report.objectImage(instance, line.first());
            if (text.trimmed().isEmpty() && image.isNull())
                return;
            m_table = nullptr;
            m_cursor.movePosition(QTextCursor::End);
            if (!m_doc.isEmpty())
                m_cursor.insertBlock();
            QTextBlockFormat block;
            block.setAlignment(alignment(o));
            m_cursor.setBlockFormat(block);
            insertContent(m_cursor, instance, line.first());
            return;
        }

        QString key;
        bool framed = false;
        for (int index : line) {
            key += QString::number(qRound(band.objects[index].x)) + QLatin1Char(',');
            framed = framed || !band.objects[index].frame.isEmpty();
        }
        if (!m_table || key != m_tableKey) {
            m_cursor.movePosition(QTextCursor::End);
            QTextTableFormat format;
            format.setBorder(framed ? 0.5 : 0);
            format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
            format.setBorderCollapse(true);
            format.setCellPadding(2);
            format.setCellSpacing(0);
            format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
            QVector<QTextLength> widths;
            const double total = m_report.report().page.printableWidth();
            for (int index : line)
                widths << QTextLength(
                    QTextLength::PercentageLength, 100.0 * band.objects[index].w / total);
            format.setColumnWidthConstraints(widths);
            m_table = m_cursor.insertTable(1, static_cast<int>(line.size()), format);
            m_tableKey = key;
        } else {
            m_table->appendRows(1);
        }
        const int row = m_table->rows() - 1;
        for (int c = 0; c < line.size(); ++c) {
            QTextCursor cell = m_table->cellAt(row, c).firstCursorPosition();
            QTextBlockFormat block;
            block.setAlignment(alignment(band.objects[line[c]]));
            cell.setBlockFormat(block);
            insertContent(cell, instance, line[c]);
        }
        m_cursor.movePosition(QTextCursor::End);
    }

    void insertContent(QTextCursor &cursor, const ReportBandInstance &instance, int index)
    {
        const ReportObject &o = m_report.report().bands[instance.band].objects[index];
        if (o.type == ObjectType::Image) {
            const QImage image = m_report.objectImage(instance, index);
            if (image.isNull())
                return;
            const QUrl name(QStringLiteral("image%1.png").arg(++m_images));
            m_doc.addResource(QTextDocument::ImageResource, name, image);
            QTextImageFormat format;
            format.setName(name.toString());
            QSizeF size = image.size();
            size.scale(QSizeF(o.w, o.h) / 25.4 * 96, Qt::KeepAspectRatio);
            format.setWidth(size.width());
            format.setHeight(size.height());
            cursor.insertImage(format);
            return;
        }
        QTextCharFormat format;
        const double points = o.font.size > 0 ? o.font.size : m_report.report().fontSize;
        format.setFontPointSize(points);
        if (o.font.bold)
            format.setFontWeight(QFont::Bold);
        format.setFontItalic(o.font.italic);
        format.setFontUnderline(o.font.underline);
        if (o.color != Qt::black)
            format.setForeground(o.color);
        cursor.insertText(m_report.objectText(instance, index, 0), format);
    }

    static Qt::Alignment alignment(const ReportObject &o)
    {
        return o.align == HAlign::Center ? Qt::AlignHCenter
            : o.align == HAlign::Right   ? Qt::AlignRight
                                         : Qt::AlignLeft;
    }

    const ReportRenderer &m_report;
    QTextDocument &m_doc;
    QTextCursor m_cursor;
    QTextTable *m_table = nullptr;
    QString m_tableKey;
    int m_images = 0;
};

} // namespace

bool WriteOdt(const ReportRenderer &report, const QString &path, QString *error)
{
    QTextDocument doc;
    OdtBuilder builder(report, doc);
    for (const ReportBandInstance &instance : report.flow())
        builder.add(instance);
    QTextDocumentWriter writer(path, "odf");
    if (!writer.write(&doc)) {
        QFile::remove(path);
        *error = QStringLiteral("无法写入文件 %1.").arg(path);
        return false;
    }
    return true;
}

PrintDialogRunner SetPrintDialogRunner(PrintDialogRunner runner)
{
    PrintDialogRunner previous = printDialogRunner;
    printDialogRunner = std::move(runner);
    return previous;
}

bool PrintTo(const ReportRenderer &report, QPrinter &printer, QString *error)
{
    printer.setFullPage(true);
    QPainter painter;
    if (!painter.begin(&printer)) {
        *error = QStringLiteral("无法开始打印.");
        return false;
    }
    int first = 1, last = report.pageCount();
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        first = qMax(1, printer.fromPage());
        last = qMin(last, printer.toPage() > 0 ? printer.toPage() : last);
    }
    const double dotsPerMm = printer.resolution() / 25.4;
    for (int page = first; page <= last; ++page) {
        if (page > first)
            printer.newPage();
        report.paintPage(painter, page - 1, dotsPerMm);
    }
    painter.end();
    return true;
}

bool Print(const ReportRenderer &report, QWidget *parent)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(layoutFor(report));
    printer.setDocName(report.report().name);
    printer.setFromTo(1, report.pageCount());
    bool accepted;
    if (printDialogRunner) {
        accepted = printDialogRunner(printer, parent);
    } else {
        QPrintDialog dialog(&printer, parent);
        dialog.setMinMax(1, report.pageCount());
        accepted = RunModal(dialog) == QDialog::Accepted;
    }
    if (!accepted)
        return false;
    QString error;
    if (!PrintTo(report, printer, &error))
        throw QmError(error);
    return true;
}

} // namespace ReportExport
