#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// A Windows-style INI file read and written byte for byte.
//
// Values are raw bytes: a scrambled value may hold ';', '=', blanks at either
// end or bytes that are not UTF-8, so nothing is trimmed, unquoted or decoded
// (QSettings would do all three). Lines, sections and keys the program does
// not know are kept as they were. Section and key names compare without
// regard to letter case, as Windows does.
class IniFile
{
public:
    explicit IniFile(QString path);

    // Reads the file; a missing file is an empty one.
    bool load();
    // Writes the whole file (mode 0600: it holds connection passwords).
    bool save(QString *error = nullptr) const;

    bool contains(const QByteArray &section, const QByteArray &key) const;
    QByteArray value(const QByteArray &section, const QByteArray &key, const QByteArray &fallback = {}) const;
    void setValue(const QByteArray &section, const QByteArray &key, const QByteArray &value);

    const QString &path() const { return m_path; }

private:
    int findSection(const QByteArray &section) const;
    int findKey(int sectionLine, const QByteArray &key) const;

    QString m_path;
    QList<QByteArray> m_lines;
};
