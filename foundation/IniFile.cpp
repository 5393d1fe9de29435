#include "IniFile.h"

#include <QFile>
#include <QSaveFile>

namespace {

bool isSectionLine(const QByteArray &line)
{
    const QByteArray t = line.trimmed();
    return t.startsWith('[') && t.endsWith(']');
}

QByteArray sectionName(const QByteArray &line)
{
    const QByteArray t = line.trimmed();
    return t.mid(1, t.size() - 2).trimmed();
}

bool sameName(const QByteArray &a, const QByteArray &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

IniFile::IniFile(QString path)
    : m_path(std::move(path))
{
}

bool IniFile::load()
{
    m_lines.clear();
    QFile file(m_path);
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray data = file.readAll();
    int start = 0;
    while (start < data.size()) {
        int end = data.indexOf('\n', start);
        if (end < 0)
            end = data.size();
        QByteArray line = data.mid(start, end - start);
        if (line.endsWith('\r'))
            line.chop(1);
        m_lines.append(line);
        start = end + 1;
    }
    return true;
}

bool IniFile::save(QString *error) const
{
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    QByteArray data;
    for (const QByteArray &line : m_lines)
        data += line + "\r\n";
    file.write(data);
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    QFile::setPermissions(m_path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return true;
}

int IniFile::findSection(const QByteArray &section) const
{
    for (int i = 0; i < m_lines.size(); ++i)
        if (isSectionLine(m_lines[i]) && sameName(sectionName(m_lines[i]), section))
            return i;
    return -1;
}

int IniFile::findKey(int sectionLine, const QByteArray &key) const
{
    for (int i = sectionLine + 1; i < m_lines.size() && !isSectionLine(m_lines[i]); ++i) {
        const QByteArray &line = m_lines[i];
        const int eq = line.indexOf('=');
        if (eq > 0 && sameName(line.left(eq).trimmed(), key))
            return i;
    }
    return -1;
}

bool IniFile::contains(const QByteArray &section, const QByteArray &key) const
{
    const int s = findSection(section);
    return s >= 0 && findKey(s, key) >= 0;
}

QByteArray IniFile::value(const QByteArray &section, const QByteArray &key, const QByteArray &fallback) const
{
    const int s = findSection(section);
    if (s < 0)
        return fallback;
    const int k = findKey(s, key);
    if (k < 0)
        return fallback;
    const QByteArray &line = m_lines[k];
    return line.mid(line.indexOf('=') + 1);
}

void IniFile::setValue(const QByteArray &section, const QByteArray &key, const QByteArray &value)
{
    int s = findSection(section);
    if (s < 0) {
        if (!m_lines.isEmpty() && !m_lines.last().isEmpty())
            m_lines.append(QByteArray());
        m_lines.append('[' + section + ']');
        s = static_cast<int>(m_lines.size()) - 1;
    }
    const QByteArray line = key + '=' + value;
    const int k = findKey(s, key);
    if (k >= 0) {
        m_lines[k] = line;
        return;
    }
    // After the section's last non-blank line.
    int insertAt = s + 1;
    for (int i = s + 1; i < m_lines.size() && !isSectionLine(m_lines[i]); ++i)
        if (!m_lines[i].trimmed().isEmpty())
            insertAt = i + 1;
    m_lines.insert(insertAt, line);
}
