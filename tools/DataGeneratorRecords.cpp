#include "DataGeneratorPrivate.h"

#include <QDateTime>
#include <QSet>
#include <algorithm>
#include <cmath>

using namespace DataGen;
using namespace DataVocabulary;

void DataGenerator::Private::writeDismissals(const Person &p)
{
    Random &r = stream(QStringLiteral("empjout"));
    RowWriter &w = writer(QStringLiteral("empjout"));
    auto dismissal = [&](int id, const QDate &date, const QDate &started) {
        const Stint &held = p.at(date);
        w << id << p.id << day(started) << departments[held.dept].code << postNames[held.post]
          << day(date) << leaveReasons.pick(r) << approvers.pick(r)
          << (r.chance(0.3) ? QVariant(u("已办理工作交接及离职手续。")) : QVariant());
        w.write();
    };
    if (p.earlierJoutId) {
        dismissal(p.earlierJoutId, p.earlierLeft, p.joined().date);
        if (has("empback")) {
            Random &b = stream(QStringLiteral("empback"));
            const Stint &back = p.at(p.returned);
            RowWriter &wb = writer(QStringLiteral("empback"));
            wb << p.earlierJoutId << day(p.returned) << departments[back.dept].code
               << postNames[back.post] << approvers.pick(b)
               << (b.chance(0.4) ? QVariant(u("本人申请复职,经考核同意。")) : QVariant());
            wb.write();
        }
    }
    if (p.joutId)
        dismissal(p.joutId, p.left, p.returned.isValid() ? p.returned : p.joined().date);
}

void DataGenerator::Private::writeTrial(const Person &p)
{
    Random &r = stream(QStringLiteral("emptrials"));
    const QDate start = p.joined().date;
    const bool recent = start.daysTo(today()) < 200;
    if (!recent && !r.chance(0.1))
        return;
    const QDate end = start.addMonths(r.chance(0.7) ? 3 : 6).addDays(-1);
    const bool quit = p.left.isValid() && p.left <= end;
    const bool done = end < today() && !quit;
    const Post &post = posts[p.joined().post];
    RowWriter &w = writer(QStringLiteral("emptrials"));
    w << p.id << postNames[p.joined().post] << day(start) << day(end)
      << static_cast<double>(r.between(25, 45 + post.gradeHigh * 10) * 100)
      << (r.chance(0.6) ? QVariant(u("熟悉岗位职责及操作规程,完成岗位培训并通过考核。"))
                        : QVariant())
      << (done ? day(std::min(today(), end.addDays(r.below(4)))) : QVariant())
      << (done ? QVariant(fullName(r, r.chance(0.6))) : QVariant())
      << (done          ? QVariant(u(r.pick(trialResults)))
                 : quit ? QVariant(u("试用期内离职。"))
                        : QVariant());
    w.write();
}

void DataGenerator::Private::writeRelations(const Person &p)
{
    Random &r = stream(QStringLiteral("relationship"));
    RowWriter &w = writer(QStringLiteral("relationship"));
    const Region &region = regions[p.region];
    auto add = [&](const QString &name, const QString &relation, const QDate &birthday,
                   const QString &duty) {
        w << nextId(QStringLiteral("relationship"), QStringLiteral("Id")) << p.id << name
          << relation << day(birthday) << duty << QVariant();
        w.write();
    };
    auto duty = [&](const QDate &birthday) {
        const int age = birthday.daysTo(today()) / 365;
        if (age < 6)
            return u("学龄前");
        if (age < 18)
            return u(region.city) + u("第%1中学学生").arg(chineseNumber(r.between(1, 9)));
        if (age < 22)
            return u(r.pick(universities)) + u("学生");
        if (age >= 60)
            return r.chance(0.6) ? u("退休") : u("务农");
        const QString company = firm(r, region);
        return company + QLatin1Char(' ') + r.word(relativeDuties);
    };
    QString spouseSurname;
    if (p.married) {
        spouseSurname = surnames.pick(r);
        const QString name = spouseSurname + givenName(r, !p.male);
        const QDate birthday = p.birthday.addDays(r.between(-5 * 365, 3 * 365));
        add(name, u("配偶"), birthday, duty(birthday));
        const int children = p.birthday.daysTo(today()) / 365 >= 26 ? r.below(3) : 0;
        for (int c = 0; c < children; ++c) {
            const QDate born = p.birthday.addYears(r.between(24, 36)).addDays(r.below(365));
            if (born >= today())
                continue;
            const bool son = r.chance(0.52);
            const QString name = (p.male ? p.surname : spouseSurname) + givenName(r, son);
            add(name, son ? u("儿子") : u("女儿"), born, duty(born));
        }
    }
    if (r.chance(0.55)) {
        const QDate born = p.birthday.addYears(-r.between(22, 32)).addDays(r.below(365));
        const QString name = p.surname + givenName(r, true);
        add(name, u("父亲"), born, duty(born));
    }
    if (r.chance(0.55)) {
        const QDate born = p.birthday.addYears(-r.between(20, 30)).addDays(r.below(365));
        const QString name = fullName(r, false);
        add(name, u("母亲"), born, duty(born));
    }
}

void DataGenerator::Private::writeWorkHistory(const Person &p)
{
    Random &r = stream(QStringLiteral("workstory"));
    const QDate joined = p.joined().date;
    QDate from = p.graduated.addDays(r.between(10, 120));
    const int gapYears = static_cast<int>(from.daysTo(joined) / 365);
    if (gapYears < 1)
        return;
    const int jobs = std::min(gapYears, r.between(1, 3));
    RowWriter &w = writer(QStringLiteral("workstory"));
    for (int j = 0; j < jobs; ++j) {
        const qint64 left = from.daysTo(joined);
        const QDate to = j + 1 == jobs
            ? joined.addDays(-r.between(7, 60))
            : from.addDays(std::max<qint64>(180, left / (jobs - j) - r.below(60)));
        if (to <= from)
            break;
        w << nextId(QStringLiteral("workstory"), QStringLiteral("Id")) << p.id << day(from)
          << day(to) << firm(r, regions[r.chance(0.6) ? 0 : p.region]) << u(r.pick(outsideDuties))
          << (r.chance(0.5) ? QVariant(fullName(r, r.chance(0.5))) : QVariant()) << QVariant();
        w.write();
        from = to.addDays(r.between(5, 90));
        if (from >= joined)
            break;
    }
}

void DataGenerator::Private::writeEducation(const Person &p)
{
    Random &r = stream(QStringLiteral("education"));
    struct Stage
    {
        int diploma;
        int years;
    };
    QVector<Stage> stages;
    switch (p.diploma) {
    case Doctor:
        stages = {{HighSchool, 3}, {Bachelor, 4}, {Master, 3}, {Doctor, 3}};
        break;
    case Master:
        stages = {{HighSchool, 3}, {Bachelor, 4}, {Master, 3}};
        break;
    case Bachelor:
        stages = {{HighSchool, 3}, {Bachelor, 4}};
        break;
    case College:
        stages = {{HighSchool, 3}, {College, 3}};
        break;
    case Secondary:
    case Technical:
    case HighSchool:
        stages = {{Junior, 3}, {p.diploma, 3}};
        break;
    default:
        stages = {{Junior, 3}};
        break;
    }
    // Older staff often list only their last school.
    if (stages.size() > 1 && r.chance(0.3))
        stages.remove(0, stages.size() - 1);
    int endYear = p.graduated.year();
    QVector<QVariantList> rows;
    for (int s = static_cast<int>(stages.size()) - 1; s >= 0; --s) {
        const Stage &stage = stages[s];
        const bool last = s == stages.size() - 1;
        const QString school = last ? p.school : schoolFor(r, stage.diploma, regions[p.region]);
        const QString major = last ? p.specialty : majorFor(r, stage.diploma, p.field);
        const QString level = diplomaNames[stage.diploma];
        rows.prepend({day(QDate(endYear - stage.years, 9, 1)), day(QDate(endYear, 7, 1)), school,
            major.isEmpty() ? level : level + u("(") + major + u(")"),
            r.chance(0.3) ? QVariant(fullName(r, r.chance(0.5))) : QVariant()});
        endYear -= stage.years;
    }
    RowWriter &w = writer(QStringLiteral("education"));
    for (const QVariantList &row : rows) {
        w << nextId(QStringLiteral("education"), QStringLiteral("Id")) << p.id;
        for (const QVariant &v : row)
            w << v;
        w << QVariant();
        w.write();
    }
}

QString DataGenerator::Private::moveReason(Random &r, bool promoted, bool samePost)
{
    if (promoted)
        return u("晋升");
    const QString reason = moveReasons.pick(r);
    if (samePost && (reason == u("晋升") || reason == u("降职")))
        return u("轮岗");
    return reason;
}

void DataGenerator::Private::writeMoves(const Person &p)
{
    Random &r = stream(QStringLiteral("postmove"));
    RowWriter &w = writer(QStringLiteral("postmove"));
    for (int i = 1; i < p.career.size(); ++i) {
        const Stint &from = p.career[i - 1];
        const Stint &to = p.career[i];
        // A return is recorded as the return, not as a move.
        if (p.returned.isValid() && to.date == p.returned)
            continue;
        const int *step = std::find(std::begin(ladder), std::end(ladder), from.post);
        const bool promoted
            = step != std::end(ladder) && step + 1 != std::end(ladder) && *(step + 1) == to.post;
        w << nextId(QStringLiteral("postmove"), QStringLiteral("Id")) << p.id << day(to.date)
          << departments[from.dept].code << departments[from.dept].path << departments[to.dept].code
          << departments[to.dept].path << postNames[from.post] << postNames[to.post]
          << approvers.pick(r) << moveReason(r, promoted, from.post == to.post)
          << (r.chance(0.1) ? QVariant(u("原岗位工作已交接完毕。")) : QVariant());
        w.write();
    }
}

void DataGenerator::Private::writeVacations(const Person &p)
{
    Random &r = stream(QStringLiteral("vacation"));
    RowWriter &w = writer(QStringLiteral("vacation"));
    const QDate end = p.end(today());
    const QDate from = std::max(p.joined().date.addDays(30), end.addYears(-2));
    if (from >= end)
        return;
    const int count = static_cast<int>(std::lround(r.unit() * 3.0 * from.daysTo(end) / 365.0));
    QVector<QDate> starts;
    for (int i = 0; i < count; ++i)
        starts.append(r.dayBetween(from, end));
    std::sort(starts.begin(), starts.end());
    for (const QDate &begin : starts) {
        int type = leaveMix.pickIndex(r);
        // Maternity leave only for women of the age, paternity only for married men.
        const int age = p.birthday.daysTo(begin) / 365;
        if ((type == 5 && (p.male || age > 42)) || (type == 6 && (!p.male || !p.married)))
            type = 0;
        const LeaveType &leave = leaveTypes[type];
        const QDate last = begin.addDays(r.between(leave.minDays, leave.maxDays) - 1);
        const QDate back = last.addDays(1);
        w << nextId(QStringLiteral("vacation"), QStringLiteral("Id")) << p.id
          << day(begin.addDays(-r.below(8))) << leaveMix.at(type) << day(begin) << day(last)
          << fullName(r, r.chance(0.6))
          << (r.chance(0.15) ? QVariant(u("已安排工作代理人。")) : QVariant())
          << (back <= today() ? day(back) : QVariant());
        w.write();
    }
}

void DataGenerator::Private::writeContracts(const Person &p)
{
    Random &r = stream(QStringLiteral("contracts"));
    RowWriter &w = writer(QStringLiteral("contracts"));
    const QDate end = p.end(today());
    QString name = u("劳动合同书");
    int firstYears = r.chance(0.6) ? 3 : r.between(1, 2);
    if (p.employType == u("劳务派遣"))
        name = u("劳务派遣协议");
    else if (p.employType == u("实习生"))
        name = u("实习协议");
    else if (p.employType == u("退休返聘"))
        name = u("退休返聘协议");
    if (name != u("劳动合同书"))
        firstYears = 1;
    QDate start = p.joined().date;
    for (int n = 0; start <= end && n < 40; ++n) {
        // Two fixed terms in a row lead to an open-ended contract.
        const bool openEnded = name == u("劳动合同书") && n >= 2 && r.chance(0.6);
        const int years = n == 0 ? firstYears : (r.chance(0.5) ? 3 : 5);
        const QDate until = openEnded ? QDate() : start.addYears(years).addDays(-1);
        w << nextId(QStringLiteral("contracts"), QStringLiteral("ContractId")) << p.id
          << QStringLiteral("HT%1-%2")
                 .arg(start.year())
                 .arg(r.between(1, 99999), 5, 10, QLatin1Char('0'))
          << name
          << (openEnded                        ? u("无固定期限")
                     : name == u("劳动合同书") ? u("固定期限")
                                               : u("劳务"))
          << day(start.addDays(-r.below(6))) << day(start) << day(until)
          << (n > 0 && r.chance(0.5) ? QVariant(u("第%1次续签").arg(n)) : QVariant());
        w.write();
        if (openEnded)
            break;
        start = until.addDays(1);
        if (p.earlierLeft.isValid() && start > p.earlierLeft && start < p.returned)
            start = p.returned;
    }
}

void DataGenerator::Private::writeCertificates(const Person &p)
{
    Random &r = stream(QStringLiteral("certificates"));
    const int post = p.current().post;
    const bool workshop = posts[post].skilled || post == Driver || post == Storekeeper;
    if (!r.chance(workshop ? 0.45 : 0.25))
        return;
    RowWriter &w = writer(QStringLiteral("certificates"));
    const int count = r.chance(0.7) ? 1 : 2;
    for (int c = 0; c < count; ++c) {
        const Certificate &cert
            = workshop ? r.pick(workshopCertificates) : r.pick(officeCertificates);
        const QDate from = r.dayBetween(p.graduated, p.end(today()));
        w << nextId(QStringLiteral("certificates"), QStringLiteral("Id")) << p.id
          << QStringLiteral("%1%2")
                 .arg(QLatin1Char(static_cast<char>('A' + r.below(26))))
                 .arg(r.digits(11))
          << u(cert.name) << u(cert.organ) << day(from)
          << day(cert.years ? from.addYears(cert.years).addDays(-1) : QDate()) << QVariant();
        w.write();
    }
}

void DataGenerator::Private::writeRewards(const Person &p)
{
    Random &r = stream(QStringLiteral("rewards"));
    if (!r.chance(0.12))
        return;
    RowWriter &w = writer(QStringLiteral("rewards"));
    const int count = r.chance(0.75) ? 1 : 2;
    for (int c = 0; c < count; ++c) {
        const int title = rewardTitles.pickIndex(r);
        const bool penalty = title >= 6;
        const QDate granted = r.dayBetween(p.joined().date.addDays(30), p.end(today()));
        const bool cancelled = penalty && r.chance(0.15) && granted.addYears(1) < today();
        const QString reason = penalty ? u(r.pick(penaltyReasons)) : u(r.pick(rewardReasons));
        const QString contents = penalty
            ? u("因%1,给予%2处分。").arg(reason, rewardTitles.at(title))
            : u("因%1,给予%2,奖励人民币%3元。")
                  .arg(reason, rewardTitles.at(title))
                  .arg(r.between(2, 20) * 100);
        w << nextId(QStringLiteral("rewards"), QStringLiteral("Id")) << p.id
          << rewardTitles.at(title) << contents << reason << day(granted)
          << (cancelled ? day(granted.addYears(1)) : QVariant())
          << (cancelled ? QVariant(u("处分期满,表现良好。")) : QVariant())
          << (penalty ? personnelName : officeName) << approvers.pick(r) << QVariant();
        w.write();
    }
}

void DataGenerator::Private::writeAssessments(const Person &p)
{
    Random &r = stream(QStringLiteral("tests"));
    RowWriter &w = writer(QStringLiteral("tests"));
    const bool quarterly = posts[p.current().post].skilled;
    auto add = [&](const QString &type, const QString &term, const QDate &periodEnd) {
        double spread = r.unit();
        spread += r.unit();
        spread += r.unit();
        const double mark
            = std::clamp(std::round((82.0 + (spread - 1.5) * 16.0) * 10) / 10, 50.0, 100.0);
        const int grade = mark >= 90 ? 0 : mark >= 80 ? 1 : mark >= 70 ? 2 : mark >= 60 ? 3 : 4;
        w << nextId(QStringLiteral("tests"), QStringLiteral("Id")) << p.id << type << term
          << day(std::min(today(), periodEnd.addDays(r.between(3, 20)))) << mark
          << u(assessmentGrades[grade])
          << (r.chance(0.5) ? QVariant(u(r.pick(assessmentOpinions))) : QVariant())
          << fullName(r, r.chance(0.6)) << QVariant();
        w.write();
    };
    for (int year = today().year() - 3; year < today().year(); ++year) {
        const QDate yearEnd(year, 12, 31);
        if (p.employedOn(yearEnd, today()) && p.joined().date < QDate(year, 10, 1)
            && r.chance(0.75))
            add(u("年度考核"), u("全年"), yearEnd);
    }
    if (quarterly) {
        const int year = today().year() - 1;
        for (int q = 0; q < 4; ++q) {
            const QDate quarterEnd = QDate(year, q * 3 + 1, 1).addMonths(3).addDays(-1);
            if (p.employedOn(quarterEnd, today()) && r.chance(0.5))
                add(u("季度考核"), u("第%1季度").arg(chineseNumber(q + 1)), quarterEnd);
        }
    }
}

void DataGenerator::Private::writeTrainings(const Person &p)
{
    Random &r = stream(QStringLiteral("Trains"));
    if (courses.isEmpty() || !r.chance(0.45))
        return;
    const QDate from = p.joined().date;
    const QDate to = p.end(today());
    auto first = std::lower_bound(courses.begin(), courses.end(), from,
        [](const Course &c, const QDate &d) { return c.begin < d; });
    auto last = std::upper_bound(courses.begin(), courses.end(), to,
        [](const QDate &d, const Course &c) { return d < c.begin; });
    const int available = static_cast<int>(last - first);
    if (available <= 0)
        return;
    const int count = std::min(available, r.between(1, 3));
    QSet<int> taken;
    RowWriter &w = writer(QStringLiteral("Trains"));
    for (int i = 0; i < count; ++i) {
        const Course &course = *(first + r.below(available));
        if (taken.contains(course.id) || !p.employedOn(course.begin, today()))
            continue;
        taken.insert(course.id);
        const double point = std::round((60 + r.unit() * 40) * 10) / 10;
        const int grade = point >= 90 ? 0 : point >= 80 ? 1 : point >= 70 ? 2 : 3;
        w << nextId(QStringLiteral("Trains"), QStringLiteral("TrnId")) << p.id
          << departments[p.at(course.begin).dept].path << course.id << point
          << u(assessmentGrades[grade])
          << (r.chance(0.1) ? QVariant(u("学习认真,积极参与讨论。")) : QVariant()) << QVariant()
          << day(std::min(today(), course.end.addDays(r.below(4))));
        w.write();
    }
}

void DataGenerator::Private::writeTrainingCatalogue()
{
    Random &r = stream(QStringLiteral("TrainOrgans"));
    RowWriter &organs = writer(QStringLiteral("TrainOrgans"));
    int n = 0;
    for (const auto &organ : trainingOrgans) {
        const int id = nextId(QStringLiteral("TrainOrgans"), QStringLiteral("OrganId"));
        organIds.append(id);
        const QString site = QString::fromLatin1(organ[2]);
        organs << id << u(organ[0]) << u(organ[1]) << landline(r)
               << (r.chance(0.6) ? QVariant(landline(r)) : QVariant()) << textOrNull(site)
               << u("苏州市") + r.word(homeDistricts) + street(r) << fullName(r, r.chance(0.5))
               << mobile(r)
               << (site.isEmpty() ? QVariant()
                                  : QVariant(QStringLiteral("px%1@%2").arg(++n).arg(
                                      site.section(QLatin1Char('.'), -2))))
               << QVariant();
        organs.write();
    }
    if (!has("TrainCourses"))
        return;
    Random &c = stream(QStringLiteral("TrainCourses"));
    RowWriter &w = writer(QStringLiteral("TrainCourses"));
    const int count = std::clamp(10 + options.employees / 250, 10, 500);
    for (int i = 0; i < count; ++i) {
        const auto &course = c.pick(DataVocabulary::courses);
        const QDate begin = c.dayBetween(today().addYears(-6), today().addDays(60));
        const QDate end = begin.addDays(c.below(5));
        const int hours = c.between(1, 20) * 2;
        const int id = nextId(QStringLiteral("TrainCourses"), QStringLiteral("CourseId"));
        courses.append({id, begin, end});
        w << id << u(course[0]) << u(course[1]) << organIds[c.below(organIds.size())]
          << departments[leaves[c.below(leaves.size())]].path << u(c.pick(trainees)) << day(begin)
          << day(end) << hours << static_cast<double>(hours * c.between(1, 12) * 100) << QVariant();
        w.write();
    }
    std::sort(courses.begin(), courses.end(),
        [](const Course &a, const Course &b) { return a.begin < b.begin; });
}

void DataGenerator::Private::writeJobs()
{
    Random &r = stream(QStringLiteral("Zpjobs"));
    RowWriter &w = writer(QStringLiteral("Zpjobs"));
    const int count = std::clamp(3 + options.employees / 3000, 3, 60);
    for (int i = 0; i < count; ++i) {
        const int dept = leaves[leafMix.pickIndex(r)];
        const KindInfo &kind = kinds[departments[dept].kind];
        const int post = kind.staff[r.below(2)].post;
        const QDate confirmed = r.dayBetween(today().addMonths(-18), today().addDays(-10));
        const QDate begin = confirmed.addDays(r.below(11));
        const int id = nextId(QStringLiteral("Zpjobs"), QStringLiteral("Id"));
        jobs.append({id, departments[dept].path});
        jobDays.append(begin);
        w << id << postNames[post]
          << u("1. %1及以上学历;\r\n2. 两年以上相关工作经验;\r\n3. "
               "责任心强,具有良好的沟通能力。")
                 .arg(diplomaNames[posts[post].profile == 0 ? HighSchool
                         : posts[post].profile == 1         ? College
                                                            : Bachelor])
          << u(r.pick(inviteWays)) << departments[dept].path << r.between(1, 10) << day(confirmed)
          << day(begin) << day(begin.addDays(r.between(30, 90))) << QVariant();
        w.write();
    }
}

void DataGenerator::Private::writeApplicants()
{
    Random &r = stream(QStringLiteral("Zpapply"));
    RowWriter &w = writer(QStringLiteral("Zpapply"));
    for (int j = 0; j < jobs.size(); ++j) {
        const int applicants = r.between(2, 8);
        for (int a = 0; a < applicants; ++a) {
            Person p
                = makePerson(r, nextId(QStringLiteral("employee"), QStringLiteral("Id")), -1, true);
            writeEmployee(r, p, true);
            const QDate faced = jobDays[j].addDays(r.between(3, 60));
            const bool interviewed = faced <= today();
            const int verdict = r.below(3); // 0 taken, 1 declined, 2 undecided
            const bool checked = interviewed && verdict != 2;
            w << p.id << jobs[j].first << day(faced)
              << (interviewed ? QVariant(fullName(r, r.chance(0.6))) : QVariant())
              << (interviewed ? QVariant(u("专业知识、工作经历、沟通表达")) : QVariant())
              << (interviewed ? QVariant(verdict == 0 ? u("通过")
                          : verdict == 1              ? u("未通过")
                                                      : u("待定"))
                              : QVariant())
              << (checked ? QVariant(fullName(r, r.chance(0.6))) : QVariant())
              << (checked ? day(std::min(today(), faced.addDays(r.between(1, 7)))) : QVariant())
              << (checked ? QVariant(verdict == 0 ? u("同意录用") : u("不予录用")) : QVariant())
              << QVariant();
            w.write();
        }
    }
}
