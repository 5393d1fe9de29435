#include "KeyValue2.h"

#include "Error.h"

namespace {
const QString SelectAll = QStringLiteral("select * from keyvalue");
}

TKeyValue2::TKeyValue2()
{
    AddField(FieldKind::Integer, QStringLiteral("KeyId"));
    AddField(FieldKind::Integer, QStringLiteral("Vint"));
    AddField(FieldKind::Memo, QStringLiteral("Vstr"));
    AddField(FieldKind::Float, QStringLiteral("Vfloat"));
    AddField(FieldKind::Boolean, QStringLiteral("Vbool"));
}

void TKeyValue2::EnsureKey(int key)
{
    bool fresh = false;
    if (!Active()) {
        Open(SelectAll);
        fresh = true;
    }
    if (DataSet()->Locate(QStringLiteral("KeyId"), key))
        return;
    // Another workstation may have created the key since the rows were cached;
    // inserting it again would only fail on the table's key.
    if (!fresh) {
        Open(SelectAll);
        if (DataSet()->Locate(QStringLiteral("KeyId"), key))
            return;
    }
    Close();
    database().Execute(QStringLiteral("insert into keyvalue(KeyId) values (:KeyId)"),
        {MakeParameter(QStringLiteral("KeyId"), key)});
    Open(SelectAll);
    // A database that accepts the insert but does not show the row (a view or
    // a trigger in the way) would otherwise have us insert forever.
    if (!DataSet()->Locate(QStringLiteral("KeyId"), key))
        throw QmError(QStringLiteral("无法建立设置项%1: 插入后仍读不到该记录.").arg(key));
}

int TKeyValue2::GetInt(int key)
{
    EnsureKey(key);
    return FieldByName(QStringLiteral("Vint"))->AsInteger();
}

bool TKeyValue2::GetBool(int key)
{
    EnsureKey(key);
    return FieldByName(QStringLiteral("Vbool"))->AsBoolean();
}

QString TKeyValue2::GetStr(int key)
{
    EnsureKey(key);
    return FieldByName(QStringLiteral("Vstr"))->AsString();
}

void TKeyValue2::SetInt(int key, int value)
{
    write(key, QString(), value, true);
}

void TKeyValue2::SetBool(int key, bool value)
{
    write(key, QString(), 0, value);
}

void TKeyValue2::SetStr(int key, const QString &value)
{
    write(key, value, 0, true);
}

void TKeyValue2::write(int key, const QString &vstr, int vint, bool vbool)
{
    EnsureKey(key);
    // An empty text is stored as '' rather than NULL, as the setters always have.
    const QString text = vstr.isNull() ? QStringLiteral("") : vstr;
    const TDBParameters params{MakeParameter(QStringLiteral("Vstr"), text),
        MakeParameter(QStringLiteral("Vint"), vint), MakeParameter(QStringLiteral("Vfloat"), 0.0),
        MakeParameter(QStringLiteral("Vbool"), vbool), MakeParameter(QStringLiteral("KeyId"), key)};
    int changed
        = database().ExecSQL(QStringLiteral("update keyvalue set Vstr=:Vstr, Vint=:Vint, "
                                            "Vfloat=:Vfloat, Vbool=:Vbool where KeyId=:KeyId"),
            params);
    if (changed != 1)
        changed = database().ExecSQL(
            QStringLiteral("insert into keyvalue(Vstr, Vint, Vfloat, Vbool, KeyId)"
                           "values(:Vstr, :Vint, :Vfloat, :Vbool, :KeyId)"),
            params);
    if (changed != 1)
        throw QmError(QStringLiteral("设置项%1没有保存成功.").arg(key));

    // EnsureKey left the key's row current and the statements do not move it.
    TDataSet *rows = DataSet();
    rows->Edit();
    FieldByName(QStringLiteral("Vstr"))->SetAsString(text);
    FieldByName(QStringLiteral("Vint"))->SetAsInteger(vint);
    FieldByName(QStringLiteral("Vfloat"))->SetAsFloat(0);
    FieldByName(QStringLiteral("Vbool"))->SetAsBoolean(vbool);
    rows->Post();
}
