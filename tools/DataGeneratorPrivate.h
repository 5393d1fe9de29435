#pragma once

#include "DataGenerator.h"
#include "DataVocabulary.h"
#include "GeneratorSupport.h"

#include <QHash>
#include <QSet>
#include <functional>
#include <memory>
#include <vector>

// The generator's state and steps, shared by DataGenerator.cpp (streams,
// writers, departments, the run), DataGeneratorPeople.cpp (the people and
// their joining rows) and DataGeneratorRecords.cpp (everything else that
// happens to them).
struct DataGenerator::Private
{
    TDatabase &db;
    Options options;
    QSet<QString> tables;
    bool ran = false;

    // Word lists, converted once.
    DataGen::Words surnames{DataVocabulary::surnames};
    DataGen::Words maleChars{DataVocabulary::maleNameChars};
    DataGen::Words femaleChars{DataVocabulary::femaleNameChars};
    DataGen::Words folks{DataVocabulary::folks};
    DataGen::Words bloodTypes{DataVocabulary::bloodTypes};
    DataGen::Words religions{DataVocabulary::religions};
    DataGen::Words military{DataVocabulary::militaryStates};
    DataGen::Words employTypes{DataVocabulary::employTypes};
    DataGen::Words sources{DataVocabulary::sources};
    DataGen::Words approvers{DataVocabulary::approvers};
    DataGen::Words moveReasons{DataVocabulary::moveReasons};
    DataGen::Words leaveReasons{DataVocabulary::leaveReasons};
    DataGen::Words rewardTitles{DataVocabulary::rewardTitles};
    DataGen::Words engineering{DataVocabulary::engineeringTitles};
    DataGen::Words technician{DataVocabulary::technicianTitles};
    DataGen::Words accounting{DataVocabulary::accountingTitles};
    DataGen::Words managementTitle{DataVocabulary::managementTitles};
    DataGen::Words regionsByWeight;
    DataGen::Words diplomaMix[3];
    QStringList postNames;
    QStringList diplomaNames;
    DataGen::Words leaveMix;

    QVector<DataGen::Department> departments;
    QVector<int> leaves;
    DataGen::Words leafMix; // leaves weighted by head count, texts unused
    QVector<QPair<int, int>> managementSlots; // department, post
    QHash<int, QString> managerNames; // department index -> name of its head
    QString officeName; // approving departments of rewards
    QString personnelName;
    QVector<int> organIds;
    QVector<DataGen::Course> courses;
    QVector<QPair<int, QString>> jobs; // id, department path
    QVector<QDate> jobDays;

    QSet<QString> idCodes;
    QHash<QString, int> nextIds;
    std::vector<std::unique_ptr<DataGen::RowWriter>> writers;
    QHash<QString, DataGen::RowWriter *> writerByTable;

    DataGen::Random core;
    QHash<QString, DataGen::Random *> streams;
    std::vector<std::unique_ptr<DataGen::Random>> streamStore;

    Private(TDatabase &database, Options opts);
    bool has(const char *table) const { return tables.contains(QLatin1String(table)); }
    const QDate &today() const { return options.today; }
    DataGen::Random &stream(const QString &table);
    int nextId(const QString &table, const QString &key);
    DataGen::RowWriter &writer(const QString &table);

    // ------------------------------------------------------------ names

    QString givenName(DataGen::Random &r, bool male);
    QString fullName(DataGen::Random &r, bool male);
    QString mobile(DataGen::Random &r);
    QString landline(DataGen::Random &r) { return QStringLiteral("0512-6") + r.digits(7); }
    QString firm(DataGen::Random &r, const DataVocabulary::Region &region);
    QString street(DataGen::Random &r);
    QString home(DataGen::Random &r);
    QString companyAddress() const { return DataGen::u("苏州市吴中区东吴北路88号"); }

    // ------------------------------------------------------------ departments

    void addDepartment(const QString &code, const QString &name, const QString &parentPath,
        int kind, int weight, int top);
    static QString levelCode(int n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); }
    void buildDepartments();
    void loadDepartments();
    void finishDepartments();
    void writeDepartments();

    // ------------------------------------------------------------ people

    int pickAge(DataGen::Random &r);
    DataGen::Person makePerson(DataGen::Random &r, int id, int slot, bool applicant);
    void addMoves(DataGen::Person &p, int count);
    QString schoolFor(DataGen::Random &r, int diploma, const DataVocabulary::Region &region);
    QString majorFor(DataGen::Random &r, int diploma, int field);
    QString jobTitle(DataGen::Random &r, int post);
    QString party(DataGen::Random &r, int age, bool management);
    QString marital(DataGen::Random &r, const DataGen::Person &p);
    void writeEmployee(DataGen::Random &r, const DataGen::Person &p, bool applicant);
    void writeJoin(DataGen::Random &r, const DataGen::Person &p);

    // ------------------------------------------------------------ related rows

    void writeDismissals(const DataGen::Person &p);
    void writeTrial(const DataGen::Person &p);
    void writeRelations(const DataGen::Person &p);
    void writeWorkHistory(const DataGen::Person &p);
    void writeEducation(const DataGen::Person &p);
    QString moveReason(DataGen::Random &r, bool promoted, bool samePost);
    void writeMoves(const DataGen::Person &p);
    void writeVacations(const DataGen::Person &p);
    void writeContracts(const DataGen::Person &p);
    void writeCertificates(const DataGen::Person &p);
    void writeRewards(const DataGen::Person &p);
    void writeAssessments(const DataGen::Person &p);
    void writeTrainings(const DataGen::Person &p);

    // ------------------------------------------------------------ training and recruitment

    void writeTrainingCatalogue();
    void writeJobs();
    void writeApplicants();
    void writePerson(const DataGen::Person &p);
    void inTransaction(const std::function<void()> &work);
};
