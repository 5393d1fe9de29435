#include "XlsxReader.h"

#include <QFile>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <algorithm>
#include <cmath>
#include <unzip.h>

namespace {

const QString relationshipsNs = QStringLiteral("relationships");

// Excel writes control characters as _xHHHH_ (and a literal "_x" as _x005F_).
QString decodeEscapes(const QString &text)
{
    if (!text.contains(QLatin1String("_x")))
        return text;
    static const QRegularExpression escape(QStringLiteral("_x([0-9A-Fa-f]{4})_"));
    QString out;
    int last = 0;
    auto it = escape.globalMatch(text);
    while (it.hasNext()) {
        const auto m = it.next();
        out += QStringView(text).mid(last, m.capturedStart() - last);
        out += QChar(static_cast<char16_t>(m.captured(1).toUShort(nullptr, 16)));
        last = m.capturedEnd();
    }
    out += QStringView(text).mid(last);
    return out;
}

// The text of an <si> or <is> element the reader stands on: its <t> parts
// joined, phonetic runs (<rPh>) left out. Leaves the reader on the end tag.
QString readRichText(QXmlStreamReader &xml)
{
    QString text;
    int phonetic = 0;
    int depth = 1;
    while (depth > 0 && !xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            if (xml.name() == QLatin1String("rPh")) {
                ++phonetic;
                ++depth;
            } else if (xml.name() == QLatin1String("t")) {
                const QString part = xml.readElementText();
                if (!phonetic)
                    text += part;
            } else {
                ++depth;
            }
        } else if (xml.isEndElement()) {
            if (xml.name() == QLatin1String("rPh"))
                --phonetic;
            --depth;
        }
    }
    return decodeEscapes(text);
}

QString attribute(const QXmlStreamReader &xml, const char *name)
{
    return xml.attributes().value(QLatin1String(name)).toString();
}

// A relationship target relative to the folder of the part that names it.
QString resolveTarget(const QString &baseFolder, const QString &target)
{
    QStringList parts;
    const QString joined
        = target.startsWith(QLatin1Char('/')) ? target.mid(1) : baseFolder + target;
    for (const QString &part : joined.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (part == QLatin1String(".."))
            parts.removeLast();
        else if (part != QLatin1String("."))
            parts << part;
    }
    return parts.join(QLatin1Char('/'));
}

struct Relationship
{
    QString id;
    QString type;
    QString target;
};

QVector<Relationship> readRelationships(const QByteArray &data, const QString &baseFolder)
{
    QVector<Relationship> list;
    QXmlStreamReader xml(data);
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("Relationship"))
            list.append({attribute(xml, "Id"), attribute(xml, "Type"),
                resolveTarget(baseFolder, attribute(xml, "Target"))});
    }
    return list;
}

// The 0-based row of a reference such as "B12"; -1 when it names none.
int rowOfReference(const QString &reference)
{
    int i = 0;
    while (i < reference.size() && reference[i].isLetter())
        ++i;
    bool ok = false;
    const int row = QStringView(reference).mid(i).toInt(&ok);
    return ok && row > 0 ? row - 1 : -1;
}

QString folderOf(const QString &path)
{
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : path.left(slash + 1);
}

bool isDateFormatCode(QString code)
{
    static const QRegularExpression quoted(QStringLiteral("\"[^\"]*\"|\\\\.|\\[[^\\]]*\\]"));
    code.remove(quoted);
    for (const QChar c : code) {
        const QChar l = c.toLower();
        if (l == QLatin1Char('d') || l == QLatin1Char('m') || l == QLatin1Char('y')
            || l == QLatin1Char('h') || l == QLatin1Char('s'))
            return true;
    }
    return false;
}

} // namespace

// ---------------------------------------------------------------- Cell, Sheet

bool XlsxReader::Cell::IsDate() const
{
    if (Type != CellType::Number)
        return false;
    const int id = NumFmtId;
    if ((id >= 14 && id <= 22) || (id >= 27 && id <= 36) || (id >= 45 && id <= 47)
        || (id >= 50 && id <= 58))
        return true;
    return !FormatCode.isEmpty() && isDateFormatCode(FormatCode);
}

int XlsxReader::Sheet::ColumnCount() const
{
    int count = 0;
    for (const auto &row : Rows)
        count = std::max(count, static_cast<int>(row.size()));
    return count;
}

XlsxReader::Cell XlsxReader::Sheet::CellAt(int row, int column) const
{
    if (row < 0 || row >= Rows.size() || column < 0 || column >= Rows[row].size())
        return Cell();
    return Rows[row][column];
}

// ---------------------------------------------------------------- XlsxReader

XlsxReader::XlsxReader() = default;

XlsxReader::~XlsxReader()
{
    Close();
}

void XlsxReader::Close()
{
    if (m_zip)
        unzClose(static_cast<unzFile>(m_zip));
    m_zip = nullptr;
    m_sheets.clear();
    m_sharedStrings.clear();
    m_styleFormats.clear();
    m_formatCodes.clear();
    m_date1904 = false;
}

bool XlsxReader::Open(const QString &path)
{
    Close();
    m_error.clear();
    if (!QFile::exists(path)) {
        m_error = QStringLiteral("文件不存在: %1").arg(path);
        return false;
    }
    m_zip = unzOpen64(QFile::encodeName(path).constData());
    if (!m_zip) {
        m_error = QStringLiteral("不是有效的Excel(xlsx)文件: %1").arg(path);
        return false;
    }
    if (!readWorkbook()) {
        Close();
        return false;
    }
    return true;
}

bool XlsxReader::readEntry(const QString &path, QByteArray *data)
{
    auto zip = static_cast<unzFile>(m_zip);
    data->clear();
    // Part names in the package are case-insensitive.
    if (!zip || unzLocateFile(zip, path.toUtf8().constData(), 2) != UNZ_OK)
        return false;
    if (unzOpenCurrentFile(zip) != UNZ_OK)
        return false;
    char buffer[65536];
    int read = 0;
    while ((read = unzReadCurrentFile(zip, buffer, sizeof buffer)) > 0)
        data->append(buffer, read);
    const bool ok = read == 0 && unzCloseCurrentFile(zip) == UNZ_OK;
    if (read < 0)
        unzCloseCurrentFile(zip);
    return ok;
}

bool XlsxReader::readWorkbook()
{
    QByteArray data;
    QString workbookPath = QStringLiteral("xl/workbook.xml");
    if (readEntry(QStringLiteral("_rels/.rels"), &data)) {
        for (const Relationship &r : readRelationships(data, QString()))
            if (r.type.endsWith(QLatin1String("/officeDocument")))
                workbookPath = r.target;
    }
    QByteArray workbook;
    if (!readEntry(workbookPath, &workbook)) {
        m_error = QStringLiteral("不是有效的Excel(xlsx)文件: 缺少 %1").arg(workbookPath);
        return false;
    }
    const QString base = folderOf(workbookPath);
    const QString relsPath
        = base + QStringLiteral("_rels/") + workbookPath.mid(base.size()) + QStringLiteral(".rels");
    QVector<Relationship> rels;
    if (readEntry(relsPath, &data))
        rels = readRelationships(data, base);

    QString sharedPath = base + QStringLiteral("sharedStrings.xml");
    QString stylesPath = base + QStringLiteral("styles.xml");
    for (const Relationship &r : rels) {
        if (r.type.endsWith(QLatin1String("/sharedStrings")))
            sharedPath = r.target;
        else if (r.type.endsWith(QLatin1String("/styles")))
            stylesPath = r.target;
    }

    QXmlStreamReader xml(workbook);
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("workbookPr")) {
            const QString v = attribute(xml, "date1904");
            m_date1904 = v == QLatin1String("1")
                || v.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0;
        } else if (xml.name() == QLatin1String("sheet")) {
            QString id;
            for (const auto &a : xml.attributes())
                if (a.name() == QLatin1String("id") && a.namespaceUri().contains(relationshipsNs))
                    id = a.value().toString();
            QString path;
            for (const Relationship &r : rels)
                if (r.id == id)
                    path = r.target;
            if (path.isEmpty())
                path = base + QStringLiteral("worksheets/sheet%1.xml").arg(m_sheets.size() + 1);
            m_sheets.append({attribute(xml, "name"), path});
        }
    }
    if (xml.hasError()) {
        m_error = QStringLiteral("工作簿无法读取: %1").arg(xml.errorString());
        return false;
    }
    if (readEntry(sharedPath, &data))
        readSharedStrings(data);
    if (readEntry(stylesPath, &data))
        readStyles(data);
    return true;
}

void XlsxReader::readSharedStrings(const QByteArray &data)
{
    QXmlStreamReader xml(data);
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("si"))
            m_sharedStrings << readRichText(xml);
    }
}

void XlsxReader::readStyles(const QByteArray &data)
{
    QXmlStreamReader xml(data);
    bool inCellXfs = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            if (xml.name() == QLatin1String("numFmt"))
                m_formatCodes.insert(
                    attribute(xml, "numFmtId").toInt(), attribute(xml, "formatCode"));
            else if (xml.name() == QLatin1String("cellXfs"))
                inCellXfs = true;
            else if (inCellXfs && xml.name() == QLatin1String("xf"))
                m_styleFormats << attribute(xml, "numFmtId").toInt();
        } else if (xml.isEndElement() && xml.name() == QLatin1String("cellXfs")) {
            inCellXfs = false;
        }
    }
}

QStringList XlsxReader::SheetNames() const
{
    QStringList names;
    for (const SheetEntry &s : m_sheets)
        names << s.name;
    return names;
}

int XlsxReader::ColumnIndex(const QString &reference)
{
    int column = 0;
    int letters = 0;
    for (const QChar c : reference) {
        const char16_t u = c.toUpper().unicode();
        if (u < 'A' || u > 'Z')
            break;
        column = column * 26 + (u - 'A' + 1);
        ++letters;
    }
    return letters ? column - 1 : -1;
}

bool XlsxReader::ReadSheet(int index, Sheet *sheet)
{
    m_error.clear();
    *sheet = Sheet();
    if (index < 0 || index >= m_sheets.size()) {
        m_error = QStringLiteral("工作表不存在: %1").arg(index);
        return false;
    }
    sheet->Name = m_sheets[index].name;
    QByteArray data;
    if (!readEntry(m_sheets[index].path, &data)) {
        m_error = QStringLiteral("工作表无法读取: %1").arg(m_sheets[index].path);
        return false;
    }

    QXmlStreamReader xml(data);
    int rowIndex = -1;
    int nextColumn = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("row")) {
            const int r = attribute(xml, "r").toInt();
            rowIndex = r > 0 ? r - 1 : rowIndex + 1;
            nextColumn = 0;
            continue;
        }
        if (xml.name() != QLatin1String("c"))
            continue;
        if (rowIndex < 0)
            rowIndex = 0;
        const QString reference = attribute(xml, "r");
        int column = ColumnIndex(reference);
        if (column < 0)
            column = nextColumn;
        nextColumn = column + 1;
        const int referencedRow = rowOfReference(reference);
        if (referencedRow >= 0)
            rowIndex = referencedRow;
        const QString type = attribute(xml, "t");
        const QString style = attribute(xml, "s");

        Cell cell;
        if (!style.isEmpty()) {
            const int s = style.toInt();
            if (s >= 0 && s < m_styleFormats.size()) {
                cell.NumFmtId = m_styleFormats[s];
                cell.FormatCode = m_formatCodes.value(cell.NumFmtId);
            }
        }
        QString value;
        bool hasValue = false;
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isEndElement() && xml.name() == QLatin1String("c"))
                break;
            if (!xml.isStartElement())
                continue;
            if (xml.name() == QLatin1String("v")) {
                value = xml.readElementText();
                hasValue = true;
            } else if (xml.name() == QLatin1String("is")) {
                value = readRichText(xml);
                hasValue = true;
            } else {
                xml.skipCurrentElement();
            }
        }
        if (hasValue) {
            if (type == QLatin1String("s")) {
                cell.Type = CellType::String;
                cell.Text = m_sharedStrings.value(value.toInt());
            } else if (type == QLatin1String("inlineStr") || type == QLatin1String("str")
                || type == QLatin1String("d")) {
                cell.Type = CellType::String;
                cell.Text = type == QLatin1String("inlineStr") ? value : decodeEscapes(value);
            } else if (type == QLatin1String("b")) {
                cell.Type = CellType::Boolean;
                cell.Text = value.trimmed() == QLatin1String("1") ? QStringLiteral("TRUE")
                                                                  : QStringLiteral("FALSE");
            } else if (type == QLatin1String("e")) {
                cell.Type = CellType::Error;
                cell.Text = value;
            } else {
                cell.Type = CellType::Number;
                cell.Text = value.trimmed();
            }
        }
        if (rowIndex >= sheet->Rows.size())
            sheet->Rows.resize(rowIndex + 1);
        auto &row = sheet->Rows[rowIndex];
        if (column >= row.size())
            row.resize(column + 1);
        row[column] = cell;
    }
    if (xml.hasError()) {
        m_error = QStringLiteral("工作表无法读取: %1").arg(xml.errorString());
        return false;
    }
    return true;
}

QDateTime XlsxReader::SerialToDateTime(double serial, bool date1904)
{
    // The 1900 system counts 1900-02-29, which never was; from 1900-03-01 on
    // counting from 1899-12-30 gives the right day.
    QDate base = date1904 ? QDate(1904, 1, 1) : QDate(1899, 12, 30);
    if (!date1904 && serial < 61)
        base = QDate(1899, 12, 31);
    const auto days = static_cast<qint64>(std::floor(serial));
    const qint64 ms = std::llround((serial - static_cast<double>(days)) * 86400000.0);
    return QDateTime(base.addDays(days), QTime(0, 0)).addMSecs(ms);
}
