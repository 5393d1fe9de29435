#include "PickListSet.h"

#include "EntitySet.h"
#include "Error.h"
#include "qmProj.h"

#include <QRegularExpression>
#include <memory>

namespace {
const QString UpdateList = QStringLiteral("update options set List=:List where [Key]=:Key");
}

TPickListSet::TPickListSet()
{
    AddField(FieldKind::Integer, QStringLiteral("Key"));
    AddField(FieldKind::WideString, QStringLiteral("Label"), 20);
    AddField(FieldKind::Memo, QStringLiteral("List"));
}

void TPickListSet::Load(bool force)
{
    if (force || !Active())
        Open(QStringLiteral("select * from options order by [Key]"));
}

int TPickListSet::Count()
{
    Load();
    return DataSet()->RecordCount();
}

QString TPickListSet::GetList(int index)
{
    Load();
    if (index < 0 || index >= DataSet()->RecordCount())
        return QString();
    DataSet()->SetCurrentRow(index);
    return FieldByName(QStringLiteral("List"))->AsString();
}

QString TPickListSet::GetListByLabel(const QString &label)
{
    Load();
    // An empty label would match the unnamed lists that SetCount adds.
    if (label.isEmpty() || !DataSet()->Locate(QStringLiteral("Label"), label))
        return QString();
    return FieldByName(QStringLiteral("List"))->AsString();
}

void TPickListSet::SetList(int index, const QString &text, bool writeThrough)
{
    Load();
    if (index < 0 || index >= DataSet()->RecordCount())
        throw QmError(QStringLiteral("选项列表%1不存在,共有%2个列表.")
                          .arg(index)
                          .arg(DataSet()->RecordCount()));
    TDataSet *rows = DataSet();
    rows->SetCurrentRow(index);
    // The database first, so that a failing write leaves the cache as it was.
    if (writeThrough)
        database().Execute(UpdateList,
            {MakeParameter(QStringLiteral("List"), text),
                MakeParameter(
                    QStringLiteral("Key"), FieldByName(QStringLiteral("Key"))->AsInteger())});
    rows->Edit();
    FieldByName(QStringLiteral("List"))->SetAsString(text);
    rows->Post();
}

void TPickListSet::SetListByLabel(const QString &label, const QString &text)
{
    if (label.isEmpty())
        throw QmError(QStringLiteral("选项列表的名称不能为空."));
    Load();
    TDataSet *rows = DataSet();
    if (rows->Locate(QStringLiteral("Label"), label)) {
        rows->Edit();
        FieldByName(QStringLiteral("List"))->SetAsString(text);
        rows->Post();
        return;
    }
    const int key = maxKey() + 1;
    database().Execute(
        QStringLiteral("insert into options([Key], [Label], List) values (:Key, :Label, :List)"),
        {MakeParameter(QStringLiteral("Key"), key), MakeParameter(QStringLiteral("Label"), label),
            MakeParameter(QStringLiteral("List"), text)});
    // Without the row in the cache the next call with this label would insert
    // a second list of the same name, and reads would not see the text.
    appendCached(key, label, text);
}

void TPickListSet::SaveAll()
{
    Load();
    TDataSet *rows = DataSet();
    const int keyField = FieldByName(QStringLiteral("Key"))->Index();
    const int listField = FieldByName(QStringLiteral("List"))->Index();
    // Half the lists saved is worse than none: the option editor saves them as one.
    Conventions::InTransaction(
        [&] {
            for (int row = 0; row < rows->RecordCount(); ++row)
                database().Execute(UpdateList,
                    {MakeParameter(
                         QStringLiteral("List"), rows->ValueAt(row, listField).toString()),
                        MakeParameter(
                            QStringLiteral("Key"), rows->ValueAt(row, keyField).toInt())});
        },
        &database());
}

void TPickListSet::SetCount(int count)
{
    Load();
    if (DataSet()->RecordCount() >= count)
        return;
    int key = maxKey();
    while (DataSet()->RecordCount() < count) {
        ++key;
        database().Execute(QStringLiteral("insert into options([Key], List) values (:Key, :List)"),
            {MakeParameter(QStringLiteral("Key"), key),
                MakeParameter(QStringLiteral("List"), QStringLiteral(""))});
        appendCached(key, QVariant(), QString());
    }
}

int TPickListSet::maxKey()
{
    TDataSet probe;
    database().Fill(probe, QStringLiteral("select max([Key]) from options"));
    return probe.IsEmpty() ? 0 : probe.Fields(0)->AsInteger();
}

void TPickListSet::appendCached(int key, const QVariant &label, const QString &list)
{
    TDataSet *rows = DataSet();
    rows->Append();
    FieldByName(QStringLiteral("Key"))->SetAsInteger(key);
    FieldByName(QStringLiteral("Label"))->SetValue(label);
    FieldByName(QStringLiteral("List"))->SetAsString(list);
    rows->Post();
}

QStringList PickListLines(const QString &list)
{
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\n|\r"));
    QStringList lines;
    for (const QString &line : list.split(lineBreak)) {
        const QString entry = line.trimmed();
        if (!entry.isEmpty())
            lines << entry;
    }
    return lines;
}

QStringList PickListEntries(int index)
{
    std::unique_ptr<TPickListSet> local;
    TPickListSet *lists = ThePickLists;
    if (!lists) {
        local = std::make_unique<TPickListSet>();
        lists = local.get();
    }
    return PickListLines(lists->GetList(index));
}
