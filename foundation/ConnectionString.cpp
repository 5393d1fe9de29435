#include "ConnectionString.h"

void ConnectionString::add(const QString &key, const QString &value)
{
    m_items.append({key, value});
}

QString ConnectionString::toString() const
{
    QString text;
    for (const auto &item : m_items) {
        if (!text.isEmpty())
            text += QLatin1Char(';');
        text += item.first + QLatin1Char('=') + quoted(item.second);
    }
    return text;
}

QString ConnectionString::quoted(const QString &value)
{
    const bool needsQuotes = value.contains(QLatin1Char(';')) || value.contains(QLatin1Char('"'))
        || value.contains(QLatin1Char('\'')) || (!value.isEmpty() && (value.front().isSpace() || value.back().isSpace()));
    if (!needsQuotes)
        return value;
    QString escaped = value;
    escaped.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

QString ConnectionString::value(const QString &connectionString, const QString &key)
{
    // Walk item by item so that a key name inside a quoted value is never taken
    // for the key itself.
    const QString &s = connectionString;
    int pos = 0;
    const int n = s.size();
    while (pos < n) {
        const int eq = s.indexOf(QLatin1Char('='), pos);
        if (eq < 0)
            return QString();
        const QString itemKey = s.mid(pos, eq - pos).trimmed();
        int i = eq + 1;
        while (i < n && s.at(i) == QLatin1Char(' '))
            ++i;
        QString itemValue;
        if (i < n && (s.at(i) == QLatin1Char('"') || s.at(i) == QLatin1Char('\''))) {
            const QChar quote = s.at(i++);
            while (i < n) {
                if (s.at(i) == quote) {
                    if (i + 1 < n && s.at(i + 1) == quote) {
                        itemValue += quote;
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                itemValue += s.at(i++);
            }
            const int semi = s.indexOf(QLatin1Char(';'), i);
            pos = semi < 0 ? n : semi + 1;
        } else {
            const int semi = s.indexOf(QLatin1Char(';'), i);
            const int end = semi < 0 ? n : semi;
            itemValue = s.mid(i, end - i);
            pos = semi < 0 ? n : semi + 1;
        }
        if (itemKey == key)
            return itemValue;
    }
    return QString();
}
