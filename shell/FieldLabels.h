#pragma once

#include <QObject>
#include <QString>
#include <vector>

class TKeyValue2;

// The captions of the employee fields that every set, grid and editor shows.
// One process-wide instance, FieldLabels; 22 of its texts are user-defined and
// kept in the settings store under the keys listed by Keyed().
struct TFieldLabels
{
    QString Code = QStringLiteral("档案号");
    QString Name = QStringLiteral("姓名");
    QString DutyName = QStringLiteral("岗位");
    QString NickName = QStringLiteral("曾用名");
    QString IdCode = QStringLiteral("身份证号");
    QString Tel = QStringLiteral("联系电话");
    QString BankId = QStringLiteral("工资帐号");
    QString YiBaoId = QStringLiteral("医保帐号");
    QString YangBaoId = QStringLiteral("养保帐号");
    QString Specialty = QStringLiteral("所学专业");
    QString JoinDate = QStringLiteral("入职日期");
    QString Party = QStringLiteral("政貌");
    QString EmployType = QStringLiteral("用工形式");
    QString Education = QStringLiteral("学历");
    QString TechTitle = QStringLiteral("职称");
    QString Source = QStringLiteral("来源");
    QString Marriage = QStringLiteral("婚姻");
    QString Degree = QStringLiteral("学位");
    // The free text, number and date fields S1..S12, F1..F3, D1..D3: empty
    // until the user names them.
    QString S[12];
    QString F[3];
    QString D[3];
    QString WorkAge = QStringLiteral("工龄");

    // A user-defined label and the settings key that stores it.
    struct KeyedLabel
    {
        int key;
        QString *text;
    };
    // The 22 user-defined labels, in the order the label editor stores them:
    // 125..128, then 101..118.
    std::vector<KeyedLabel> Keyed();
};

extern TFieldLabels FieldLabels;

// Tells open windows that the texts of FieldLabels changed, so they can give
// their columns and captions the new texts, and that the pick lists were
// saved, so they can offer the new entries.
class LabelNotifier : public QObject
{
    Q_OBJECT
public:
    static LabelNotifier &instance();

signals:
    void labelsChanged();
    // Emitted by whoever saves ThePickLists.
    void pickListsChanged();
};

// Replaces the 22 user-defined labels with their stored texts (a key that was
// never stored is created and gives an empty label), then announces it.
void LoadFieldLabels(TKeyValue2 &settings);
// Stores all 22 user-defined labels, whether changed or not, then announces it.
void SaveFieldLabels(TKeyValue2 &settings);
