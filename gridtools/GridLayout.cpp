#include "GridLayout.h"

#include "Database.h"
#include "Error.h"
#include "RecordSet.h"

#include <QRegularExpression>
#include <QStringList>

namespace {

QStringList layoutLines(const QString &text)
{
    static const QRegularExpression breaks(QStringLiteral("\r\n|\r|\n"));
    return text.split(breaks, Qt::SkipEmptyParts);
}

QString lineName(const QString &line)
{
    const int eq = line.indexOf(QLatin1Char('='));
    return eq < 0 ? QString() : line.left(eq);
}

TRecordSet &sharedSet()
{
    if (!SharedRecordSet)
        throw QmError(QStringLiteral("没有数据库连接"));
    return *SharedRecordSet;
}

} // namespace

namespace GridLayout {

QString LayoutText(const TGridColumnStates &columns)
{
    QStringList lines;
    lines.reserve(columns.size());
    for (const TGridColumnState &c : columns)
        lines << c.FieldName + QLatin1Char('=')
                + (c.Visible ? QStringLiteral("True") : QStringLiteral("False"))
                + QString::number(c.Width);
    return lines.join(QStringLiteral("\r\n"));
}

QString LayoutValue(const QString &text, const QString &name)
{
    for (const QString &line : layoutLines(text)) {
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq >= 0 && line.left(eq).compare(name, Qt::CaseInsensitive) == 0)
            return line.mid(eq + 1);
    }
    return QString();
}

bool ApplyLayout(TGridColumnStates &columns, const QString &text)
{
    if (text.isEmpty())
        return true;
    for (TGridColumnState &c : columns) {
        QString value = LayoutValue(text, c.FieldName);
        if (value.isEmpty())
            continue;
        c.Visible = value.contains(QLatin1String("True"));
        value.remove(QStringLiteral("True"), Qt::CaseInsensitive);
        value.remove(QStringLiteral("False"), Qt::CaseInsensitive);
        bool ok = false;
        const int width = value.toInt(&ok, 10);
        if (!ok || width < 0)
            return false;
        c.Width = width;
    }

    // Positions follow the lines that name a column of this grid. Counting
    // every line instead would let a line for a field the set no longer has,
    // or a field added since the layout was saved, shift the other columns.
    TGridColumnStates ordered;
    ordered.reserve(columns.size());
    QVector<bool> taken(columns.size(), false);
    for (const QString &line : layoutLines(text)) {
        const QString name = lineName(line);
        if (name.isEmpty())
            continue;
        for (int i = 0; i < columns.size(); ++i) {
            if (!taken[i] && columns[i].FieldName.compare(name, Qt::CaseInsensitive) == 0) {
                taken[i] = true;
                ordered.append(columns[i]);
                break;
            }
        }
    }
    for (int i = 0; i < columns.size(); ++i)
        if (!taken[i])
            ordered.append(columns[i]);
    columns = ordered;
    return true;
}

QString LoadLayoutText(int key, bool *found)
{
    TRecordSet &set = sharedSet();
    set.Open(QStringLiteral("select F06 from syscols where F02=:KeyId"),
        {MakeParameter(QStringLiteral("KeyId"), key)});
    const bool hasRow = set.Active() && !set.DataSet()->IsEmpty();
    QString text;
    if (hasRow) {
        set.DataSet()->First();
        text = set.DataSet()->Fields(0)->AsString();
    }
    set.Close();
    if (found)
        *found = hasRow;
    return text;
}

bool SaveLayoutText(int key, const QString &text)
{
    TRecordSet &set = sharedSet();
    set.Open(QStringLiteral("select 1 from syscols where F02=:Id"),
        {MakeParameter(QStringLiteral("Id"), key)});
    const int existing = set.DataSet()->RecordCount();
    set.Close();
    if (!TheDatabase)
        throw QmError(QStringLiteral("没有数据库连接"));
    // A database without a key on syscols may hold several rows under one
    // key; inserting yet another would leave the load reading whichever row
    // comes first, so every row of the key takes the new layout instead.
    if (existing > 0)
        return TheDatabase->ExecSQL(
                   QStringLiteral("update syscols set F06=:Value where F02=:KeyId"),
                   {MakeParameter(QStringLiteral("KeyId"), key),
                       MakeParameter(QStringLiteral("Value"), text)})
            >= 1;
    return TheDatabase->ExecSQL(QStringLiteral("insert into syscols (F02,F06) values (:Id, :S)"),
               {MakeParameter(QStringLiteral("S"), text), MakeParameter(QStringLiteral("Id"), key)})
        == 1;
}

} // namespace GridLayout
