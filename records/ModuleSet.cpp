#include "ModuleSet.h"

#include "Database.h"
#include "FieldLabels.h"
#include "Operator.h"

TModuleWhere::TModuleWhere(const QString &alias, const QVector<TCriterion> &own)
{
    IdFld = AddField(FieldKind::Integer, QStringLiteral("Id"));
    EmpIdFld = AddField(FieldKind::Integer, QStringLiteral("EmpId"));
    EmpCodeFld = AddFieldDef(FieldKind::WideString, QStringLiteral("EmpCode"), 50);
    EmpNameFld = AddFieldDef(FieldKind::WideString, QStringLiteral("EmpName"), 50);
    m_items = {
        {IdFld, TClause::IntegerEquals, alias + QStringLiteral(".Id")},
        {EmpIdFld, TClause::IntegerEquals, alias + QStringLiteral(".EmpId")},
        {EmpCodeFld, TClause::Contains, QStringLiteral("ej.Code")},
        {EmpNameFld, TClause::Contains, QStringLiteral("e.Name")},
    };
    for (const TCriterion &c : own) {
        const bool isDate = c.Clause == TClause::DateFrom || c.Clause == TClause::DateTo;
        TField *field = isDate                   ? AddField(FieldKind::DateTime, c.Field)
            : c.Clause == TClause::IntegerEquals ? AddField(FieldKind::Integer, c.Field)
                                                 : AddFieldDef(FieldKind::WideString, c.Field, 250);
        m_items.append({field, c.Clause, c.Column});
    }
    CreateCriteria();
}

TWhereBuilder TModuleWhere::Condition()
{
    UpdateRecord();
    TWhereBuilder where;
    for (const Item &item : m_items) {
        const TField *f = item.Field;
        if (f->IsNull())
            continue;
        switch (item.Clause) {
        case TClause::IntegerEquals:
            if (f->AsInteger() > 0)
                where.integerEquals(item.Column, f->AsInteger());
            break;
        case TClause::Contains:
            if (!f->AsString().trimmed().isEmpty())
                where.contains(item.Column, f->AsString());
            break;
        case TClause::TextEquals:
            if (!f->AsString().trimmed().isEmpty())
                where.textEquals(item.Column, f->AsString());
            break;
        case TClause::DateFrom:
            if (f->AsDateTime().isValid())
                where.dateFrom(item.Column, f->AsDateTime());
            break;
        case TClause::DateTo:
            if (f->AsDateTime().isValid())
                where.dateTo(item.Column, f->AsDateTime());
            break;
        }
    }
    return where;
}

QString DutyCaption(const QString &prefix)
{
    return prefix + FieldLabels.DutyName;
}

void CheckModuleRight(int right)
{
    if (right >= 0)
        TheOperator->CheckRight(right);
}

namespace ModuleRows {

void RequireEmployee(int empId)
{
    if (empId <= 0)
        throw QmError(QStringLiteral("没有选定职员, 记录不能保存"));
}

void CopyMatching(const TDataSet &from, TDataSet &to)
{
    for (int i = 0; i < from.FieldCount(); ++i) {
        const TField *source = from.Fields(i);
        if (TField *target = to.FindField(source->FieldName()))
            target->SetValue(source->Value());
    }
}

} // namespace ModuleRows
