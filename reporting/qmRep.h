#pragma once

#include "RecordSet.h"
#include "ReportData.h"
#include "ReportTemplate.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class QWidget;
class TDataSet;

// The one printing entry point: checks the print right (10002), then shows
// the catalogue window of report group `group` with the data sets registered
// as d0, d1, ... in the order given; with right 10003 the window also adds,
// renames, deletes and designs templates. Returns false when the right is
// missing (the user was told) and true once the window has closed. The data
// sets stay the caller's; they are read only, their cursors never move.
bool PrintReports(const QList<TDataSet *> &dataSets, int group);

// The report group of the salary sheets of account set accountId.
inline int SalaryReportGroup(int accountId)
{
    return 50000 + accountId;
}

// The catalogue entries of one report group (table report), by title.
class TRepSet : public TRecordSet
{
public:
    TRepSet();

    TField *IdField() const { return m_id; }
    TField *TitleField() const { return m_title; }

    void OpenGroup(int group);

private:
    TField *m_id;
    TField *m_title;
};

// The report host: the loaded template (whose Tag is the catalogue Id it came
// from), the variables offered to templates (also as the fields of the data
// set "u"), and the data sets registered under their names. Preview, design
// and the catalogue operations of table report live here. The registered data
// sets are not owned.
class TRep
{
public:
    TRep();
    virtual ~TRep();
    TRep(const TRep &) = delete;
    TRep &operator=(const TRep &) = delete;

    // Ignored for an empty name; an empty value is kept as a single space.
    void AddVariable(const QString &name, const QString &value);
    // The report's value request: answers only for a variable's name.
    bool VariableValue(const QString &name, QString *value) const;
    // A field of the data set "u": the variable's value, or for a name that
    // is no variable the name itself.
    QString UserFieldValue(const QString &fieldName) const;
    QStringList VariableNames() const { return m_names; }

    void AddDataSet(const QString &name, TDataSet *set);
    // Registers the sets as "d0", "d1", ... in order.
    void AddDataSets(const QList<TDataSet *> &sets);
    // The registered sets with the variables, as templates see them.
    const ReportData &Data() const { return m_data; }

    // The report object: the template loaded last and the catalogue Id it
    // belongs to (0 when none).
    ReportTemplate &Report() { return m_report; }
    const ReportTemplate &Report() const { return m_report; }
    int ReportTag() const { return m_tag; }
    void SetReportTag(int id) { m_tag = id; }

    // Clears the report, reads entry id's template (an empty one leaves the
    // report empty) and tags the report with id. An unreadable template
    // raises QmError after the report was cleared and tagged.
    void LoadTemplate(int id);
    // Loads entry id and shows it in the preview window.
    virtual void Preview(int id);
    // Loads entry id and runs the designer on it modally. Top-most windows
    // are made normal meanwhile and restored afterwards.
    virtual void Design(int id);

    // Catalogue operations. AddReport returns the new Id (max + 1 over the
    // whole table, 1 when it is empty).
    static int AddReport(const QString &title, int group);
    static void DeleteReport(int id);
    static void RenameReport(int id, const QString &title);

    // Stores the report into the entry its tag names. An entry that no longer
    // exists is not recreated: the user is told and false is returned, the
    // template stays as it is in memory (it can still be saved as a file).
    bool StoreTemplate();

    // The designer's hooks. Load asks for a template file and loads it,
    // keeping the tag; false when cancelled or unreadable. Save stores into
    // the catalogue, or with saveAs writes a file the user names; false when
    // nothing was saved.
    bool DesignerLoad(QWidget *parent);
    bool DesignerSave(bool saveAs, QWidget *parent);

    // The file filter of template files.
    static QString TemplateFileFilter();

    // The file-open dialog of the designer's load hook; returns the chosen
    // path or an empty text. Replaceable for tests (nullptr restores it).
    using OpenFileAsker = std::function<QString(QWidget *parent, const QString &filter)>;
    static OpenFileAsker SetOpenFileAsker(OpenFileAsker asker);

private:
    QStringList m_names;
    QStringList m_values;
    ReportData m_data;
    ReportTemplate m_report;
    int m_tag = 0;
};
