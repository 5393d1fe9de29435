#include "DataGenerator.h"

#include "DataGeneratorPrivate.h"

#include "EntitySet.h"
#include "Error.h"

#include <QDateTime>
#include <algorithm>

using namespace DataGen;
using namespace DataVocabulary;

namespace {

const QStringList &optionalTables()
{
    static const QStringList tables = {QStringLiteral("department"), QStringLiteral("empjout"),
        QStringLiteral("empback"), QStringLiteral("emptrials"), QStringLiteral("relationship"),
        QStringLiteral("workstory"), QStringLiteral("education"), QStringLiteral("postmove"),
        QStringLiteral("vacation"), QStringLiteral("contracts"), QStringLiteral("certificates"),
        QStringLiteral("rewards"), QStringLiteral("tests"), QStringLiteral("TrainOrgans"),
        QStringLiteral("TrainCourses"), QStringLiteral("Trains"), QStringLiteral("Zpjobs"),
        QStringLiteral("Zpapply")};
    return tables;
}

int tableIndex(const QString &name)
{
    const QStringList &tables = optionalTables();
    for (int i = 0; i < tables.size(); ++i)
        if (tables[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

// Tables whose rows point into another table bring that table along.
const QHash<QString, QString> &requiredTables()
{
    static const QHash<QString, QString> parents
        = {{QStringLiteral("empback"), QStringLiteral("empjout")},
            {QStringLiteral("Trains"), QStringLiteral("TrainCourses")},
            {QStringLiteral("TrainCourses"), QStringLiteral("TrainOrgans")},
            {QStringLiteral("Zpapply"), QStringLiteral("Zpjobs")}};
    return parents;
}

} // namespace

DataGenerator::Private::Private(TDatabase &database, Options opts)
    : db(database)
    , options(std::move(opts))
    , core(options.seed, 1)
{
    for (const Region &region : regions)
        regionsByWeight.add(region.code, region.weight);
    const int *mixes[3] = {diplomaLow, diplomaMid, diplomaHigh};
    for (int m = 0; m < 3; ++m)
        for (int d = 0; d < 8; ++d)
            diplomaMix[m].add(diplomas[d].text, mixes[m][d]);
    for (const Post &post : posts)
        postNames << u(post.name);
    for (const Diploma &diploma : diplomas)
        diplomaNames << u(diploma.text);
    for (const LeaveType &leave : leaveTypes)
        leaveMix.add(leave.text, leave.weight);
}

// Each table draws from its own stream, so leaving one out changes no
// other, and how many people are made ahead of writing changes nothing.
Random &DataGenerator::Private::stream(const QString &table)
{
    Random *&r = streams[table];
    if (!r) {
        const quint32 tag = table == QLatin1String("employee") ? 2
            : table == QLatin1String("empjoin")                ? 3
            : table == QLatin1String("career")                 ? 4
                                               : 100 + static_cast<quint32>(tableIndex(table));
        streamStore.push_back(std::make_unique<Random>(options.seed, tag));
        r = streamStore.back().get();
    }
    return *r;
}

int DataGenerator::Private::nextId(const QString &table, const QString &key)
{
    auto it = nextIds.find(table);
    if (it == nextIds.end())
        it = nextIds.insert(table, Conventions::NextId(table, key, &db));
    return (*it)++;
}

RowWriter &DataGenerator::Private::writer(const QString &table)
{
    RowWriter *w = writerByTable.value(table);
    if (w)
        return *w;
    static const QHash<QString, QString> columns = {
        {QStringLiteral("employee"),
            QStringLiteral("Id,JoutId,Name,NickName,Sex,BirthPlace,Birthday,Native,Hukou,"
                           "Address,Milivice,IsMry,"
                           "Stature,Bloodtype,Religion,Folk,Diploma,Degree,Party,JobTitle,"
                           "IdCode,Tel,School,"
                           "GraduateDate,Specialty,Biography,SocialRelation,Rewards,Techtitles,"
                           "Training,OtherNote,"
                           "S1,S2,S3,S4,S5,S6,S7,S8,S9,S10,S11,S12,F1,F2,F3,D1,D2,D3")},
        {QStringLiteral("empjoin"),
            QStringLiteral("EmpId,Code,BankId,YangBaoId,YiBaoId,Jointype,JoinDate,EmployType,"
                           "ComeFrom,JoinDeptId,"
                           "JoinDuty,Joinmarks,DutyDeptId,DutyName,DutyDate,Gangchi,GangchiBZ,"
                           "Jineng,JinengBZ")},
        {QStringLiteral("department"), QStringLiteral("Code,Name,Manager,Tel,Fax,Address,Note")},
        {QStringLiteral("empjout"),
            QStringLiteral(
                "Id,EmpId,OutDutyDate,OutDeptId,OutDuty,Disdate,Distype,Disman,Dismarks")},
        {QStringLiteral("empback"),
            QStringLiteral("JoutId,Backdate,BackDeptId,BackDuty,Backman,Backmarks")},
        {QStringLiteral("emptrials"),
            QStringLiteral(
                "EmpId,TryJob,TryDate1,TryDate2,TryWage,TryPlan,TestDate,Testman,TryResult")},
        {QStringLiteral("relationship"),
            QStringLiteral("Id,EmpId,Name,Relation,Birthday,CompanyDuty,Note")},
        {QStringLiteral("workstory"),
            QStringLiteral("Id,EmpId,BeginDate,EndDate,Company,Duty,Attester,Note")},
        {QStringLiteral("education"),
            QStringLiteral("Id,EmpId,BeginDate,EndDate,School,Major,Attester,Note")},
        {QStringLiteral("postmove"),
            QStringLiteral(
                "Id,EmpId,MoveDate,DeptId1,DeptName1,DeptId2,DeptName2,Duty1,Duty2,Sanctionman,"
                "MoveReason,MoveNote")},
        {QStringLiteral("vacation"),
            QStringLiteral("Id,EmpId,Appdate,Typ,Bgndate,Endate,Sanctionman,Remarks,Termdate")},
        {QStringLiteral("contracts"),
            QStringLiteral("ContractId,EmpId,ContractNo,ContractName,ContractType,Signdate,"
                           "Validate,Invalidate,"
                           "Contractmarks")},
        {QStringLiteral("certificates"),
            QStringLiteral("Id,EmpId,CertCode,CertName,CertOrgan,ValidateFrom,ValidateTo,Notes")},
        {QStringLiteral("rewards"),
            QStringLiteral("Id,EmpId,Title,Contents,Reasons,GrantDate,CancelDate,CancelReason,"
                           "SanctionDept,"
                           "Sanctionman,Notes")},
        {QStringLiteral("tests"),
            QStringLiteral(
                "Id,EmpId,TesType,TesTerm,Testday,Tesmark,Tesgrade,TesOpinion,Tesman,Tesnote")},
        {QStringLiteral("TrainOrgans"),
            QStringLiteral("OrganId,Organization,Organtype,Tel,Fax,Website,Addr,Linkman,"
                           "LinkmanTel,LinkmanEmail,"
                           "Notes")},
        {QStringLiteral("TrainCourses"),
            QStringLiteral(
                "CourseId,CourseName,CourseType,OrganId,ForDept,ForObject,BeginDate,EndDate,"
                "CourseHours,CourseFund,CourseNotes")},
        {QStringLiteral("Trains"),
            QStringLiteral(
                "TrnId,TrnEmpid,TrnEmpdept,TrnCourseId,TrnPoint,TrnGrade,TrnComment,TrnNotes,"
                "TrnLogdate")},
        {QStringLiteral("Zpjobs"),
            QStringLiteral("Id,JobName,Requirement,InviteWay,ForDept,Amount,Confirmday,"
                           "Beginday,Enday,Notes")},
        {QStringLiteral("Zpapply"),
            QStringLiteral("EmpId,JobId,Faceday,Faceman,FaceContent,FaceResult,Checkman,"
                           "Checkday,CheckWords,"
                           "Notes")},
    };
    writers.push_back(
        std::make_unique<RowWriter>(db, table, columns.value(table).split(QLatin1Char(','))));
    writerByTable.insert(table, writers.back().get());
    return *writers.back();
}

QString DataGenerator::Private::givenName(Random &r, bool male)
{
    const Words &chars = male ? maleChars : femaleChars;
    const QString first = chars.pick(r);
    if (r.chance(0.22))
        return first;
    QString second = chars.pick(r);
    if (second == first)
        second = chars.pick(r);
    return first + second;
}

// Texts made of several draws are built statement by statement: the
// operands of one "+" may be evaluated in any order.
QString DataGenerator::Private::fullName(Random &r, bool male)
{
    QString name = surnames.pick(r);
    name += givenName(r, male);
    return name;
}

QString DataGenerator::Private::mobile(Random &r)
{
    QString number = QString::fromLatin1(r.pick(mobilePrefixes));
    number += r.digits(8);
    return number;
}

QString DataGenerator::Private::firm(Random &r, const Region &region)
{
    QString name = u(region.city);
    if (name.endsWith(u("市")))
        name.chop(1);
    name += r.word(firmNames);
    name += r.word(firmTrades);
    return name + u("有限公司");
}

QString DataGenerator::Private::street(Random &r)
{
    QString text = r.word(roads);
    return text + u("%1号").arg(r.between(1, 399));
}

QString DataGenerator::Private::home(Random &r)
{
    QString text = u("苏州市") + r.word(homeDistricts);
    text += r.word(roads);
    text += r.word(estates);
    const int building = r.between(1, 30);
    const int room = r.between(1, 18) * 100;
    return text + u("%1幢%2室").arg(building).arg(room + r.between(1, 4));
}

void DataGenerator::Private::addDepartment(const QString &code, const QString &name,
    const QString &parentPath, int kind, int weight, int top)
{
    Department d;
    d.code = code;
    d.name = name;
    d.path = parentPath.isEmpty() ? name : parentPath + QLatin1Char('/') + name;
    d.kind = kind;
    d.weight = weight;
    d.top = top < 0 ? static_cast<int>(departments.size()) : top;
    d.created = true;
    departments.append(d);
}

void DataGenerator::Private::buildDepartments()
{
    int officeWeight = 0;
    for (const DepartmentPlan &plan : departmentPlans) {
        const int children
            = static_cast<int>(u(plan.children).split(QLatin1Char('|'), Qt::SkipEmptyParts).size());
        officeWeight += plan.weight * std::max(1, children);
    }
    // Production holds its share of the head count however many
    // workshops the company's size calls for.
    const int workshops = std::clamp(options.employees / 2000, 2, 50);
    const int productionTotal = officeWeight * productionShare / (100 - productionShare);
    const int shiftWeight = std::max(1, productionTotal * 100 / (workshops * 3));
    int t = 0;
    for (const DepartmentPlan &plan : departmentPlans) {
        const QString code = levelCode(t++);
        const int top = static_cast<int>(departments.size());
        const QString name = u(plan.name);
        const QStringList children = u(plan.children).split(QLatin1Char('|'), Qt::SkipEmptyParts);
        addDepartment(
            code, name, QString(), plan.kind, children.isEmpty() ? plan.weight * 100 : 0, -1);
        if (plan.kind == Production) {
            for (int w = 0; w < workshops; ++w) {
                const QString workshopCode = code + levelCode(w);
                const QString workshop = chineseNumber(w + 1) + u("车间");
                addDepartment(workshopCode, workshop, name, Production, 0, top);
                for (int s = 0; s < 3; ++s)
                    addDepartment(workshopCode + levelCode(s), u(shifts[s]),
                        name + QLatin1Char('/') + workshop, Production, shiftWeight, top);
            }
        }
        for (int c = 0; c < children.size(); ++c)
            addDepartment(
                code + levelCode(c), children[c], name, plan.kind, plan.weight * 100, top);
    }
    finishDepartments();
}

// An existing tree is used as it is; kinds are guessed from the names.
void DataGenerator::Private::loadDepartments()
{
    TDataSet set;
    db.Fill(set, QStringLiteral("select Code, Name from department order by Code"));
    QHash<QString, int> byCode;
    for (set.First(); !set.Eof(); set.Next()) {
        Department d;
        d.code = set.FieldByName(QStringLiteral("Code"))->AsString().trimmed();
        d.name = set.FieldByName(QStringLiteral("Name"))->AsString();
        if (d.code.isEmpty())
            continue;
        const int parent = byCode.value(d.code.left(d.code.size() - 2), -1);
        d.path = parent >= 0 ? departments[parent].path + QLatin1Char('/') + d.name : d.name;
        d.top = parent >= 0 ? departments[parent].top : static_cast<int>(departments.size());
        d.kind = parent >= 0 ? departments[parent].kind : Office;
        for (int k = 0; k < KindCount; ++k)
            if (d.name.contains(u(kinds[k].keyword)))
                d.kind = k;
        if (d.name.contains(u("生产")))
            d.kind = Production;
        d.weight = d.kind == Production ? 400 : 100;
        byCode.insert(d.code, static_cast<int>(departments.size()));
        departments.append(d);
    }
    if (departments.isEmpty())
        throw QmError(QStringLiteral(
            "the database has no departments and \"department\" is not among the tables "
            "to generate"));
    finishDepartments();
}

void DataGenerator::Private::finishDepartments()
{
    QSet<QString> parents;
    for (const Department &d : departments)
        if (d.code.size() > 2)
            parents.insert(d.code.left(d.code.size() - 2));
    for (int i = 0; i < departments.size(); ++i) {
        Department &d = departments[i];
        d.leaf = !parents.contains(d.code);
        if (d.leaf) {
            leaves.append(i);
            leafMix.add("", std::max(1, d.weight));
        }
        if (d.kind == Office && d.code.size() == 2 && officeName.isEmpty())
            officeName = d.name;
        if (d.kind == HumanResources && d.code.size() == 2 && personnelName.isEmpty())
            personnelName = d.name;
    }
    if (officeName.isEmpty())
        officeName = departments.first().name;
    if (personnelName.isEmpty())
        personnelName = officeName;

    // The heads come first: one general manager and three deputies in the
    // first department, a manager and a deputy per top-level department,
    // a supervisor per second-level one.
    managementSlots.append({0, GeneralManager});
    for (int i = 0; i < 3; ++i)
        managementSlots.append({0, DeputyGeneralManager});
    for (int pass = 0; pass < 2; ++pass)
        for (int i = 1; i < departments.size(); ++i)
            if (departments[i].code.size() == 2)
                managementSlots.append({i, pass == 0 ? DepartmentManager : DeputyManager});
    for (int i = 0; i < departments.size(); ++i)
        if (departments[i].code.size() == 4)
            managementSlots.append({i, Supervisor});
}

void DataGenerator::Private::writeDepartments()
{
    Random &r = stream(QStringLiteral("department"));
    RowWriter &w = writer(QStringLiteral("department"));
    for (int i = 0; i < departments.size(); ++i) {
        const Department &d = departments[i];
        if (!d.created)
            continue;
        const QString building = d.kind == Production ? chineseNumber(d.top % 9 + 1) + u("号厂房")
                                                      : u("行政楼%1楼").arg(1 + d.top % 6);
        w << d.code << d.name << textOrNull(managerNames.value(i)) << landline(r)
          << (r.chance(0.5) ? QVariant(landline(r)) : QVariant()) << companyAddress() + building
          << QVariant();
        w.write();
    }
}

void DataGenerator::Private::writePerson(const Person &p)
{
    writeEmployee(stream(QStringLiteral("employee")), p, false);
    writeJoin(stream(QStringLiteral("empjoin")), p);
    if (p.joutId || p.earlierJoutId)
        writeDismissals(p);
    if (has("emptrials"))
        writeTrial(p);
    if (has("relationship"))
        writeRelations(p);
    if (has("workstory"))
        writeWorkHistory(p);
    if (has("education"))
        writeEducation(p);
    if (has("postmove"))
        writeMoves(p);
    if (has("vacation"))
        writeVacations(p);
    if (has("contracts"))
        writeContracts(p);
    if (has("certificates"))
        writeCertificates(p);
    if (has("rewards"))
        writeRewards(p);
    if (has("tests"))
        writeAssessments(p);
    if (has("Trains"))
        writeTrainings(p);
}

void DataGenerator::Private::inTransaction(const std::function<void()> &work)
{
    db.BeginTrans();
    try {
        work();
        for (const auto &w : writers)
            w->flush();
        db.CommitTrans();
    } catch (...) {
        db.RollbackTrans();
        throw;
    }
}

// ---------------------------------------------------------------- DataGenerator

DataGenerator::DataGenerator(TDatabase &db, Options options)
    : d(std::make_unique<Private>(db, std::move(options)))
{ }

DataGenerator::~DataGenerator() = default;

QStringList DataGenerator::OptionalTables()
{
    return optionalTables();
}

QVector<DataGenerator::TableCount> DataGenerator::run()
{
    Options &o = d->options;
    // The ids and the tree read at the start would be stale the second time.
    if (d->ran)
        throw QmError(QStringLiteral("a DataGenerator runs once; make a new one"));
    d->ran = true;
    if (o.employees < 0)
        throw QmError(QStringLiteral("the number of employees cannot be negative"));
    if (!o.today.isValid())
        throw QmError(QStringLiteral("no valid day to generate the history up to"));
    o.chunk = std::max(1, o.chunk);
    QStringList wanted = o.tables.isEmpty() ? optionalTables() : o.tables;
    for (int i = 0; i < wanted.size(); ++i) {
        const int known = tableIndex(wanted[i]);
        if (known < 0)
            throw QmError(QStringLiteral("unknown table \"%1\"; the generator fills %2")
                              .arg(wanted[i], optionalTables().join(QStringLiteral(", "))));
        d->tables.insert(optionalTables()[known]);
        const QString parent = requiredTables().value(optionalTables()[known]);
        if (!parent.isEmpty())
            wanted.append(parent);
    }

    TDataSet existing;
    d->db.Fill(existing, QStringLiteral("select count(*) from department"));
    const bool newTree = d->has("department") && existing.Fields(0)->AsInteger() == 0;
    if (newTree)
        d->buildDepartments();
    else
        d->loadDepartments();

    // The heads are made first so that the departments can name them.
    const int firstChunk = std::max(o.chunk, static_cast<int>(d->managementSlots.size()));
    int made = 0;
    auto makeChunk = [&](int size) {
        QVector<Person> people;
        const int end = std::min(o.employees, made + size);
        for (; made < end; ++made) {
            const int slot = made < d->managementSlots.size() ? made : -1;
            Person p = d->makePerson(
                d->core, d->nextId(QStringLiteral("employee"), QStringLiteral("Id")), slot, false);
            if (p.earlierLeft.isValid())
                p.earlierJoutId = d->nextId(QStringLiteral("empjout"), QStringLiteral("Id"));
            if (p.left.isValid())
                p.joutId = d->nextId(QStringLiteral("empjout"), QStringLiteral("Id"));
            if (slot >= 0 && !d->managerNames.contains(d->managementSlots[slot].first))
                d->managerNames.insert(d->managementSlots[slot].first, p.name);
            people.append(std::move(p));
        }
        return people;
    };

    QVector<Person> people = makeChunk(firstChunk);
    // Every table asked for is reported, also where it got no rows.
    d->writer(QStringLiteral("employee"));
    d->writer(QStringLiteral("empjoin"));
    for (const QString &table : optionalTables())
        if (d->tables.contains(table) && (table != QLatin1String("department") || newTree))
            d->writer(table);
    d->inTransaction([&] {
        if (newTree)
            d->writeDepartments();
        if (d->has("TrainOrgans"))
            d->writeTrainingCatalogue();
        if (d->has("Zpjobs"))
            d->writeJobs();
    });
    while (!people.isEmpty()) {
        d->inTransaction([&] {
            for (const Person &p : people)
                d->writePerson(p);
        });
        if (OnProgress)
            OnProgress(made, o.employees);
        people = makeChunk(o.chunk);
    }
    if (d->has("Zpapply"))
        d->inTransaction([&] { d->writeApplicants(); });

    QVector<TableCount> counts;
    for (const auto &w : d->writers)
        counts.append({w->table(), w->rows()});
    return counts;
}
