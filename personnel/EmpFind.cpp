#include "EmpFind.h"

#include "DeptPick.h"
#include "EmployeeWhere.h"
#include "Error.h"
#include "FieldLabels.h"
#include "PickListSet.h"
#include "Pub.h"
#include "Utils.h"
#include "qmDBCtrls.h"
#include "qmProj.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

QString S(const char *text)
{
    return QString::fromUtf8(text);
}

QStringList pickList(int index)
{
    return PickListEntries(index);
}

QStringList numbers(int from, int to)
{
    QStringList list;
    for (int i = from; i <= to; ++i)
        list << QString::number(i);
    return list;
}

// A grid page filled row by row: a caption, then one or more controls with
// the captions that join them ("至", "岁").
class PageBuilder
{
public:
    explicit PageBuilder(QWidget *page)
        : m_grid(new QGridLayout(page))
    { }

    QLabel *row(const QString &caption, std::initializer_list<QWidget *> controls, int column = 0)
    {
        auto *label = new QLabel(caption);
        const int r = m_rows[column]++;
        m_grid->addWidget(label, r, column * 2);
        auto *line = new QHBoxLayout;
        line->setContentsMargins(0, 0, 0, 0);
        for (QWidget *w : controls)
            line->addWidget(w, qobject_cast<QLabel *>(w) ? 0 : 1);
        m_grid->addLayout(line, r, column * 2 + 1);
        return label;
    }

    void finish()
    {
        m_grid->setRowStretch(std::max(m_rows[0], m_rows[1]), 1);
        m_grid->setColumnStretch(1, 1);
        m_grid->setColumnStretch(3, 1);
    }

private:
    QGridLayout *m_grid;
    int m_rows[2] = {0, 0};
};

QLabel *text(const char *caption)
{
    return new QLabel(S(caption));
}

} // namespace

TEmpFindFrm::TEmpFindFrm(QWidget *parent)
    : TaDlgBase(parent, TFormPosition::OwnerCenter)
    , m_where(std::make_unique<TEmployeeWhere>())
{
    setObjectName(S("EmpFindFrm"));
    setWindowTitle(S("高级查找"));
    PageControl1 = new QTabWidget(ClientArea());
    PageControl1->setObjectName(S("PageControl1"));
    auto *client = new QVBoxLayout(ClientArea());
    client->setContentsMargins(0, 0, 0, 0);
    client->addWidget(PageControl1);

    buildCommonPage();
    buildDismissalPage();
    buildMorePage();

    btnReset1 = new QPushButton(S("清空"), this);
    Button5 = new QPushButton(S("确定"), this);
    Button4 = new QPushButton(S("取消"), this);
    btnReset1->setObjectName(S("btnReset1"));
    Button5->setObjectName(S("Button5"));
    Button4->setObjectName(S("Button4"));
    Button5->setDefault(true);
    btnReset1->setAutoDefault(false);
    Button4->setAutoDefault(false);
    const int help = ButtonRow()->indexOf(HelpBtn1);
    ButtonRow()->insertWidget(help, btnReset1);
    ButtonRow()->insertWidget(help + 1, Button5);
    ButtonRow()->insertWidget(help + 2, Button4);
    connect(Button5, &QPushButton::clicked, this,
        [this] { RunUserAction([this] { Button5Click(); }); });
    connect(Button4, &QPushButton::clicked, this, &QDialog::reject);
    connect(btnReset1, &QPushButton::clicked, this, [this] { RunUserAction([this] { Reset(); }); });
    connect(Button1, &QPushButton::clicked, this,
        [this] { RunUserAction([this] { Button1Click(); }); });
    Reset();
}

TEmpFindFrm::~TEmpFindFrm() = default;

namespace {

TqmDBEdit *boundEdit(QWidget *owner, const char *name, TField *field)
{
    auto *edit = new TqmDBEdit(owner);
    edit->setObjectName(QLatin1String(name));
    edit->Bind(field->DataSet(), field->FieldName());
    return edit;
}

// Pick-list boxes take typed values too; fixed choices only their items, with
// an empty first one meaning "any".
TqmDBComboBox *boundCombo(
    QWidget *owner, const char *name, TField *field, const QStringList &items, bool editable)
{
    auto *combo = new TqmDBComboBox(owner);
    combo->setObjectName(QLatin1String(name));
    combo->setEditable(editable);
    combo->addItem(QString());
    combo->addItems(items);
    combo->Bind(field->DataSet(), field->FieldName());
    return combo;
}

TqmDBDateTimeEdit *boundDate(QWidget *owner, const char *name, TField *field)
{
    auto *date = new TqmDBDateTimeEdit(owner);
    date->setObjectName(QLatin1String(name));
    date->setDisplayFormat(S("yyyy-MM-dd"));
    date->Bind(field->DataSet(), field->FieldName());
    return date;
}

} // namespace

void TEmpFindFrm::buildCommonPage()
{
    auto *page = new QWidget;
    page->setObjectName(S("TabSheet1"));
    PageControl1->addTab(page, S("常见项目"));
    TEmployeeWhere &w = *m_where;

    edtCode1 = boundEdit(page, "edtCode1", w.CodeFld);
    edtName1 = boundEdit(page, "edtName1", w.NameFld);
    edtDept1 = new TqmEdit(page);
    edtDept1->setObjectName(S("edtDept1"));
    edtDept1->setReadOnly(true);
    Button1 = new QPushButton(S("..."), page);
    Button1->setObjectName(S("Button1"));
    Button1->setAutoDefault(false);
    Button1->setFixedWidth(28);
    edtSex1 = boundCombo(page, "edtSex1", w.SexFld, {S("男"), S("女")}, false);
    edtEmployType1 = boundCombo(page, "edtEmployType1", w.EmployTypeFld, pickList(8), true);
    cmbDuty1 = boundCombo(page, "cmbDuty1", w.DutyFld, pickList(2), true);
    edtComeFrom1 = boundCombo(page, "edtComeFrom1", w.ComeFromFld, pickList(5), true);
    edtTel1 = boundEdit(page, "edtTel1", w.TelFld);
    edtAge1 = boundEdit(page, "edtAge1", w.Age1Fld);
    edtAge2 = boundEdit(page, "edtAge2", w.Age2Fld);
    edtJoindate1 = boundDate(page, "edtJoindate1", w.Joindate1Fld);
    edtJoindate2 = boundDate(page, "edtJoindate2", w.Joindate2Fld);
    edtWorkAge1 = boundEdit(page, "edtWorkAge1", w.WorkAge1Fld);
    edtWorkAge2 = boundEdit(page, "edtWorkAge2", w.WorkAge2Fld);
    edtJobTitle1 = boundCombo(page, "edtJobTitle1", w.JobTitleFld, pickList(3), true);
    edtIsMry1 = boundCombo(page, "edtIsMry1", w.MarryFld, pickList(4), true);
    cmbBirthMonth1 = boundCombo(page, "cmbBirthMonth1", w.BirthMonthFld, numbers(1, 12), false);
    cmbBirthday1 = boundCombo(page, "cmbBirthday1", w.BirthDayFld, numbers(1, 31), false);
    cmbDiploma1 = boundCombo(page, "cmbDiploma1", w.DiplomaFld, pickList(1), true);
    edtDegree1 = boundCombo(page, "edtDegree1", w.DegreeFld, pickList(7), true);
    edtParty1 = boundCombo(page, "edtParty1", w.PartyFld, pickList(6), true);
    edtIdCode1 = boundEdit(page, "edtIdCode1", w.IdCodeFld);
    cbOnjob1 = new QCheckBox(S("包括离职人员"), page);
    cbOnjob1->setObjectName(S("cbOnjob1"));

    PageBuilder b(page);
    lblCode1 = b.row(FieldLabels.Code, {edtCode1});
    b.row(S("姓名"), {edtName1}, 1);
    b.row(S("部门"), {edtDept1, Button1});
    b.row(S("性别"), {edtSex1}, 1);
    lblEmployType1 = b.row(FieldLabels.EmployType, {edtEmployType1});
    lblDuty1 = b.row(FieldLabels.DutyName, {cmbDuty1}, 1);
    b.row(S("聘用来源"), {edtComeFrom1});
    b.row(S("联系电话"), {edtTel1}, 1);
    b.row(S("年龄"), {edtAge1, text("至"), edtAge2, text("岁")});
    b.row(S("入职日期"), {edtJoindate1, text("截止"), edtJoindate2}, 1);
    b.row(S("工龄"), {edtWorkAge1, text("至"), edtWorkAge2, text("年")});
    b.row(S("职称"), {edtJobTitle1}, 1);
    b.row(S("婚姻"), {edtIsMry1});
    b.row(S("生日"), {cmbBirthMonth1, text("月"), cmbBirthday1, text("日")}, 1);
    b.row(S("学历"), {cmbDiploma1});
    b.row(S("学位"), {edtDegree1}, 1);
    lblParty1 = b.row(FieldLabels.Party, {edtParty1});
    b.row(S("身份证号"), {edtIdCode1}, 1);
    b.row(QString(), {cbOnjob1});
    b.finish();
    lblCode1->setObjectName(S("lblCode1"));
    lblDuty1->setObjectName(S("lblDuty1"));
    lblEmployType1->setObjectName(S("lblEmployType1"));
    lblParty1->setObjectName(S("lblParty1"));
}

void TEmpFindFrm::buildDismissalPage()
{
    auto *page = new QWidget;
    page->setObjectName(S("TabSheet2"));
    PageControl1->addTab(page, S("离职人员"));
    TEmployeeWhere &w = *m_where;
    edtDisDate1 = boundDate(page, "edtDisDate1", w.DisDate1Fld);
    edtDisDate2 = boundDate(page, "edtDisDate2", w.DisDate2Fld);
    edtDistype1 = boundCombo(page, "edtDistype1", w.DisTypeFld, pickList(13), true);
    edtDismarks1 = boundEdit(page, "edtDismarks1", w.DismarksFld);
    PageBuilder b(page);
    b.row(S("离职日期"), {edtDisDate1, text("至"), edtDisDate2});
    b.row(S("离职原因"), {edtDistype1});
    b.row(S("离职叙述"), {edtDismarks1});
    b.finish();
}

void TEmpFindFrm::buildMorePage()
{
    auto *page = new QWidget;
    page->setObjectName(S("TabSheet3"));
    PageControl1->addTab(page, S("更多"));
    TEmployeeWhere &w = *m_where;
    edtMilivice1 = boundCombo(
        page, "edtMilivice1", w.MiliviceFld, {S("未服兵役"), S("现役"), S("退役")}, false);
    edtStature1 = boundEdit(page, "edtStature1", w.Stature1Fld);
    edtStature2 = boundEdit(page, "edtStature2", w.Stature2Fld);
    edtBloodtype1 = boundCombo(
        page, "edtBloodtype1", w.BloodtypeFld, {S("A"), S("B"), S("AB"), S("O")}, false);
    edtReligion1 = boundCombo(page, "edtReligion1", w.ReligionFld,
        {S("犹太教"), S("基督教"), S("天主教 "), S("东正教"), S("摩门教"), S("佛教"), S("伊斯兰教"),
            S("印度教"), S("儒教"), S("道教")},
        false);
    edtBankId1 = boundEdit(page, "edtBankId1", w.BankIdFld);
    edtYiBaoId1 = boundEdit(page, "edtYiBaoId1", w.YiBaoIdFld);
    edtYangBaoId1 = boundEdit(page, "edtYangBaoId1", w.YangBaoIdFld);
    edtGraduateDate1 = boundDate(page, "edtGraduateDate1", w.GraduateDate1Fld);
    edtGraduateDate2 = boundDate(page, "edtGraduateDate2", w.GraduateDate2Fld);
    edtSchool1 = boundEdit(page, "edtSchool1", w.SchoolFld);
    edtFolk1 = boundCombo(page, "edtFolk1", w.FolkFld, pickList(0), true);
    edtNative1 = boundEdit(page, "edtNative1", w.NativeFld);
    PageBuilder b(page);
    b.row(S("兵役状况"), {edtMilivice1});
    b.row(S("身高"), {edtStature1, text("到"), edtStature2}, 1);
    b.row(S("血型"), {edtBloodtype1});
    b.row(S("宗教信仰"), {edtReligion1}, 1);
    b.row(S("工资账号"), {edtBankId1});
    b.row(S("医保账号"), {edtYiBaoId1}, 1);
    b.row(S("养老账号"), {edtYangBaoId1});
    b.row(S("毕业日期"), {edtGraduateDate1, text("截止"), edtGraduateDate2}, 1);
    b.row(S("毕业学校"), {edtSchool1});
    b.row(S("民族"), {edtFolk1}, 1);
    b.row(S("籍贯"), {edtNative1});
    b.finish();
}

void TEmpFindFrm::Reset()
{
    m_where->Reset();
    RefreshDataControls(m_where->DataSet());
    SetDepartment(QString(), QString());
    cbOnjob1->setChecked(false);
}

void TEmpFindFrm::SetDepartment(const QString &code, const QString &path)
{
    edtDept1->setText(code.isEmpty() ? QString() : path);
    edtDept1->setToolTip(code);
}

void TEmpFindFrm::Button1Click()
{
    RDepartment picked;
    if (!PickDepartment(edtDept1->toolTip(), &picked, this))
        return;
    SetDepartment(picked.Code, picked.Path);
}

void TEmpFindFrm::Button5Click()
{
    TEmployeeWhere &w = *m_where;
    w.UpdateRecord();
    w.DeptIdFld->SetValue(
        edtDept1->toolTip().isEmpty() ? QVariant() : QVariant(edtDept1->toolTip()));
    // Searching by dismissal details means searching among the dismissed:
    // limiting those to people on duty would find next to nobody.
    const bool onDutyOnly = !cbOnjob1->isChecked() && !w.HasDismissalDetails();
    w.DisyesFld->SetValue(onDutyOnly ? QVariant(false) : QVariant());
    if (!OnFind || OnFind(w))
        accept();
}
