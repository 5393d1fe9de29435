#include "Company.h"
#include "Error.h"
#include "FieldLabels.h"
#include "KeyValue2.h"
#include "PickListSet.h"
#include "TestSupport.h"
#include "qmProj.h"

#include <QSignalSpy>
#include <QtTest>

namespace {

QVariant scalar(const QString &sql, const TDBParameters &params = {})
{
    TDataSet set;
    TheDatabase->Fill(set, sql, params);
    return set.IsEmpty() ? QVariant() : set.Fields(0)->Value();
}

int countOf(const QString &sql, const TDBParameters &params = {})
{
    return scalar(sql, params).toInt();
}

// The stored row of a settings key as "Vstr|Vint|Vfloat|Vbool", NULLs as "null".
QString storedKey(int key)
{
    TDataSet set;
    TheDatabase->Fill(set,
        QStringLiteral("select Vstr, Vint, Vfloat, Vbool from keyvalue where KeyId=:KeyId"),
        {MakeParameter(QStringLiteral("KeyId"), key)});
    if (set.IsEmpty())
        return QStringLiteral("missing");
    QStringList parts;
    for (int f = 0; f < set.FieldCount(); ++f) {
        const TField *field = set.Fields(f);
        parts << (field->IsNull() ? QStringLiteral("null") : field->AsString());
    }
    return parts.join(QLatin1Char('|'));
}

// Every list of the table in key order, to show that a refused write wrote nothing.
QString allLists()
{
    TDataSet set;
    TheDatabase->Fill(
        set, QStringLiteral("select [Key], [Label], List from options order by [Key]"));
    QStringList rows;
    for (set.First(); !set.Eof(); set.Next())
        rows << set.Fields(0)->AsString() + QLatin1Char('|') + set.Fields(1)->AsString()
                + QLatin1Char('|') + set.Fields(2)->AsString();
    return rows.join(QLatin1Char('\n'));
}

// Makes statements of one kind on a table succeed without changing any row,
// the way a trigger or rule of a foreign database can.
void ignoreWrites(const QString &table, const QString &operation)
{
    const QString name = QStringLiteral("ignore_%1_%2").arg(table, operation);
    if (TheDatabase->IsSqlServer())
        TheDatabase->Execute(QStringLiteral("create rule %1 as on %2 to %3 do instead nothing")
                                 .arg(name, operation, table));
    else
        TheDatabase->Execute(
            QStringLiteral("create trigger %1 before %2 on %3 begin select raise(ignore); end")
                .arg(name, operation, table));
}

QString firstLine(const QString &text)
{
    return text.section(QLatin1Char('\n'), 0, 0);
}

} // namespace

class tst_Settings : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase_data() { addEngineRows(); }
    void init()
    {
        QM_INIT_ENGINE(m_fixture);
        FieldLabels = TFieldLabels();
    }
    void cleanup()
    {
        FreeProjectObjects();
        m_fixture.reset();
    }

    void neverWrittenKeyIsCreatedEmpty_data();
    void neverWrittenKeyIsCreatedEmpty();
    void settersOverwriteAllValues_data();
    void settersOverwriteAllValues();
    void writeRecreatesVanishedRow();
    void failingWriteKeepsCache_data();
    void failingWriteKeepsCache();
    void keyCreatedElsewhereIsFound();
    void keyThatNeverAppearsGivesUp();

    void labelsLoadFromSettings();
    void missingLabelKeysAreCreatedEmpty();
    void labelsSaveAndLoadBack();
    void startupDataLoads();

    void readsListsByIndexAndLabel_data();
    void readsListsByIndexAndLabel();
    void setListWritesThroughOrOnSaveAll_data();
    void setListWritesThroughOrOnSaveAll();
    void newLabelGetsOneRowAfterAllOthers();
    void countExtendsAfterMaximumKey();
    void writeOutsideTableIsRefused_data();
    void writeOutsideTableIsRefused();
    void emptyLabelNamesNoList();

    void companySaveInsertsOrUpdates_data();
    void companySaveInsertsOrUpdates();
    void companyTextsRoundTrip_data();
    void companyTextsRoundTrip();
    void companyUpdateThatChangesNothingFails();

private:
    std::unique_ptr<EngineFixture> m_fixture;
};

// ---------------------------------------------------------------- settings

void tst_Settings::neverWrittenKeyIsCreatedEmpty_data()
{
    QTest::addColumn<QString>("getter");
    QTest::addColumn<QVariant>("expected");
    QTest::newRow("integer") << "GetInt" << QVariant(0);
    QTest::newRow("boolean") << "GetBool" << QVariant(false);
    QTest::newRow("text") << "GetStr" << QVariant(QString());
}

void tst_Settings::neverWrittenKeyIsCreatedEmpty()
{
    QFETCH(QString, getter);
    QFETCH(QVariant, expected);
    const int key = 777;
    TKeyValue2 settings;
    auto read = [&]() -> QVariant {
        if (getter == QLatin1String("GetInt"))
            return settings.GetInt(key);
        if (getter == QLatin1String("GetBool"))
            return settings.GetBool(key);
        return settings.GetStr(key);
    };
    QCOMPARE(read(), expected);
    QCOMPARE(storedKey(key), QStringLiteral("null|null|null|null"));
    QCOMPARE(read(), expected);
    QCOMPARE(countOf(QStringLiteral("select count(*) from keyvalue where KeyId=777")), 1);
}

void tst_Settings::settersOverwriteAllValues_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("setter");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<int>("expectedInt");
    QTest::addColumn<bool>("expectedBool");
    QTest::addColumn<QString>("expectedStr");
    QTest::addColumn<QString>("stored");
    // Key 122 starts with Vint 30, key 18 with Vbool 0, key 125 with Vstr "档案号".
    QTest::newRow("text clears the number")
        << 122 << "SetStr" << QVariant(QStringLiteral("工号")) << 0 << true << "工号"
        << "工号|0|0|1";
    QTest::newRow("text with quotes")
        << 125 << "SetStr" << QVariant(QStringLiteral("O'Neil \"甲\"")) << 0 << true
        << "O'Neil \"甲\""
        << "O'Neil \"甲\"|0|0|1";
    QTest::newRow("integer clears the text") << 125 << "SetInt" << QVariant(45) << 45 << true << ""
                                             << "|45|0|1";
    QTest::newRow("negative integer") << 123 << "SetInt" << QVariant(-7) << -7 << true << ""
                                      << "|-7|0|1";
    QTest::newRow("false clears the number")
        << 122 << "SetBool" << QVariant(false) << 0 << false << ""
        << "|0|0|0";
    QTest::newRow("true on a false key") << 18 << "SetBool" << QVariant(true) << 0 << true << ""
                                         << "|0|0|1";
    QTest::newRow("new key") << 4242 << "SetInt" << QVariant(9) << 9 << true << ""
                             << "|9|0|1";
}

void tst_Settings::settersOverwriteAllValues()
{
    QFETCH(int, key);
    QFETCH(QString, setter);
    QFETCH(QVariant, value);
    QFETCH(int, expectedInt);
    QFETCH(bool, expectedBool);
    QFETCH(QString, expectedStr);
    QFETCH(QString, stored);

    TKeyValue2 settings;
    settings.EnsureKey(1); // the rows are cached before the write
    if (setter == QLatin1String("SetStr"))
        settings.SetStr(key, value.toString());
    else if (setter == QLatin1String("SetInt"))
        settings.SetInt(key, value.toInt());
    else
        settings.SetBool(key, value.toBool());

    QCOMPARE(storedKey(key), stored);
    // The cache follows the write without a reopen...
    QCOMPARE(settings.GetInt(key), expectedInt);
    QCOMPARE(settings.GetBool(key), expectedBool);
    QCOMPARE(settings.GetStr(key), expectedStr);
    // ...and a store that reads afresh sees the same.
    TKeyValue2 fresh;
    QCOMPARE(fresh.GetInt(key), expectedInt);
    QCOMPARE(fresh.GetBool(key), expectedBool);
    QCOMPARE(fresh.GetStr(key), expectedStr);
}

void tst_Settings::writeRecreatesVanishedRow()
{
    TKeyValue2 settings;
    QCOMPARE(settings.GetInt(122), 30);
    // Removed by another workstation while the row sits in our cache.
    TheDatabase->Execute(QStringLiteral("delete from keyvalue where KeyId=122"));
    settings.SetInt(122, 60);
    QCOMPARE(storedKey(122), QStringLiteral("|60|0|1"));
    QCOMPARE(settings.GetInt(122), 60);
}

void tst_Settings::failingWriteKeepsCache_data()
{
    QTest::addColumn<QString>("fault");
    QTest::newRow("table gone") << "drop";
    QTest::newRow("neither update nor insert changes a row") << "ignore";
}

void tst_Settings::failingWriteKeepsCache()
{
    QFETCH(QString, fault);
    TKeyValue2 settings;
    QCOMPARE(settings.GetInt(122), 30);
    QCOMPARE(settings.GetStr(125), QStringLiteral("档案号"));
    if (fault == QLatin1String("drop")) {
        TheDatabase->Execute(QStringLiteral("drop table keyvalue"));
    } else {
        ignoreWrites(QStringLiteral("keyvalue"), QStringLiteral("update"));
        ignoreWrites(QStringLiteral("keyvalue"), QStringLiteral("insert"));
    }
    QVERIFY_THROWS_EXCEPTION(QmError, settings.SetInt(122, 5));
    QVERIFY_THROWS_EXCEPTION(QmError, settings.SetStr(125, QStringLiteral("工号")));
    QCOMPARE(settings.GetInt(122), 30);
    QCOMPARE(settings.GetStr(125), QStringLiteral("档案号"));
    if (fault == QLatin1String("ignore"))
        QCOMPARE(storedKey(122), QStringLiteral("|30|0|1"));
}

void tst_Settings::keyCreatedElsewhereIsFound()
{
    TKeyValue2 mine;
    QCOMPARE(mine.GetInt(122), 30);
    TKeyValue2 theirs;
    theirs.SetInt(900, 12);
    // Our cache predates the key; inserting it again would fail on the table's key.
    QCOMPARE(mine.GetInt(900), 12);
    QCOMPARE(countOf(QStringLiteral("select count(*) from keyvalue where KeyId=900")), 1);
}

void tst_Settings::keyThatNeverAppearsGivesUp()
{
    ignoreWrites(QStringLiteral("keyvalue"), QStringLiteral("insert"));
    TKeyValue2 settings;
    try {
        settings.GetInt(555);
        QFAIL("reading a key that cannot be created succeeded");
    } catch (const QmError &e) {
        QVERIFY2(e.message().contains(QLatin1String("555")), qPrintable(e.message()));
    }
    // The store is still usable for the keys that exist.
    QCOMPARE(settings.GetInt(122), 30);
}

// ---------------------------------------------------------------- labels

void tst_Settings::labelsLoadFromSettings()
{
    TKeyValue2 writer;
    writer.SetStr(125, QStringLiteral("工号"));
    writer.SetStr(126, QStringLiteral("职务"));
    writer.SetStr(101, QStringLiteral("籍贯"));
    writer.SetStr(112, QStringLiteral("字符十二"));
    writer.SetStr(115, QStringLiteral("补贴"));
    writer.SetStr(118, QStringLiteral("体检日期"));

    QSignalSpy changed(&LabelNotifier::instance(), &LabelNotifier::labelsChanged);
    TKeyValue2 settings;
    LoadFieldLabels(settings);
    QCOMPARE(changed.count(), 1);

    QCOMPARE(FieldLabels.Code, QStringLiteral("工号"));
    QCOMPARE(FieldLabels.DutyName, QStringLiteral("职务"));
    QCOMPARE(FieldLabels.Party, QStringLiteral("政貌"));
    QCOMPARE(FieldLabels.EmployType, QStringLiteral("用工形式"));
    QCOMPARE(FieldLabels.S[0], QStringLiteral("籍贯"));
    QCOMPARE(FieldLabels.S[1], QString());
    QCOMPARE(FieldLabels.S[11], QStringLiteral("字符十二"));
    QCOMPARE(FieldLabels.F[2], QStringLiteral("补贴"));
    QCOMPARE(FieldLabels.D[2], QStringLiteral("体检日期"));
    // Labels without a key keep their texts.
    QCOMPARE(FieldLabels.Name, QStringLiteral("姓名"));
    QCOMPARE(FieldLabels.Education, QStringLiteral("学历"));
    QCOMPARE(FieldLabels.WorkAge, QStringLiteral("工龄"));
}

void tst_Settings::missingLabelKeysAreCreatedEmpty()
{
    TheDatabase->Execute(QStringLiteral("delete from keyvalue where KeyId>=125 and KeyId<=128"));
    TKeyValue2 settings;
    LoadFieldLabels(settings);
    QCOMPARE(FieldLabels.Code, QString());
    QCOMPARE(FieldLabels.DutyName, QString());
    QCOMPARE(FieldLabels.Party, QString());
    QCOMPARE(FieldLabels.EmployType, QString());
    QCOMPARE(
        countOf(QStringLiteral("select count(*) from keyvalue where KeyId>=125 and KeyId<=128")),
        4);
    QCOMPARE(storedKey(127), QStringLiteral("null|null|null|null"));
}

void tst_Settings::labelsSaveAndLoadBack()
{
    QCOMPARE(int(FieldLabels.Keyed().size()), 22);
    FieldLabels.EmployType = QStringLiteral("聘用方式");
    FieldLabels.S[5] = QStringLiteral("特长");
    FieldLabels.D[0] = QStringLiteral("转正日期");
    TKeyValue2 settings;
    QSignalSpy changed(&LabelNotifier::instance(), &LabelNotifier::labelsChanged);
    SaveFieldLabels(settings);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(storedKey(128), QStringLiteral("聘用方式|0|0|1"));
    QCOMPARE(storedKey(106), QStringLiteral("特长|0|0|1"));
    QCOMPARE(storedKey(116), QStringLiteral("转正日期|0|0|1"));
    QCOMPARE(storedKey(125), QStringLiteral("档案号|0|0|1"));

    FieldLabels = TFieldLabels();
    TKeyValue2 fresh;
    LoadFieldLabels(fresh);
    QCOMPARE(FieldLabels.EmployType, QStringLiteral("聘用方式"));
    QCOMPARE(FieldLabels.S[5], QStringLiteral("特长"));
    QCOMPARE(FieldLabels.D[0], QStringLiteral("转正日期"));
}

void tst_Settings::startupDataLoads()
{
    TheDatabase->Execute(QStringLiteral("update keyvalue set Vstr='职务' where KeyId=126"));
    TheDatabase->Execute(QStringLiteral("update Company set CompanyName='澄岚科技' where Id=1"));
    CreateProjectObjects();
    QVERIFY(TheCompany && TheSettings && ThePickLists);
    LoadStartupData();
    QCOMPARE(FieldLabels.DutyName, QStringLiteral("职务"));
    QCOMPARE(TheCompany->Id, 1);
    QCOMPARE(TheCompany->CompanyName, QStringLiteral("澄岚科技"));
    QCOMPARE(ThePickLists->Count(), 34);
    FreeProjectObjects();
    QVERIFY(!TheCompany && !TheSettings && !ThePickLists);
}

// ---------------------------------------------------------------- pick lists

void tst_Settings::readsListsByIndexAndLabel_data()
{
    QTest::addColumn<int>("removeKey");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("expectedFirstLine");
    QTest::newRow("first index") << -1 << 0 << QString() << "汉族";
    QTest::newRow("index 2") << -1 << 2 << QString() << "总经理";
    QTest::newRow("empty index list") << -1 << 30 << QString() << "";
    QTest::newRow("index is the position, not the key") << 5 << 5 << QString() << "中共党员";
    QTest::newRow("index beyond the table") << -1 << 34 << QString() << "";
    QTest::newRow("negative index") << -1 << -1 << QString() << "";
    QTest::newRow("label") << -1 << -1 << "学历"
                           << "博士研究生";
    QTest::newRow("label past the index lists") << -1 << -1 << "考核等级"
                                                << "优秀";
    QTest::newRow("unknown label") << -1 << -1 << "无此列表"
                                   << "";
}

void tst_Settings::readsListsByIndexAndLabel()
{
    QFETCH(int, removeKey);
    QFETCH(int, index);
    QFETCH(QString, label);
    QFETCH(QString, expectedFirstLine);
    if (removeKey >= 0)
        TheDatabase->Execute(QStringLiteral("delete from options where [Key]=:Key"),
            {MakeParameter(QStringLiteral("Key"), removeKey)});
    TPickListSet lists;
    const QString list = label.isEmpty() ? lists.GetList(index) : lists.GetListByLabel(label);
    QCOMPARE(firstLine(list), expectedFirstLine);
}

void tst_Settings::setListWritesThroughOrOnSaveAll_data()
{
    QTest::addColumn<bool>("writeThrough");
    QTest::newRow("write-through") << true;
    QTest::newRow("cached until SaveAll") << false;
}

void tst_Settings::setListWritesThroughOrOnSaveAll()
{
    QFETCH(bool, writeThrough);
    const QString original
        = scalar(QStringLiteral("select List from options where [Key]=2")).toString();
    const QString edited = QStringLiteral("董事长\n总经理\n'特别'助理");
    TPickListSet lists;
    lists.SetList(2, edited, writeThrough);
    lists.SetList(0, QStringLiteral("汉族\n回族"), false);
    QCOMPARE(lists.GetList(2), edited);
    QCOMPARE(scalar(QStringLiteral("select List from options where [Key]=2")).toString(),
        writeThrough ? edited : original);

    lists.SaveAll();
    TPickListSet fresh;
    QCOMPARE(fresh.GetList(2), edited);
    QCOMPARE(fresh.GetList(0), QStringLiteral("汉族\n回族"));
    QCOMPARE(firstLine(fresh.GetList(3)), QStringLiteral("正高级工程师"));
}

void tst_Settings::newLabelGetsOneRowAfterAllOthers()
{
    TPickListSet lists;
    const int before = lists.Count();
    QStringList positions;
    for (int i = 0; i < before; ++i)
        positions << lists.GetList(i);

    lists.SetListByLabel(QStringLiteral("奖惩等级"), QStringLiteral("一等\n二等"));
    QCOMPARE(
        scalar(QStringLiteral("select [Key] from options where [Label]='奖惩等级'")).toInt(), 34);
    QCOMPARE(scalar(QStringLiteral("select List from options where [Key]=34")).toString(),
        QStringLiteral("一等\n二等"));
    QCOMPARE(lists.GetListByLabel(QStringLiteral("奖惩等级")), QStringLiteral("一等\n二等"));
    // Every existing list keeps its position; the new one comes after them all.
    QCOMPARE(lists.Count(), before + 1);
    for (int i = 0; i < before; ++i)
        QCOMPARE(lists.GetList(i), positions.at(i));
    QCOMPARE(lists.GetList(before), QStringLiteral("一等\n二等"));

    // The second write under the same label changes that list, in the cache
    // until SaveAll, and adds no second row.
    lists.SetListByLabel(QStringLiteral("奖惩等级"), QStringLiteral("三等"));
    QCOMPARE(countOf(QStringLiteral("select count(*) from options where [Label]='奖惩等级'")), 1);
    QCOMPARE(lists.GetListByLabel(QStringLiteral("奖惩等级")), QStringLiteral("三等"));
    QCOMPARE(scalar(QStringLiteral("select List from options where [Key]=34")).toString(),
        QStringLiteral("一等\n二等"));
    lists.SaveAll();
    QCOMPARE(scalar(QStringLiteral("select List from options where [Key]=34")).toString(),
        QStringLiteral("三等"));

    lists.Load(true);
    QCOMPARE(lists.Count(), before + 1);
}

void tst_Settings::countExtendsAfterMaximumKey()
{
    // Twenty lists whose highest key is 40.
    TheDatabase->Execute(QStringLiteral("delete from options where [Key]>=20"));
    TheDatabase->Execute(QStringLiteral("update options set [Key]=40 where [Key]=19"));
    TPickListSet lists;
    QCOMPARE(lists.Count(), 20);
    const QString last = lists.GetList(19);

    lists.SetCount(31);
    QCOMPARE(lists.Count(), 31);
    QCOMPARE(countOf(QStringLiteral("select count(*) from options")), 31);
    QCOMPARE(
        countOf(QStringLiteral("select count(*) from options where [Key]>=41 and [Key]<=51")), 11);
    QCOMPARE(lists.GetList(19), last);
    QCOMPARE(lists.GetList(30), QString());
    lists.SetList(30, QStringLiteral("新列表"), true);
    QCOMPARE(scalar(QStringLiteral("select List from options where [Key]=51")).toString(),
        QStringLiteral("新列表"));

    lists.SetCount(10);
    QCOMPARE(lists.Count(), 31);
    lists.Load(true);
    QCOMPARE(lists.Count(), 31);
    QCOMPARE(lists.GetList(30), QStringLiteral("新列表"));
}

void tst_Settings::writeOutsideTableIsRefused_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("writeThrough");
    QTest::newRow("one past the end, write-through") << 34 << true;
    QTest::newRow("far past the end, cached") << 100 << false;
    QTest::newRow("negative") << -1 << true;
}

void tst_Settings::writeOutsideTableIsRefused()
{
    QFETCH(int, index);
    QFETCH(bool, writeThrough);
    const QString stored = allLists();
    TPickListSet lists;
    const QString lastList = lists.GetList(33);
    QVERIFY_THROWS_EXCEPTION(QmError, lists.SetList(index, QStringLiteral("越界"), writeThrough));
    lists.SaveAll();
    QCOMPARE(allLists(), stored);
    QCOMPARE(lists.Count(), 34);
    QCOMPARE(lists.GetList(33), lastList);
}

void tst_Settings::emptyLabelNamesNoList()
{
    TPickListSet lists;
    lists.SetCount(35);
    lists.SetList(34, QStringLiteral("无名列表"), true);
    QCOMPARE(lists.GetListByLabel(QString()), QString());
    const QString stored = allLists();
    QVERIFY_THROWS_EXCEPTION(QmError, lists.SetListByLabel(QString(), QStringLiteral("x")));
    lists.SaveAll();
    QCOMPARE(allLists(), stored);
}

// ---------------------------------------------------------------- company

void tst_Settings::companySaveInsertsOrUpdates_data()
{
    QTest::addColumn<bool>("rowMissing");
    QTest::newRow("row present: updated") << false;
    QTest::newRow("row missing: inserted with id 0") << true;
}

void tst_Settings::companySaveInsertsOrUpdates()
{
    QFETCH(bool, rowMissing);
    if (rowMissing)
        TheDatabase->Execute(QStringLiteral("delete from Company"));
    TCompany company;
    company.CompanyName = QStringLiteral("旧名");
    company.Load();
    QCOMPARE(company.Id, rowMissing ? 0 : 1);
    QCOMPARE(company.CompanyName, rowMissing ? QString() : QStringLiteral("我的公司"));

    company.CompanyName = QStringLiteral("澄岚科技有限公司");
    company.Tel = QStringLiteral("010-12345678");
    company.Save();
    QCOMPARE(countOf(QStringLiteral("select count(*) from Company")), 1);
    TCompany reread;
    reread.Load();
    QCOMPARE(reread.Id, company.Id);
    QCOMPARE(reread.CompanyName, QStringLiteral("澄岚科技有限公司"));
    QCOMPARE(reread.Tel, QStringLiteral("010-12345678"));
}

void tst_Settings::companyTextsRoundTrip_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("profile");
    QTest::addColumn<bool>("updated");
    QTest::newRow("quotes") << "O'Brien \"澄岚\" & Co"
                            << "它's \"引号\"" << false;
    QTest::newRow("sql in the text") << "x'); delete from Company; --"
                                     << "'; drop table Company; --" << true;
    QTest::newRow("multi-line profile") << "北京市海淀区"
                                        << "第一行\r\n第二行\n\t第三行" << true;
    QTest::newRow("long profile") << "长" << QString(5000, QChar(0x7B80)) << false;
    QTest::newRow("empty texts") << ""
                                 << "" << true;
}

void tst_Settings::companyTextsRoundTrip()
{
    QFETCH(QString, text);
    QFETCH(QString, profile);
    QFETCH(bool, updated);
    TheDatabase->Execute(QStringLiteral("update Company set Updated=:Updated"),
        {MakeParameter(QStringLiteral("Updated"), updated)});
    TCompany company;
    company.Load();
    QCOMPARE(company.Updated, updated);
    company.CompanyName = text;
    company.Manager = text + QStringLiteral("经理");
    company.Fax = text.left(50);
    company.Address = text;
    company.Zip = QStringLiteral("100'01");
    company.Profile = profile;
    company.Save();

    TCompany reread;
    reread.Load();
    QCOMPARE(reread.CompanyName, text);
    QCOMPARE(reread.Manager, text + QStringLiteral("经理"));
    QCOMPARE(reread.Fax, text.left(50));
    QCOMPARE(reread.Address, text);
    QCOMPARE(reread.Zip, QStringLiteral("100'01"));
    QCOMPARE(reread.Profile, profile);
    QCOMPARE(reread.Updated, updated);
    QCOMPARE(countOf(QStringLiteral("select count(*) from Company")), 1);
}

void tst_Settings::companyUpdateThatChangesNothingFails()
{
    TCompany company;
    company.Load();
    ignoreWrites(QStringLiteral("Company"), QStringLiteral("update"));
    company.CompanyName = QStringLiteral("新名");
    QVERIFY_THROWS_EXCEPTION(QmError, company.Save());
    QCOMPARE(scalar(QStringLiteral("select CompanyName from Company")).toString(),
        QStringLiteral("我的公司"));
}

QTEST_GUILESS_MAIN(tst_Settings)
#include "tst_settings.moc"
