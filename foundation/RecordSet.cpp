#include "RecordSet.h"

#include "Error.h"
#include "Utils.h"

#include <algorithm>

// ---------------------------------------------------------------- TSetBase

TSetBase::TSetBase()
    : m_data(std::make_unique<TDataSet>())
{ }

TSetBase::~TSetBase() = default;

TDatabase &TSetBase::database() const
{
    TDatabase *db = m_db ? m_db : TheDatabase;
    if (!db)
        throw QmError(QStringLiteral("没有数据库连接"));
    return *db;
}

int TSetBase::Open(const QString &sql, const TDBParameters &params)
{
    m_data->Close();
    m_sql = sql;
    m_params = params;
    try {
        database().Fill(*m_data, sql, params);
    } catch (const QmError &e) {
        m_data->Close();
        // The error's text ends with the SQL; show the statement and the
        // engine's words apart, as the box has always done.
        QString message = e.message();
        const QString tail = QStringLiteral("\r\n") + sql;
        if (message.endsWith(tail))
            message.chop(tail.size());
        ShowInfo(QStringLiteral("SQL语句错误,原文如下:\r\n") + sql
            + QStringLiteral("\r\n\r\n错误提示:\r\n") + message);
        throw SilentAbort();
    }
    return m_data->RecordCount();
}

void TSetBase::Close()
{
    m_data->Close();
}

bool TSetBase::PriorRecord()
{
    if (!m_data->Active() || m_data->IsEmpty())
        return false;
    m_data->Prior();
    return true;
}

bool TSetBase::NextRecord()
{
    if (!m_data->Active() || m_data->IsEmpty())
        return false;
    m_data->Next();
    return true;
}

// ---------------------------------------------------------------- TQuerySet

TField *TQuerySet::AddField(
    FieldKind kind, const QString &name, int size, bool visible, const QString &label)
{
    TField *field = m_data->AddField(kind, name, size, visible, label);
    field->SetDisplayWidth(75);
    return field;
}

void TQuerySet::Reopen(const QString &keyField)
{
    QVariant key;
    if (!keyField.isEmpty() && m_data->Active() && !m_data->IsEmpty())
        key = m_data->FieldByName(keyField)->Value();
    if (m_data->Active() || !m_sql.isEmpty())
        Open(m_sql, m_params);
    if (!keyField.isEmpty() && key.isValid())
        m_data->Locate(keyField, key);
}

void TQuerySet::PostEdit()
{
    m_data->UpdateRecord();
    m_data->Post();
}

// ---------------------------------------------------------------- TRecordSet

TField *TRecordSet::AddField(
    FieldKind kind, const QString &name, int size, bool visible, const QString &label)
{
    return m_data->AddField(kind, name, size, visible, label);
}

void TRecordSet::RemoveCurrent()
{
    if (m_data->Active() && !m_data->IsEmpty())
        m_data->Delete();
}

void TRecordSet::RemoveAll()
{
    while (m_data->Active() && !m_data->IsEmpty())
        m_data->Delete();
}

QString TRecordSet::JoinValues(const QString &fieldName, const QString &separator) const
{
    if (!m_data->Active() || m_data->IsEmpty())
        return QString();
    const int field = m_data->FieldByName(fieldName)->Index();
    QStringList parts;
    for (int row = 0; row < m_data->RecordCount(); ++row)
        parts << m_data->DisplayTextAt(row, field);
    return parts.join(separator);
}

// ---------------------------------------------------------------- TQmClientDataSet

TQmClientDataSet::TQmClientDataSet()
    : m_data(std::make_unique<TDataSet>())
{ }

TQmClientDataSet::~TQmClientDataSet() = default;

TField *TQmClientDataSet::AddField(
    FieldKind kind, const QString &name, bool visible, const QString &label)
{
    return m_data->AddField(kind, name, -1, visible, label);
}

TField *TQmClientDataSet::AddFieldDef(
    FieldKind kind, const QString &name, int size, bool visible, const QString &label)
{
    return m_data->AddField(kind, name, size > 20 ? std::min(size, 140) : 20, visible, label);
}

// ---------------------------------------------------------------- TCustomWhere

void TCustomWhere::CreateCriteria()
{
    m_data->CreateDataSet();
    Reset();
}

void TCustomWhere::Reset()
{
    m_data->Cancel();
    while (!m_data->IsEmpty())
        m_data->Delete();
    // The single row stays in insert state so that bound controls can write
    // into it and the criteria are read from it directly.
    m_data->Append();
}

std::unique_ptr<TDataSet> TCustomWhere::Snapshot()
{
    UpdateRecord();
    auto copy = std::make_unique<TDataSet>();
    for (int i = 0; i < m_data->FieldCount(); ++i) {
        const TField *f = m_data->Fields(i);
        copy->AddField(f->Kind(), f->FieldName(), f->Size(), f->Visible(), f->DisplayLabel());
    }
    copy->CreateDataSet();
    copy->Append();
    for (int i = 0; i < m_data->FieldCount(); ++i)
        copy->Fields(i)->SetValue(m_data->Fields(i)->Value());
    copy->Post();
    return copy;
}

bool TCustomWhere::IsSet(const TField *criterion)
{
    if (criterion->IsNull())
        return false;
    switch (criterion->Kind()) {
    case FieldKind::Integer:
        return criterion->AsInteger() != 0;
    case FieldKind::Float:
        return criterion->AsFloat() != 0;
    case FieldKind::DateTime:
        return criterion->AsDateTime().isValid();
    case FieldKind::Boolean:
        return criterion->AsBoolean();
    default:
        return !criterion->AsString().isEmpty();
    }
}
