#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class TDataSet;

// What a report reads: the data sets registered under their names (d0, d1,
// ...) and the variables, offered by name and as the fields of the data set
// "u". The data sets are not owned and are only read, by position, so their
// cursors never move. Names compare without regard to letter case.
class ReportData
{
public:
    static const QString UserDataSetName;

    using VariableLookup = std::function<bool(const QString &name, QString *value)>;
    using UserFieldLookup = std::function<QString(const QString &field)>;

    // A second set under a name already taken replaces the first; a null set
    // is not registered (its name then prints nothing).
    void addDataSet(const QString &name, TDataSet *set);
    int dataSetCount() const { return static_cast<int>(m_sets.size()); }
    QString dataSetName(int index) const { return m_sets.at(index).name; }
    TDataSet *dataSetAt(int index) const { return m_sets.at(index).set; }
    int indexOf(const QString &name) const;
    TDataSet *dataSet(const QString &name) const;
    QStringList dataSetNames() const;

    void setVariables(const QStringList &names, VariableLookup lookup, UserFieldLookup userField);
    QStringList variableNames() const { return m_variableNames; }
    bool variable(const QString &name, QString *value) const;
    QString userField(const QString &field) const;

private:
    struct Entry
    {
        QString name;
        TDataSet *set;
    };
    QList<Entry> m_sets;
    QStringList m_variableNames;
    VariableLookup m_lookup;
    UserFieldLookup m_userField;
};
