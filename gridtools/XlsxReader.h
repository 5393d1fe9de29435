#pragma once

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

// Reads the cells of an .xlsx workbook (an OOXML zip) without a spreadsheet
// program: the sheet list from the workbook and its relationships, the shared
// strings (rich-text runs joined, phonetic runs left out), and per cell its
// value, its kind and the number format of its style, so that callers can tell
// text-formatted cells and dates apart. Open() reads the shared parts; each
// sheet is read when asked for.
class XlsxReader
{
public:
    enum class CellType { Empty, String, Number, Boolean, Error };

    struct Cell
    {
        // The text as stored: strings as they are, numbers in the file's
        // notation ("12.5"), booleans as "TRUE"/"FALSE".
        QString Text;
        CellType Type = CellType::Empty;
        // The style's number format (0 General, 49 Text, 14 a date, ...).
        int NumFmtId = 0;
        // For formats the workbook defines itself (ids from 164).
        QString FormatCode;

        bool IsEmpty() const { return Type == CellType::Empty; }
        bool IsTextFormat() const { return NumFmtId == 49 || FormatCode == QLatin1String("@"); }
        // A number shown as a date or time by its format.
        bool IsDate() const;
    };

    struct Sheet
    {
        QString Name;
        // Rows from the first (row 1 of the sheet) to the last holding a cell;
        // each row as long as its last cell, missing cells empty.
        QVector<QVector<Cell>> Rows;

        int RowCount() const { return static_cast<int>(Rows.size()); }
        int ColumnCount() const;
        // 0-based; an empty cell outside the stored area.
        Cell CellAt(int row, int column) const;
        QString Text(int row, int column) const { return CellAt(row, column).Text; }
    };

    XlsxReader();
    ~XlsxReader();
    XlsxReader(const XlsxReader &) = delete;
    XlsxReader &operator=(const XlsxReader &) = delete;

    // False with ErrorString() when the file is missing or not a workbook.
    bool Open(const QString &path);
    void Close();
    QString ErrorString() const { return m_error; }

    QStringList SheetNames() const;
    int SheetCount() const { return static_cast<int>(m_sheets.size()); }
    // False with ErrorString() when the sheet cannot be read.
    bool ReadSheet(int index, Sheet *sheet);
    // Whether serial dates count from 1904 instead of 1900.
    bool Date1904() const { return m_date1904; }

    // The date and time of a serial number in the workbook's date system.
    static QDateTime SerialToDateTime(double serial, bool date1904 = false);
    // Column "A" is 0, "AA" is 26; -1 for a reference without letters.
    static int ColumnIndex(const QString &cellReference);

private:
    struct SheetEntry
    {
        QString name;
        QString path;
    };
    bool readEntry(const QString &path, QByteArray *data);
    bool readWorkbook();
    void readSharedStrings(const QByteArray &xml);
    void readStyles(const QByteArray &xml);

    void *m_zip = nullptr;
    QString m_error;
    QVector<SheetEntry> m_sheets;
    QStringList m_sharedStrings;
    QVector<int> m_styleFormats;
    QHash<int, QString> m_formatCodes;
    bool m_date1904 = false;
};
