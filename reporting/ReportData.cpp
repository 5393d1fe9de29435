#include "ReportData.h"

const QString ReportData::UserDataSetName = QStringLiteral("u");

void ReportData::addDataSet(const QString &name, TDataSet *set)
{
    if (!set)
        return;
    const int at = indexOf(name);
    if (at >= 0)
        m_sets[at].set = set;
    else
        m_sets.append({name, set});
}

int ReportData::indexOf(const QString &name) const
{
    for (int i = 0; i < m_sets.size(); ++i)
        if (m_sets[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

TDataSet *ReportData::dataSet(const QString &name) const
{
    const int at = indexOf(name);
    return at < 0 ? nullptr : m_sets[at].set;
}

QStringList ReportData::dataSetNames() const
{
    QStringList names;
    for (const Entry &e : m_sets)
        names << e.name;
    return names;
}

void ReportData::setVariables(
    const QStringList &names, VariableLookup lookup, UserFieldLookup userField)
{
    m_variableNames = names;
    m_lookup = std::move(lookup);
    m_userField = std::move(userField);
}

bool ReportData::variable(const QString &name, QString *value) const
{
    return m_lookup && m_lookup(name, value);
}

QString ReportData::userField(const QString &field) const
{
    return m_userField ? m_userField(field) : field;
}
