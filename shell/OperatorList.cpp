#include "OperatorList.h"

#include "EntitySet.h"
#include "Error.h"
#include "Operator.h"
#include "OperatorEditor.h"
#include "Pub.h"
#include "Utils.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

TOperatorsFrm::TOperatorsFrm(QWidget *parent)
    : TAInfoDlgFrm(parent)
    , ListView1(new QListWidget(this))
    , btnAdd1(new QPushButton(QStringLiteral("添加"), this))
    , btnProp1(new QPushButton(QStringLiteral("属性"), this))
    , btnDelete1(new QPushButton(QStringLiteral("删除"), this))
    , m_set(std::make_unique<TOperatorSet>())
    , m_editor(new TOperatorEditorFrm(this))
{
    setObjectName(QStringLiteral("OperatorsFrm"));
    setWindowTitle(QStringLiteral("操作员及权限"));
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setViewMode(QListView::IconMode);
    ListView1->setIconSize(QSize(32, 32));
    ListView1->setResizeMode(QListView::Adjust);
    ListView1->setMovement(QListView::Static);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    btnAdd1->setObjectName(QStringLiteral("btnAdd1"));
    btnProp1->setObjectName(QStringLiteral("btnProp1"));
    btnDelete1->setObjectName(QStringLiteral("btnDelete1"));
    for (QPushButton *button : {btnAdd1, btnProp1, btnDelete1})
        button->setAutoDefault(false);

    auto *side = new QVBoxLayout;
    side->addWidget(btnAdd1);
    side->addWidget(btnProp1);
    side->addWidget(btnDelete1);
    side->addStretch();
    auto *body = new QHBoxLayout;
    body->addWidget(ListView1, 1);
    body->addLayout(side);
    auto *layout = new QVBoxLayout(ClientArea());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(QStringLiteral("用户列表"), this));
    layout->addLayout(body);

    TDataSet *rows = m_set->DataSet();
    for (rows->First(); !rows->Eof(); rows->Next())
        addItem(m_set->UserIdField->AsString());
    selectionChanged();

    connect(ListView1, &QListWidget::itemSelectionChanged, this, &TOperatorsFrm::selectionChanged);
    connect(ListView1, &QListWidget::itemDoubleClicked, this,
        [this] { RunUserAction([this] { btnProp1Click(); }); });
    connect(btnAdd1, &QPushButton::clicked, this,
        [this] { RunUserAction([this] { btnAdd1Click(); }); });
    connect(btnProp1, &QPushButton::clicked, this,
        [this] { RunUserAction([this] { btnProp1Click(); }); });
    connect(btnDelete1, &QPushButton::clicked, this,
        [this] { RunUserAction([this] { btnDelete1Click(); }); });
    resize(480, 360);
}

TOperatorsFrm::~TOperatorsFrm() = default;

QListWidgetItem *TOperatorsFrm::addItem(const QString &loginId)
{
    const QIcon icon = QIcon::fromTheme(
        QStringLiteral("user-identity"), style()->standardIcon(QStyle::SP_DirHomeIcon));
    return new QListWidgetItem(icon, loginId, ListView1);
}

QListWidgetItem *TOperatorsFrm::selectedItem() const
{
    const QList<QListWidgetItem *> items = ListView1->selectedItems();
    return items.isEmpty() ? nullptr : items.first();
}

void TOperatorsFrm::selectionChanged()
{
    const bool selected = selectedItem() != nullptr;
    btnProp1->setEnabled(selected);
    btnDelete1->setEnabled(selected);
}

void TOperatorsFrm::btnProp1Click()
{
    QListWidgetItem *item = selectedItem();
    if (!item || !m_set->LocateOperator(item->text()))
        return;
    m_editor->SetOperator(m_set->UserIdField->AsString(), m_set->NameField->AsString(),
        m_set->ContactField->AsString(), m_set->NoteField->AsString(),
        m_set->RightsField->AsString());
    const ROperatorRights stored = LoadOperatorRight(m_set->UserIdField->AsString());
    m_editor->SetDeptRights(stored.isEmpty() ? RDeptRit{} : stored.first().EmpRight);
    for (;;) {
        if (RunModal(*m_editor) != QDialog::Accepted)
            return;
        try {
            m_set->UpdateOperator(m_editor->LoginId(), m_editor->Password(),
                m_editor->RightsValue(), m_editor->Note(), m_editor->Contact(),
                m_editor->OperatorName());
            SaveDeptRights(m_editor->LoginId(), m_editor->DeptRights());
            return;
        } catch (const QmError &e) {
            ShowInfo(e.message());
        }
    }
}

void TOperatorsFrm::btnAdd1Click()
{
    m_editor->Clear();
    for (;;) {
        if (RunModal(*m_editor) != QDialog::Accepted)
            return;
        // The operator and its visibility are stored together or not at all:
        // an operator without its visibility lines would see other departments
        // than the ones ticked.
        bool added = false;
        try {
            Conventions::InTransaction([&] {
                m_set->AddOperator(m_editor->LoginId(), m_editor->Password(),
                    m_editor->RightsValue(), m_editor->Note(), m_editor->Contact(),
                    m_editor->OperatorName());
                added = true;
                SaveDeptRights(m_editor->LoginId(), m_editor->DeptRights());
            });
            break;
        } catch (const QmError &e) {
            if (added && m_set->LocateOperator(m_editor->LoginId()))
                m_set->RemoveCurrent();
            ShowInfo(e.message());
        }
    }
    QListWidgetItem *item = addItem(m_editor->LoginId());
    ListView1->setCurrentItem(item);
}

void TOperatorsFrm::btnDelete1Click()
{
    QListWidgetItem *item = selectedItem();
    if (!item || !ConfirmDelete(item->text()))
        return;
    try {
        m_set->DeleteOperator(item->text());
    } catch (const QmError &e) {
        ShowInfo(e.message());
        return;
    }
    delete item;
    selectionChanged();
}

void EditOperators(QWidget *parent)
{
    TheOperator->CheckRight(100001);
    TOperatorsFrm frm(parent ? parent : QApplication::activeWindow());
    RunModal(frm);
}
