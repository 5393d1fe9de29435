#pragma once

#include "aDlg.h"

#include <QStringList>
#include <QVector>

class QLabel;
class QListWidget;

// The list options dialog of the main window: one tick per attribute group
// of the tree, saying whether the group is shown. It only carries the ticks;
// applying and storing them is the main window's.
class TEmpListOptionFrm : public TADlgFrm
{
    Q_OBJECT
public:
    explicit TEmpListOptionFrm(QWidget *parent = nullptr);

    // One entry per caption, ticked where shown is true.
    void SetGroups(const QStringList &captions, const QVector<bool> &shown);
    QVector<bool> Shown() const;
    void SetShown(int entry, bool shown);

    QLabel *Label1;
    QListWidget *CheckListBox1;
};
