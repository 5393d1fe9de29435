#include "ReportDesigner.h"

#include "DataSet.h"
#include "ReportData.h"
#include "ReportDesignCanvas.h"
#include "ReportPreview.h"
#include "ReportPropertyPanel.h"
#include "ReportTemplate.h"
#include "Utils.h"
#include "a.h"

#include <QAction>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QScrollArea>
#include <QSplitter>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

// Bands in the order they print, which is also the order the designer keeps
// them in, so the canvas reads like the page.
const BandType BandOrder[] = {BandType::ReportTitle, BandType::PageHeader, BandType::ColumnHeader,
    BandType::GroupHeader, BandType::Master, BandType::DetailHeader, BandType::Detail,
    BandType::DetailFooter, BandType::GroupFooter, BandType::Summary, BandType::PageFooter};

int orderOf(BandType type)
{
    for (int i = 0; i < int(std::size(BandOrder)); ++i)
        if (BandOrder[i] == type)
            return i;
    return 0;
}

constexpr int RoleText = Qt::UserRole;
constexpr int RoleSet = Qt::UserRole + 1;
constexpr int RoleLabel = Qt::UserRole + 2;

// The field palette hands its entries to the canvas as plain text.
class PaletteTree : public QTreeWidget
{
public:
    using QTreeWidget::QTreeWidget;

protected:
    QMimeData *mimeData(const QList<QTreeWidgetItem *> &items) const override
    {
        if (items.isEmpty() || items.first()->data(0, RoleText).toString().isEmpty())
            return nullptr;
        auto *data = new QMimeData;
        data->setText(items.first()->data(0, RoleText).toString());
        return data;
    }
};

} // namespace

ReportDesigner::ReportDesigner(ReportTemplate &report, const ReportData &data, QWidget *parent)
    : QDialog(parent)
    , m_report(report)
    , m_data(data)
    , m_canvas(new ReportDesignCanvas(report, this))
    , m_properties(new ReportPropertyPanel(report, data, this))
{
    setObjectName(QStringLiteral("ReportDesigner"));
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint);
    resize(1200, 800);

    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto action = [this](const char *name, const QString &caption) {
        QAction *a = new QAction(caption, this);
        a->setObjectName(QLatin1String(name));
        return a;
    };
    NewAction1 = action("NewAction1", QStringLiteral("新建"));
    NewAction1->setEnabled(false);
    NewAction1->setToolTip(QStringLiteral("新报表请在报表列表中用\"新建\"添加"));
    LoadAction1 = action("LoadAction1", QStringLiteral("打开..."));
    LoadAction1->setShortcut(QKeySequence::Open);
    SaveAction1 = action("SaveAction1", QStringLiteral("保存"));
    SaveAction1->setShortcut(QKeySequence::Save);
    SaveAsAction1 = action("SaveAsAction1", QStringLiteral("另存为..."));
    PreviewAction1 = action("PreviewAction1", QStringLiteral("预览"));
    AddTextAction1 = action("AddTextAction1", QStringLiteral("文本"));
    AddImageAction1 = action("AddImageAction1", QStringLiteral("图片"));
    AddLineAction1 = action("AddLineAction1", QStringLiteral("直线"));
    AddRectAction1 = action("AddRectAction1", QStringLiteral("矩形"));
    DeleteAction1 = action("DeleteAction1", QStringLiteral("删除"));
    CloseAction1 = action("CloseAction1", QStringLiteral("关闭"));

    ToolBar1->addActions({NewAction1, LoadAction1, SaveAction1, SaveAsAction1});
    ToolBar1->addSeparator();
    ToolBar1->addAction(PreviewAction1);
    ToolBar1->addSeparator();
    auto *bandMenu = new QMenu(this);
    bandMenu->setObjectName(QStringLiteral("BandMenu1"));
    for (BandType type : BandOrder) {
        QAction *a = bandMenu->addAction(ReportTemplate::bandTypeCaption(type));
        a->setObjectName(QStringLiteral("AddBand_") + ReportTemplate::bandTypeKey(type));
        connect(a, &QAction::triggered, this, [this, type] { AddBand(static_cast<int>(type)); });
    }
    AddBandBtn1 = new QToolButton(ToolBar1);
    AddBandBtn1->setObjectName(QStringLiteral("AddBandBtn1"));
    AddBandBtn1->setText(QStringLiteral("添加区"));
    AddBandBtn1->setMenu(bandMenu);
    AddBandBtn1->setPopupMode(QToolButton::InstantPopup);
    ToolBar1->addWidget(AddBandBtn1);
    ToolBar1->addActions(
        {AddTextAction1, AddImageAction1, AddLineAction1, AddRectAction1, DeleteAction1});
    ToolBar1->addSeparator();
    ZoomBox1 = new QComboBox(ToolBar1);
    ZoomBox1->setObjectName(QStringLiteral("ZoomBox1"));
    for (int percent : {50, 75, 100, 150, 200})
        ZoomBox1->addItem(QStringLiteral("%1%").arg(percent), percent);
    ZoomBox1->setCurrentIndex(2);
    ToolBar1->addWidget(ZoomBox1);
    ToolBar1->addSeparator();
    ToolBar1->addAction(CloseAction1);

    CanvasScroll1 = new QScrollArea(this);
    CanvasScroll1->setObjectName(QStringLiteral("CanvasScroll1"));
    CanvasScroll1->setWidget(m_canvas);
    CanvasScroll1->setBackgroundRole(QPalette::Dark);

    FieldTree1 = new PaletteTree(this);
    FieldTree1->setObjectName(QStringLiteral("FieldTree1"));
    FieldTree1->setHeaderLabels({QStringLiteral("字段和变量"), QStringLiteral("说明")});
    FieldTree1->setDragEnabled(true);
    FieldTree1->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);

    auto *propertyScroll = new QScrollArea(this);
    propertyScroll->setObjectName(QStringLiteral("PropertyScroll1"));
    propertyScroll->setWidget(m_properties);
    propertyScroll->setWidgetResizable(true);
    propertyScroll->setFrameShape(QFrame::NoFrame);
    auto *side = new QSplitter(Qt::Vertical, this);
    side->addWidget(FieldTree1);
    side->addWidget(propertyScroll);
    side->setSizes({320, 480});
    auto *main = new QSplitter(Qt::Horizontal, this);
    main->addWidget(CanvasScroll1);
    main->addWidget(side);
    main->setStretchFactor(0, 3);
    main->setStretchFactor(1, 1);
    main->setSizes({880, 320});

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(ToolBar1);
    layout->addWidget(main, 1);

    connect(LoadAction1, &QAction::triggered, this, [this] {
        if (OnLoad && OnLoad()) {
            m_canvas->Select(-1, -1);
            refresh();
            setModified(true);
        }
    });
    connect(SaveAction1, &QAction::triggered, this, [this] {
        if (OnSave && OnSave(false))
            setModified(false);
    });
    connect(SaveAsAction1, &QAction::triggered, this, [this] {
        if (OnSave)
            OnSave(true);
    });
    connect(PreviewAction1, &QAction::triggered, this, [this] {
        ReportPreview preview(m_report, m_data, this);
        RunModal(preview);
    });
    connect(AddTextAction1, &QAction::triggered, this,
        [this] { addObject(static_cast<int>(ObjectType::Text)); });
    connect(AddImageAction1, &QAction::triggered, this,
        [this] { addObject(static_cast<int>(ObjectType::Image)); });
    connect(AddLineAction1, &QAction::triggered, this,
        [this] { addObject(static_cast<int>(ObjectType::Line)); });
    connect(AddRectAction1, &QAction::triggered, this,
        [this] { addObject(static_cast<int>(ObjectType::Rect)); });
    connect(DeleteAction1, &QAction::triggered, m_canvas, &ReportDesignCanvas::DeleteSelection);
    connect(CloseAction1, &QAction::triggered, this, &QDialog::reject);
    connect(ZoomBox1, qOverload<int>(&QComboBox::activated), this, [this](int index) {
        m_canvas->SetScale(96.0 / 25.4 * ZoomBox1->itemData(index).toInt() / 100.0);
    });
    connect(FieldTree1, &QTreeWidget::itemDoubleClicked, this, &ReportDesigner::InsertPaletteItem);

    connect(m_canvas, &ReportDesignCanvas::selectionChanged, this,
        [this] { m_properties->ShowFor(m_canvas->SelectedBand(), m_canvas->SelectedObject()); });
    connect(m_canvas, &ReportDesignCanvas::changed, this, [this] {
        m_properties->ShowFor(m_canvas->SelectedBand(), m_canvas->SelectedObject());
        setModified(true);
    });
    connect(m_canvas, &ReportDesignCanvas::editRequested, m_properties,
        &ReportPropertyPanel::FocusText);
    connect(m_properties, &ReportPropertyPanel::changed, this, [this] {
        m_canvas->Relayout();
        setModified(true);
    });

    fillPalette();
    refresh();
    updateTitle();
}

ReportDesigner::~ReportDesigner() = default;

void ReportDesigner::fillPalette()
{
    FieldTree1->clear();
    for (int s = 0; s < m_data.dataSetCount(); ++s) {
        const QString name = m_data.dataSetName(s);
        auto *setItem = new QTreeWidgetItem(FieldTree1, {name});
        setItem->setData(0, RoleSet, name);
        const TDataSet *set = m_data.dataSetAt(s);
        for (int f = 0; f < set->FieldCount(); ++f) {
            const TField *field = set->Fields(f);
            auto *item = new QTreeWidgetItem(setItem, {field->FieldName(), field->DisplayLabel()});
            const QString reference = name + QLatin1Char('.') + field->FieldName();
            item->setData(0, RoleText, QLatin1Char('[') + reference + QLatin1Char(']'));
            item->setData(0, RoleSet, name);
            item->setData(0, RoleLabel, field->DisplayLabel());
        }
    }
    auto *variables = new QTreeWidgetItem(FieldTree1, {QStringLiteral("变量")});
    for (const QString &name : m_data.variableNames()) {
        QString value;
        m_data.variable(name, &value);
        auto *item = new QTreeWidgetItem(variables, {name, value});
        item->setData(0, RoleText, QLatin1Char('[') + name + QLatin1Char(']'));
    }
    auto *system = new QTreeWidgetItem(FieldTree1, {QStringLiteral("系统")});
    const struct
    {
        const char *text;
        const char *note;
    } systemItems[]
        = {{"[Page]", "页码"}, {"[TotalPages]", "总页数"}, {"第[Page]页 共[TotalPages]页", "页码"},
            {"[Date]", "日期"}, {"[Time]", "时间"}, {"[Line]", "序号"}};
    for (const auto &s : systemItems) {
        auto *item
            = new QTreeWidgetItem(system, {QString::fromUtf8(s.text), QString::fromUtf8(s.note)});
        item->setData(0, RoleText, QString::fromUtf8(s.text));
    }
    FieldTree1->expandAll();
}

void ReportDesigner::refresh()
{
    m_canvas->Relayout();
    m_properties->ShowFor(m_canvas->SelectedBand(), m_canvas->SelectedObject());
    updateTitle();
}

void ReportDesigner::updateTitle()
{
    setWindowTitle(QStringLiteral("报表设计 - %1%2")
                       .arg(m_report.name, m_modified ? QStringLiteral(" *") : QString()));
}

void ReportDesigner::setModified(bool modified)
{
    m_modified = modified;
    updateTitle();
}

int ReportDesigner::AddBand(int type)
{
    ReportBand band;
    band.type = static_cast<BandType>(type);
    band.height = band.type == BandType::ReportTitle ? 20 : 8;
    const int selected = m_canvas->SelectedBand();
    if (band.type == BandType::Master || band.type == BandType::Detail
        || band.type == BandType::DetailHeader || band.type == BandType::DetailFooter)
        band.dataSet = m_data.dataSetCount() > 0 ? m_data.dataSetName(
                           band.type == BandType::Master ? 0 : qMin(1, m_data.dataSetCount() - 1))
                                                 : QString();
    if ((band.type == BandType::DetailHeader || band.type == BandType::DetailFooter)
        && selected >= 0 && m_report.bands[selected].type == BandType::Detail)
        band.dataSet = m_report.bands[selected].dataSet;
    if (band.type == BandType::GroupFooter && selected >= 0
        && m_report.bands[selected].type == BandType::GroupHeader)
        band.condition = m_report.bands[selected].condition;
    int at = 0;
    while (at < m_report.bands.size() && orderOf(m_report.bands[at].type) <= orderOf(band.type))
        ++at;
    m_report.bands.insert(at, band);
    m_canvas->Relayout();
    m_canvas->Select(at, -1);
    setModified(true);
    return at;
}

void ReportDesigner::addObject(int type)
{
    if (m_report.bands.isEmpty())
        AddBand(static_cast<int>(BandType::Master));
    ReportObject o;
    o.type = static_cast<ObjectType>(type);
    switch (o.type) {
    case ObjectType::Text:
        o.text = QStringLiteral("文本");
        break;
    case ObjectType::Image:
        o.w = 25;
        o.h = 30;
        break;
    case ObjectType::Line:
        o.w = 40;
        o.h = 0;
        break;
    case ObjectType::Rect:
        o.w = 40;
        o.h = 10;
        break;
    }
    m_canvas->AddObject(o);
    m_canvas->setFocus();
}

void ReportDesigner::InsertPaletteItem(QTreeWidgetItem *item)
{
    if (!item)
        return;
    const QString text = item->data(0, RoleText).toString();
    if (text.isEmpty())
        return;
    if (m_report.bands.isEmpty())
        AddBand(static_cast<int>(BandType::Master));
    const int band = m_canvas->SelectedBand() >= 0 ? m_canvas->SelectedBand() : 0;
    ReportBand &target = m_report.bands[band];
    double x = 0;
    for (const ReportObject &o : target.objects)
        x = qMax(x, o.x + o.w);
    ReportObject o;
    o.text = text;
    o.x = qMin(x, qMax(0.0, m_report.page.printableWidth() - 25));
    o.w = 25;
    o.h = qMax(3.0, qMin(6.0, target.height));

    // A field put into a list band gets its caption in the header above, at
    // the same place, so a table column is one double-click.
    const QString label = item->data(0, RoleLabel).toString();
    const BandType headerType = target.type == BandType::Master ? BandType::ColumnHeader
        : target.type == BandType::Detail                       ? BandType::DetailHeader
                                                                : BandType::ReportTitle;
    if (!label.isEmpty() && headerType != BandType::ReportTitle) {
        for (ReportBand &header : m_report.bands) {
            if (header.type != headerType
                || (headerType == BandType::DetailHeader
                    && header.dataSet.compare(target.dataSet, Qt::CaseInsensitive) != 0))
                continue;
            ReportObject caption = o;
            caption.text = label;
            caption.font.bold = true;
            caption.align = HAlign::Center;
            caption.h = qMax(3.0, qMin(6.0, header.height));
            header.objects.append(caption);
            break;
        }
    }
    m_canvas->Select(band, -1);
    m_canvas->AddObject(o);
}

bool ReportDesigner::ConfirmClose()
{
    if (!m_modified)
        return true;
    const MessageButton answer
        = prompter().message(MessageKind::Confirmation, messageCaption(MessageKind::Confirmation),
            QStringLiteral("报表模板已修改, 是否保存到报表列表?"),
            MessageButton::Yes | MessageButton::No | MessageButton::Cancel, MessageButton::Cancel);
    if (answer == MessageButton::Cancel)
        return false;
    if (answer == MessageButton::Yes)
        return OnSave && OnSave(false);
    return true;
}

void ReportDesigner::done(int result)
{
    if (!ConfirmClose())
        return;
    QDialog::done(result);
}
