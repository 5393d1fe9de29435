#pragma once

#include "aInfoDlg.h"

#include <memory>

class QListWidget;
class QListWidgetItem;
class TOperatorEditorFrm;
class TOperatorSet;

// The operator list: one icon per operator except "sa", with add, properties
// and delete. It owns the operator set it shows and the editor dialog it
// fills; every change is saved before the list shows it.
class TOperatorsFrm : public TAInfoDlgFrm
{
    Q_OBJECT
public:
    explicit TOperatorsFrm(QWidget *parent = nullptr);
    ~TOperatorsFrm() override;

    TOperatorEditorFrm *Editor() const { return m_editor; }

    QListWidget *ListView1;
    QPushButton *btnAdd1;
    QPushButton *btnProp1;
    QPushButton *btnDelete1;

private:
    void btnAdd1Click();
    void btnProp1Click();
    void btnDelete1Click();
    void selectionChanged();
    QListWidgetItem *selectedItem() const;
    QListWidgetItem *addItem(const QString &loginId);

    std::unique_ptr<TOperatorSet> m_set;
    TOperatorEditorFrm *m_editor;
};

// The main menu's "操作员及权限": checks right 100001, then shows the list.
void EditOperators(QWidget *parent = nullptr);
