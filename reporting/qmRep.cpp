#include "qmRep.h"

#include "Database.h"
#include "Error.h"
#include "GridExport.h"
#include "ReportDesigner.h"
#include "ReportPreview.h"
#include "Utils.h"
#include "a.h"

#include <QApplication>
#include <QFileDialog>
#include <QPointer>
#include <QWidget>

namespace {

TRep::OpenFileAsker openFileAsker;

// An empty title is stored as '' rather than NULL, so that it lists first on
// both engines (PostgreSQL sorts NULL last, SQLite first).
QString storedTitle(const QString &title)
{
    return title.isNull() ? QStringLiteral("") : title;
}

QString askOpenFile(QWidget *parent, const QString &filter)
{
    if (openFileAsker)
        return openFileAsker(parent, filter);
    return QFileDialog::getOpenFileName(parent, QStringLiteral("打开报表模板"), QString(), filter);
}

// While the designer runs, windows that stay on top would cover it and its
// dialogs; they become normal windows and get their flag back afterwards,
// whatever way the designer ends.
class TopMostReleaser
{
public:
    TopMostReleaser()
    {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (w->isVisible() && w->windowFlags().testFlag(Qt::WindowStaysOnTopHint)) {
                m_windows.append(w);
                w->setWindowFlag(Qt::WindowStaysOnTopHint, false);
                w->show();
            }
        }
    }
    ~TopMostReleaser()
    {
        for (const QPointer<QWidget> &w : m_windows) {
            if (w) {
                w->setWindowFlag(Qt::WindowStaysOnTopHint, true);
                w->show();
            }
        }
    }
    TopMostReleaser(const TopMostReleaser &) = delete;
    TopMostReleaser &operator=(const TopMostReleaser &) = delete;

private:
    QList<QPointer<QWidget>> m_windows;
};

} // namespace

// ---------------------------------------------------------------- TRepSet

TRepSet::TRepSet()
{
    m_id = AddField(FieldKind::Integer, QStringLiteral("Id"), -1, true, QStringLiteral("Id"));
    m_title = AddField(
        FieldKind::WideString, QStringLiteral("Title"), 20, true, QStringLiteral("标题"));
}

void TRepSet::OpenGroup(int group)
{
    Open(QStringLiteral("select Id,Title from report where GrpId=:GroupId order by Title"),
        {MakeParameter(QStringLiteral("GroupId"), group)});
}

// ---------------------------------------------------------------- TRep

TRep::TRep()
{
    m_data.setVariables(
        m_names, [this](const QString &name, QString *value) { return VariableValue(name, value); },
        [this](const QString &field) { return UserFieldValue(field); });
}

TRep::~TRep() = default;

void TRep::AddVariable(const QString &name, const QString &value)
{
    if (name.isEmpty())
        return;
    m_names << name;
    m_values << (value.isEmpty() ? QStringLiteral(" ") : value);
    m_data.setVariables(
        m_names, [this](const QString &n, QString *v) { return VariableValue(n, v); },
        [this](const QString &field) { return UserFieldValue(field); });
}

bool TRep::VariableValue(const QString &name, QString *value) const
{
    for (int i = 0; i < m_names.size(); ++i) {
        if (m_names[i].compare(name, Qt::CaseInsensitive) == 0) {
            *value = m_values[i];
            return true;
        }
    }
    return false;
}

QString TRep::UserFieldValue(const QString &fieldName) const
{
    QString value;
    return VariableValue(fieldName, &value) ? value : fieldName;
}

void TRep::AddDataSet(const QString &name, TDataSet *set)
{
    m_data.addDataSet(name, set);
}

void TRep::AddDataSets(const QList<TDataSet *> &sets)
{
    for (int i = 0; i < sets.size(); ++i)
        AddDataSet(QStringLiteral("d%1").arg(i), sets[i]);
}

void TRep::LoadTemplate(int id)
{
    m_report.clear();
    SharedRecordSet->Open(QStringLiteral("select * from report where Id=:Id"),
        {MakeParameter(QStringLiteral("Id"), id)});
    QByteArray blob;
    if (!SharedRecordSet->DataSet()->IsEmpty())
        blob = SharedRecordSet->FieldByName(QStringLiteral("Fr3File"))->AsBytes();
    SharedRecordSet->Close();
    m_tag = id;
    if (blob.isEmpty())
        return;
    QString error;
    if (!m_report.fromJson(blob, &error))
        throw QmError(QStringLiteral("报表模板无法读取: %1").arg(error));
}

void TRep::Preview(int id)
{
    LoadTemplate(id);
    ReportPreview preview(m_report, m_data, QApplication::activeWindow());
    RunModal(preview);
}

void TRep::Design(int id)
{
    try {
        LoadTemplate(id);
    } catch (const QmError &e) {
        // The entry stays designable: an unreadable template is replaced by
        // whatever the user designs or loads from a file now.
        ShowInfo(e.message());
    }
    TopMostReleaser release;
    ReportDesigner designer(m_report, m_data, QApplication::activeWindow());
    designer.OnLoad = [this, &designer] {
        return DesignerLoad(&designer);
    };
    designer.OnSave = [this, &designer](bool saveAs) {
        return DesignerSave(saveAs, &designer);
    };
    RunModal(designer);
}

int TRep::AddReport(const QString &title, int group)
{
    SharedRecordSet->Open(QStringLiteral("select top 1 Id from report order by Id desc"));
    const int id = SharedRecordSet->DataSet()->IsEmpty()
        ? 1
        : SharedRecordSet->DataSet()->Fields(0)->AsInteger() + 1;
    SharedRecordSet->Close();
    TheDatabase->Execute(
        QStringLiteral("insert into report(Id,GrpId,Title)values(:Id,:GroupId,:Title)"),
        {MakeParameter(QStringLiteral("Id"), id), MakeParameter(QStringLiteral("GroupId"), group),
            MakeParameter(QStringLiteral("Title"), storedTitle(title))});
    return id;
}

void TRep::DeleteReport(int id)
{
    TheDatabase->Execute(QStringLiteral("delete from report where Id=:Id"),
        {MakeParameter(QStringLiteral("Id"), id)});
}

void TRep::RenameReport(int id, const QString &title)
{
    TheDatabase->Execute(QStringLiteral("update report set Title=:Title where Id=:Id"),
        {MakeParameter(QStringLiteral("Id"), id),
            MakeParameter(QStringLiteral("Title"), storedTitle(title))});
}

bool TRep::StoreTemplate()
{
    const QByteArray blob = m_report.toJson();
    SharedRecordSet->Open(QStringLiteral("select 1 from report where Id=:Id"),
        {MakeParameter(QStringLiteral("Id"), m_tag)});
    const bool exists = !SharedRecordSet->DataSet()->IsEmpty();
    SharedRecordSet->Close();
    if (!exists) {
        ShowInfo(QStringLiteral("这个报表已不在报表列表中(可能已被删除), 模板没有保存.\r\n"
                                "您可以用\"另存为\"把它保存为模板文件."));
        return false;
    }
    TheDatabase->Execute(QStringLiteral("update report set Fr3File=:Fr3File where Id=:Id"),
        {MakeParameter(QStringLiteral("Id"), m_tag)},
        {TxDBParameter{QStringLiteral("Fr3File"), blob}});
    return true;
}

QString TRep::TemplateFileFilter()
{
    return QStringLiteral("报表模板 (*.qmr);;所有文件 (*)");
}

bool TRep::DesignerLoad(QWidget *parent)
{
    const QString path = askOpenFile(parent, TemplateFileFilter());
    if (path.isEmpty())
        return false;
    QString error;
    if (!m_report.loadFromFile(path, &error)) {
        ShowInfo(error);
        return false;
    }
    return true;
}

bool TRep::DesignerSave(bool saveAs, QWidget *parent)
{
    if (!saveAs) {
        try {
            return StoreTemplate();
        } catch (const QmError &e) {
            ShowInfo(e.message());
            return false;
        }
    }
    const QString path
        = GridExport::AskSaveFileName(parent, TemplateFileFilter(), QStringLiteral("qmr"));
    if (path.isEmpty())
        return false;
    QString error;
    if (!m_report.saveToFile(path, &error)) {
        ShowInfo(error);
        return false;
    }
    return true;
}

TRep::OpenFileAsker TRep::SetOpenFileAsker(OpenFileAsker asker)
{
    OpenFileAsker previous = openFileAsker;
    openFileAsker = std::move(asker);
    return previous;
}
