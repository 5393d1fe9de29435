#pragma once

#include "RecordSet.h"

#include <QDateTime>
#include <QVariant>
#include <memory>

// A small list as the grids show it: an employee-like set with a text code
// that must keep its leading zeros, Chinese names (whose pinyin order differs
// from their code-point order), a department, numbers, a date, a memo and a
// hidden key.
class TStaffSet : public TQmClientDataSet
{
public:
    TField *Id;
    TField *Code;
    TField *Name;
    TField *Dept;
    TField *Salary;
    TField *Age;
    TField *Joined;
    TField *Note;

    TStaffSet()
    {
        Id = AddField(FieldKind::Integer, QStringLiteral("Id"), false);
        Code = AddFieldDef(
            FieldKind::String, QStringLiteral("Code"), 10, true, QStringLiteral("编号"));
        Name = AddFieldDef(
            FieldKind::WideString, QStringLiteral("Name"), 20, true, QStringLiteral("姓名"));
        Dept = AddFieldDef(
            FieldKind::WideString, QStringLiteral("Dept"), 30, true, QStringLiteral("部门"));
        Salary = AddField(FieldKind::Float, QStringLiteral("Salary"), true, QStringLiteral("工资"));
        Age = AddField(FieldKind::Integer, QStringLiteral("Age"), true, QStringLiteral("年龄"));
        Joined = AddField(
            FieldKind::DateTime, QStringLiteral("Joined"), true, QStringLiteral("入职日期"));
        Note = AddField(FieldKind::Memo, QStringLiteral("Note"), true, QStringLiteral("备注"));
        CreateDataSet();
    }

    void add(int id, const QString &code, const QString &name, const QString &dept,
        const QVariant &salary, const QVariant &age, const QDate &joined,
        const QString &note = QString())
    {
        m_data->Append();
        Id->SetValue(id);
        Code->SetValue(code);
        Name->SetValue(name);
        Dept->SetValue(dept);
        Salary->SetValue(salary);
        Age->SetValue(age);
        Joined->SetValue(joined.isValid() ? QVariant(joined.startOfDay()) : QVariant());
        Note->SetValue(note);
        m_data->Post();
    }

    // Five people in two departments; pinyin order of the names is
    // 阿明, 李四, 王五, 张三, 赵六.
    void fillSample()
    {
        add(1, QStringLiteral("007"), QStringLiteral("张三"), QStringLiteral("销售部"), 3200.5, 30,
            QDate(2010, 3, 1));
        add(2, QStringLiteral("012"), QStringLiteral("李四"), QStringLiteral("财务部"), 4100.25, 41,
            QDate(2008, 7, 15));
        add(3, QStringLiteral("003"), QStringLiteral("王五"), QStringLiteral("销售部"), 2800, 25,
            QDate(2015, 1, 5));
        add(4, QStringLiteral("020"), QStringLiteral("赵六"), QStringLiteral("财务部"), QVariant(),
            52, QDate());
        add(5, QStringLiteral("001"), QStringLiteral("阿明"), QStringLiteral("销售部"), 5000,
            QVariant(), QDate(2001, 9, 9));
        m_data->First();
    }
};

// The names of the set's rows from the first to the last.
inline QStringList columnTexts(const TDataSet *set, const QString &field)
{
    QStringList texts;
    const int f = set->FieldByName(field)->Index();
    for (int row = 0; row < set->RecordCount(); ++row)
        texts << set->DisplayTextAt(row, f);
    return texts;
}
