#include "DataGeneratorPrivate.h"

#include <QDateTime>
#include <algorithm>
#include <cmath>

using namespace DataGen;
using namespace DataVocabulary;

int DataGenerator::Private::pickAge(Random &r)
{
    static const int brackets[][3]
        = {{18, 24, 12}, {25, 34, 34}, {35, 44, 28}, {45, 54, 19}, {55, 65, 7}};
    int x = r.below(100);
    for (const auto &b : brackets) {
        if (x < b[2])
            return r.between(b[0], b[1]);
        x -= b[2];
    }
    return 30;
}

// Everything about a person that other rows depend on. Every person
// consumes the same draws whatever the tables, so the core of the
// company is the same for one seed.
Person DataGenerator::Private::makePerson(Random &r, int id, int slot, bool applicant)
{
    Person p;
    p.id = id;
    int dept;
    int post;
    if (slot >= 0) {
        dept = managementSlots[slot].first;
        post = managementSlots[slot].second;
        p.management = true;
    } else {
        dept = leaves[leafMix.pickIndex(r)];
        const KindInfo &kind = kinds[departments[dept].kind];
        int total = 0;
        for (const StaffShare &s : kind.staff)
            total += s.weight;
        int x = r.below(total);
        post = kind.staff[0].post;
        for (const StaffShare &s : kind.staff) {
            if (x < s.weight) {
                post = s.post;
                break;
            }
            x -= s.weight;
        }
    }
    const Post &info = posts[post];
    p.male = r.below(100) < info.malePercent;
    p.diploma = diplomaMix[info.profile].pickIndex(r);
    const KindInfo &kind = kinds[departments[dept].kind];
    p.field = kind.fields[r.chance(1.0 / 3) ? 1 : 0];

    int age = applicant ? r.between(20, 40) : pickAge(r);
    age = std::max(age, diplomas[p.diploma].graduateAge + 1);
    if (p.management)
        age = std::max(age, post == Supervisor ? 28 : 35);
    const QDate latest = today().addYears(-age);
    p.birthday = r.dayBetween(today().addYears(-age - 1).addDays(1), latest);

    p.region = regionsByWeight.pickIndex(r);
    p.surname = surnames.pick(r);
    p.name = p.surname + givenName(r, p.male);
    for (int attempt = 0; attempt < 50; ++attempt) {
        p.idCode
            = idNumber(regions[p.region].code, p.birthday, r.below(500) * 2 + (p.male ? 1 : 0));
        if (!idCodes.contains(p.idCode))
            break;
    }
    idCodes.insert(p.idCode);

    const Diploma &diploma = diplomas[p.diploma];
    int graduateYear = p.birthday.year() + diploma.graduateAge + r.below(2);
    p.graduated = QDate(graduateYear, 7, 1);
    while (p.graduated > today().addMonths(-1))
        p.graduated = p.graduated.addYears(-1);
    p.school = schoolFor(r, p.diploma, regions[p.region]);
    p.specialty = majorFor(r, p.diploma, p.field);
    p.married = age >= 22 && r.chance(age < 28 ? 0.35 : age < 35 ? 0.75 : 0.9);

    if (applicant) {
        p.career.append({QDate(), dept, post});
        return p;
    }

    // Joining: staff numbers grew, so recent joinings are more common.
    QDate earliest = std::max(
        {p.graduated.addDays(r.between(0, 120)), p.birthday.addYears(18), today().addYears(-30)});
    if (earliest >= today())
        earliest = today().addDays(-1);
    const qint64 span = earliest.daysTo(today());
    qint64 ago = static_cast<qint64>(std::pow(r.unit(), 1.25) * static_cast<double>(span)) + 1;
    if (p.management)
        ago = std::max<qint64>(ago, std::min<qint64>(span, 365 * 3));
    const QDate joinDate = today().addDays(-ago);
    p.employType = p.management ? u("正式工") : employTypes.pick(r);
    // Interns stay interns for a year at most; only the retired are re-hired as such.
    if (p.employType == u("实习生") && ago > 365)
        p.employType = u("合同工");
    else if (p.employType == u("退休返聘") && age < 55)
        p.employType = u("正式工");

    // Leaving, and coming back after an earlier leave.
    const bool leaves = !p.management && r.chance(0.08);
    const bool comesBack = !p.management && r.chance(0.016);
    const double leftAt = r.unit();
    const double backAfter = r.unit();
    const int moveCount = [&] {
        const int x = r.below(100);
        return x < 65 ? 0 : x < 87 ? 1 : x < 96 ? 2 : 3;
    }();

    p.career.append({joinDate, dept, post});
    const qint64 service = joinDate.daysTo(today());
    if (leaves && has("empjout") && service > 45) {
        p.left = today().addDays(
            -static_cast<qint64>(std::pow(leftAt, 2.0) * static_cast<double>(service - 30)) - 1);
    } else if (comesBack && has("empjout") && service > 3 * 365) {
        p.earlierLeft = joinDate.addDays(static_cast<qint64>(service * (0.2 + 0.4 * leftAt)));
        p.returned = p.earlierLeft.addDays(60 + static_cast<qint64>(backAfter * 660));
        if (p.returned > today().addDays(-180))
            p.earlierLeft = p.returned = QDate();
    }
    if (p.returned.isValid())
        p.career.append({p.returned, dept, post});
    if (has("postmove") && !p.management)
        addMoves(p, moveCount);
    return p;
}

// The moves draw from a stream of their own, so the people's core draws stay
// the same with or without post moves.
void DataGenerator::Private::addMoves(Person &p, int count)
{
    Random &r = stream(QStringLiteral("career"));
    const QDate from = (p.returned.isValid() ? p.returned : p.joined().date).addDays(180);
    const QDate to = p.end(today()).addDays(-1);
    if (count == 0 || from.daysTo(to) < 365)
        return;
    QVector<QDate> days;
    for (int i = 0; i < count; ++i)
        days.append(r.dayBetween(from, to));
    std::sort(days.begin(), days.end());
    days.erase(std::unique(days.begin(), days.end()), days.end());
    for (const QDate &date : days) {
        const Stint &was = p.current();
        Stint next{date, was.dept, was.post};
        const int top = departments[was.dept].top;
        if (r.chance(0.55)) {
            QVector<int> siblings;
            for (int leaf : leaves)
                if (departments[leaf].top == top && leaf != was.dept)
                    siblings.append(leaf);
            next.dept = siblings.isEmpty() ? leaves[leafMix.pickIndex(r)]
                                           : siblings[r.below(siblings.size())];
        } else {
            next.dept = leaves[leafMix.pickIndex(r)];
        }
        const int *step = std::find(std::begin(ladder), std::end(ladder), was.post);
        const int choice = r.below(100);
        if (choice < 30 && step != std::end(ladder) && step + 1 != std::end(ladder)) {
            next.post = *(step + 1);
        } else if (choice >= 80 || departments[next.dept].kind != departments[was.dept].kind) {
            const KindInfo &kind = kinds[departments[next.dept].kind];
            next.post = kind.staff[0].post;
        }
        if (next.dept == was.dept && next.post == was.post)
            continue;
        p.career.append(next);
    }
}

QString DataGenerator::Private::schoolFor(Random &r, int diploma, const Region &region)
{
    QString city = u(region.city);
    switch (diploma) {
    case Doctor:
    case Master:
    case Bachelor:
        return u(r.pick(universities));
    case College:
        return u(r.pick(colleges));
    case Secondary:
        return city + u("机电中等专业学校");
    case Technical:
        return city + u("技工学校");
    case HighSchool:
        return city + u("第%1中学").arg(chineseNumber(r.between(1, 12)));
    default:
        return u(region.district) + u("第%1初级中学").arg(chineseNumber(r.between(1, 8)));
    }
}

QString DataGenerator::Private::majorFor(Random &r, int diploma, int field)
{
    if (diploma <= Bachelor)
        return u(universityMajors[field][r.below(4)]);
    if (diploma <= Technical)
        return u(collegeMajors[field][r.below(3)]);
    return QString();
}

QString DataGenerator::Private::jobTitle(Random &r, int post)
{
    switch (posts[post].titles) {
    case 1:
        return engineering.pick(r);
    case 2:
        return technician.pick(r);
    case 3:
        return accounting.pick(r);
    case 4:
        return managementTitle.pick(r);
    default:
        return r.chance(0.6) ? u("无") : QString();
    }
}

QString DataGenerator::Private::party(Random &r, int age, bool management)
{
    const int x = r.below(100);
    if (management)
        return x < 55 ? u("中共党员") : x < 60 ? u("民主党派") : u("群众");
    if (age < 28)
        return x < 45 ? u("共青团员")
            : x < 85  ? u("群众")
            : x < 96  ? u("中共党员")
                      : u("中共预备党员");
    return x < 70 ? u("群众")
        : x < 94  ? u("中共党员")
        : x < 96  ? u("民主党派")
        : x < 98  ? u("无党派人士")
                  : u("中共预备党员");
}

QString DataGenerator::Private::marital(Random &r, const Person &p)
{
    if (!p.married)
        return u("未婚");
    const int age = p.birthday.daysTo(today()) / 365;
    const int x = r.below(100);
    if (age >= 40 && x < 8)
        return u("离异");
    if (age >= 50 && x < 10)
        return u("丧偶");
    return u("已婚");
}

void DataGenerator::Private::writeEmployee(Random &r, const Person &p, bool applicant)
{
    const Region &region = regions[p.region];
    const QString province = u(region.province);
    const QString city = u(region.city);
    const QString place = province == city ? city : province + city;
    QString stem = city;
    if (stem.endsWith(u("市")))
        stem.chop(1);
    const QString native = u(region.provinceShort) == stem ? stem : u(region.provinceShort) + stem;
    const int age = p.birthday.daysTo(today()) / 365;
    const Stint &now = p.current();
    const QString folk = folks.pick(r);
    QString religion = religions.pick(r);
    if (folk == u("回族") || folk == u("维吾尔族") || folk == u("哈萨克族"))
        religion = r.chance(0.7) ? u("伊斯兰教") : religion;
    else if (folk == u("藏族") || folk == u("蒙古族"))
        religion = r.chance(0.5) ? u("佛教") : religion;
    const QString title = jobTitle(r, now.post);

    QString biography;
    if (r.chance(0.65)) {
        const Diploma &d = diplomas[p.diploma];
        biography = u("%1-%2 %3 %4 %5")
                        .arg(yearMonth(p.graduated.addYears(-d.years).addMonths(2)),
                            yearMonth(p.graduated), p.school, p.specialty, u(d.text));
        if (!applicant)
            biography += u("\r\n%1 入职本公司,任%2")
                             .arg(yearMonth(p.joined().date), u(posts[p.joined().post].name));
    }
    QString techtitles;
    if (!title.isEmpty() && title != u("无") && r.chance(0.5))
        techtitles = u("%1年取得%2资格")
                         .arg(std::min(today().year(), p.graduated.year() + r.between(2, 10)))
                         .arg(title);

    RowWriter &w = writer(QStringLiteral("employee"));
    w << p.id << (p.joutId ? QVariant(p.joutId) : QVariant()) << p.name
      << (r.chance(0.03) ? QVariant(p.surname + givenName(r, p.male)) : QVariant())
      << (p.male ? u("男") : u("女")) << place << day(p.birthday) << native
      << place + u(region.district) + street(r) << home(r)
      << (p.male ? military.pick(r) : u("未服兵役")) << marital(r, p)
      << (p.male ? r.between(160, 186) : r.between(150, 172))
      << (r.chance(0.9) ? QVariant(bloodTypes.pick(r)) : QVariant()) << religion << folk
      << diplomaNames[p.diploma] << u(diplomas[p.diploma].degree) << party(r, age, p.management)
      << textOrNull(title) << p.idCode << (r.chance(0.95) ? mobile(r) : landline(r)) << p.school
      << day(p.graduated) << textOrNull(p.specialty) << textOrNull(biography) << QVariant()
      << QVariant() << textOrNull(techtitles) << QVariant()
      << (r.chance(0.04) ? QVariant(u(r.pick(otherNotes))) : QVariant());
    // Free fields: a badge number, an emergency phone, years of service
    // and the last medical check; the rest stay empty as in most databases.
    w << (applicant || !r.chance(0.6)
            ? QVariant()
            : QVariant(QStringLiteral("GH%1").arg(p.id, 6, 10, QLatin1Char('0'))))
      << (r.chance(0.25) ? QVariant(mobile(r)) : QVariant());
    for (int s = 3; s <= 12; ++s)
        w << QVariant();
    w << (applicant || !r.chance(0.35)
            ? QVariant()
            : QVariant(std::round(p.joined().date.daysTo(today()) / 36.525) / 10.0))
      << QVariant() << QVariant()
      << (r.chance(0.3) ? day(r.dayBetween(today().addYears(-1), today())) : QVariant())
      << QVariant() << QVariant();
    w.write();
}

void DataGenerator::Private::writeJoin(Random &r, const Person &p)
{
    const Stint &joined = p.joined();
    const Stint &now = p.current();
    const Post &post = posts[now.post];
    const int grade = r.between(post.gradeLow, post.gradeHigh);
    const int years = static_cast<int>(joined.date.daysTo(today()) / 365);
    const int skill = years < 2 ? 0
        : years < 5             ? r.between(0, 1)
        : years < 10            ? r.between(1, 2)
                                : r.between(2, 4);
    const bool campus = joined.date.daysTo(p.graduated) > -365 && r.chance(0.6);
    RowWriter &w = writer(QStringLiteral("empjoin"));
    w << p.id << QStringLiteral("A%1").arg(p.id, 6, 10, QLatin1Char('0'))
      << (r.chance(0.9) ? QVariant(bankCard(r)) : QVariant())
      << (r.chance(0.7) ? QVariant(p.idCode) : QVariant(r.digits(10)))
      << (r.chance(0.9) ? QVariant(r.digits(10)) : QVariant())
      << (p.employType == u("退休返聘") ? u("返聘")
                 : r.chance(0.1)        ? u("调入")
                                        : u("新进"))
      << day(joined.date) << p.employType << (campus ? u("校园招聘") : sources.pick(r))
      << departments[joined.dept].code << postNames[joined.post]
      << (r.chance(0.1) ? QVariant(u("按公司规定办理入职手续,资料齐全。")) : QVariant())
      << departments[now.dept].code << postNames[now.post] << day(now.date) << u(gradeNames[grade])
      << gradeAmounts[grade] << (post.skilled ? QVariant(u(skillNames[skill])) : QVariant())
      << (post.skilled ? QVariant(skillAmounts[skill]) : QVariant());
    w.write();
}
