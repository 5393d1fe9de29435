#pragma once

#include "DepartmentSet.h"
#include "PickListSet.h"
#include "qmCtrls.h"

#include <QPointer>
#include <QStringList>
#include <QTreeWidget>
#include <QVariant>
#include <functional>

// Called with the value of the node that was chosen.
using TNodeHandler = std::function<void(const QVariant &value)>;

// What a tree node carries: the handler choosing it calls, the object the
// handler works on, and the node's value. With an object the handler runs
// only while that object is alive.
struct TNodeRecord
{
    TNodeHandler Handler;
    QPointer<QObject> Object;
    bool HasObject = false;
    QVariant Value;
};

// A tree whose nodes carry handlers: choosing a node runs its handler with
// the node's value under the wait cursor, then remembers the node's caption
// as the tree's text. ChooseNode runs it at once; a click or a key in the
// tree runs it as soon as the tree has finished changing its current node. Each node owns its
// record, so deleting a node or the tree frees the records with it. A
// handler's failure is shown and ends only that choice.
class TqmTreeView : public QTreeWidget
{
    Q_OBJECT
public:
    explicit TqmTreeView(QWidget *parent = nullptr);

    // A node at the end of parent's children (the top level when parent is
    // null), or at index when index is within them.
    QTreeWidgetItem *AddNode(QTreeWidgetItem *parent, const QString &caption,
        const QVariant &value = {}, TNodeHandler handler = {}, QObject *object = nullptr,
        int index = -1);
    // Deletes the node with all its descendants and their records. The
    // current node is cleared first when it is among them, so no other
    // node gets chosen on the way.
    void DeleteNode(QTreeWidgetItem *node);
    // The record of a node made by AddNode; nullptr for any other.
    static TNodeRecord *NodeRecord(QTreeWidgetItem *node);
    static QVariant NodeValue(QTreeWidgetItem *node);

    // Makes node current and runs its handler, also when it was current.
    void ChooseNode(QTreeWidgetItem *node);
    // No node current and none selected; runs no handler.
    void ClearChoice();

    // The caption of the node chosen last.
    QString Text() const { return m_text; }

signals:
    // After a node's handler ran.
    void nodeChosen(QTreeWidgetItem *node);

private:
    void runHandler(QTreeWidgetItem *node);

    QString m_text;
    bool m_quiet = false;
};

// Opens the department window as a picker on code; true with *picked set when
// the user chose (an empty record for "不选"), false when they closed it.
using TDeptPicker = std::function<bool(const QString &code, RDepartment *picked, QWidget *parent)>;

// An edit box holding one chosen department: its name is the text and its
// code the hint (tool tip). Choosing (double click, F4, Alt+Down or the
// button in the box) opens the department picker on the current code. Typing
// into the box or clearing it forgets the department, so the text never
// shows one department while the box holds another.
class TDeptEdit : public TqmEdit
{
    Q_OBJECT
public:
    explicit TDeptEdit(QWidget *parent = nullptr);

    // The chosen department; an empty record when none is.
    const RDepartment &Department() const { return m_department; }
    QString Code() const { return m_department.Code; }
    bool HasDepartment() const { return !m_department.Code.isEmpty(); }
    // Shows record (an empty record clears the box).
    void SetDepartment(const RDepartment &record);
    // Shows the department of code from TheDepartments; an unknown code
    // clears the box.
    void SetCode(const QString &code);
    void ClearDepartment();

    // Opens the picker; true when the box changed.
    bool Choose();

    // The picker Choose opens (PickDepartment unless replaced).
    void SetPicker(TDeptPicker picker) { m_picker = std::move(picker); }

signals:
    void departmentChanged();

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    RDepartment m_department;
    TDeptPicker m_picker;
};

// A combo box offering the entries of one pick list. Setting the list index
// fills the items from ThePickLists; the typed text is kept across a refill.
class TPickListComboBox : public TqmComboBox
{
    Q_OBJECT
public:
    explicit TPickListComboBox(QWidget *parent = nullptr);

    int ListIndex() const { return m_listIndex; }
    // -1 empties the items.
    void SetListIndex(int index);
    // Fills the items again from ThePickLists (after the lists were saved).
    void Reload();

private:
    int m_listIndex = -1;
};
