#include "ReportPropertyPanel.h"

#include "DataSet.h"
#include "ReportData.h"
#include "ReportTemplate.h"
#include "Utils.h"
#include "qmImageBox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {

ReportPropertyPanel::ImageFileAsker imageFileAsker;

const char *const PaperNames[] = {"A4", "A5", "B5", "Letter", "Legal", "Custom"};

QDoubleSpinBox *lengthBox(const char *name, QWidget *parent, double max = 2000)
{
    auto *box = new QDoubleSpinBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setRange(0, max);
    box->setDecimals(1);
    box->setSingleStep(0.5);
    box->setSuffix(QStringLiteral(" mm"));
    return box;
}

template <typename W> W *named(W *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

} // namespace

ReportPropertyPanel::ReportPropertyPanel(
    ReportTemplate &report, const ReportData &data, QWidget *parent)
    : QWidget(parent)
    , m_report(report)
    , m_data(data)
    , m_stack(new QStackedWidget(this))
{
    setObjectName(QStringLiteral("PropertyPanel1"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_stack);
    for (int i = 0; i < 3; ++i)
        m_stack->addWidget(new QWidget(m_stack));
    buildPage(m_stack->widget(0));
    buildBand(m_stack->widget(1));
    buildObject(m_stack->widget(2));
    ShowFor(-1, -1);
}

void ReportPropertyPanel::buildPage(QWidget *page)
{
    auto *form = new QFormLayout(page);
    NameEdit1 = named(new QLineEdit(page), "NameEdit1");
    PaperBox1 = named(new QComboBox(page), "PaperBox1");
    for (const char *paper : PaperNames)
        PaperBox1->addItem(QLatin1String(paper));
    PaperWidth1 = lengthBox("PaperWidth1", page);
    PaperHeight1 = lengthBox("PaperHeight1", page);
    OrientationBox1 = named(new QComboBox(page), "OrientationBox1");
    OrientationBox1->addItems({QStringLiteral("纵向"), QStringLiteral("横向")});
    MarginLeft1 = lengthBox("MarginLeft1", page, 100);
    MarginTop1 = lengthBox("MarginTop1", page, 100);
    MarginRight1 = lengthBox("MarginRight1", page, 100);
    MarginBottom1 = lengthBox("MarginBottom1", page, 100);
    FontFamilyBox1 = named(new QComboBox(page), "FontFamilyBox1");
    FontFamilyBox1->setEditable(true);
    FontFamilyBox1->addItems(
        {ReportTemplate::DefaultFontFamily, QStringLiteral("Noto Serif CJK SC")});
    FontSize1 = named(new QDoubleSpinBox(page), "FontSize1");
    FontSize1->setRange(4, 72);
    FontSize1->setDecimals(1);
    FontSize1->setSuffix(QStringLiteral(" 磅"));
    form->addRow(QStringLiteral("报表名称"), NameEdit1);
    form->addRow(QStringLiteral("纸张"), PaperBox1);
    form->addRow(QStringLiteral("宽度"), PaperWidth1);
    form->addRow(QStringLiteral("高度"), PaperHeight1);
    form->addRow(QStringLiteral("方向"), OrientationBox1);
    form->addRow(QStringLiteral("左边距"), MarginLeft1);
    form->addRow(QStringLiteral("上边距"), MarginTop1);
    form->addRow(QStringLiteral("右边距"), MarginRight1);
    form->addRow(QStringLiteral("下边距"), MarginBottom1);
    form->addRow(QStringLiteral("字体"), FontFamilyBox1);
    form->addRow(QStringLiteral("字号"), FontSize1);

    connect(NameEdit1, &QLineEdit::textEdited, this, &ReportPropertyPanel::apply);
    connect(PaperBox1, qOverload<int>(&QComboBox::activated), this, &ReportPropertyPanel::apply);
    connect(
        OrientationBox1, qOverload<int>(&QComboBox::activated), this, &ReportPropertyPanel::apply);
    connect(FontFamilyBox1, &QComboBox::currentTextChanged, this, &ReportPropertyPanel::apply);
    for (QDoubleSpinBox *box : {PaperWidth1, PaperHeight1, MarginLeft1, MarginTop1, MarginRight1,
             MarginBottom1, FontSize1})
        connect(box, qOverload<double>(&QDoubleSpinBox::valueChanged), this,
            &ReportPropertyPanel::apply);
}

void ReportPropertyPanel::buildBand(QWidget *page)
{
    auto *form = new QFormLayout(page);
    BandType1 = named(new QLabel(page), "BandType1");
    BandHeight1 = lengthBox("BandHeight1", page);
    DataSetBox1 = named(new QComboBox(page), "DataSetBox1");
    DataSetBox1->setEditable(true);
    KeyFieldEdit1 = named(new QLineEdit(page), "KeyFieldEdit1");
    MasterFieldEdit1 = named(new QLineEdit(page), "MasterFieldEdit1");
    ConditionEdit1 = named(new QLineEdit(page), "ConditionEdit1");
    NewPageCheck1 = named(new QCheckBox(QStringLiteral("另起一页"), page), "NewPageCheck1");
    RepeatCheck1 = named(new QCheckBox(QStringLiteral("续页重复打印"), page), "RepeatCheck1");
    FirstPageCheck1 = named(new QCheckBox(QStringLiteral("首页也打印"), page), "FirstPageCheck1");
    form->addRow(QStringLiteral("类型"), BandType1);
    form->addRow(QStringLiteral("高度"), BandHeight1);
    form->addRow(QStringLiteral("数据集"), DataSetBox1);
    form->addRow(QStringLiteral("明细关联字段"), KeyFieldEdit1);
    form->addRow(QStringLiteral("主数据字段"), MasterFieldEdit1);
    form->addRow(QStringLiteral("分组条件"), ConditionEdit1);
    form->addRow(QString(), NewPageCheck1);
    form->addRow(QString(), RepeatCheck1);
    form->addRow(QString(), FirstPageCheck1);

    connect(BandHeight1, qOverload<double>(&QDoubleSpinBox::valueChanged), this,
        &ReportPropertyPanel::apply);
    connect(DataSetBox1, &QComboBox::currentTextChanged, this, &ReportPropertyPanel::apply);
    for (QLineEdit *edit : {KeyFieldEdit1, MasterFieldEdit1, ConditionEdit1})
        connect(edit, &QLineEdit::textEdited, this, &ReportPropertyPanel::apply);
    for (QCheckBox *box : {NewPageCheck1, RepeatCheck1, FirstPageCheck1})
        connect(box, &QCheckBox::toggled, this, &ReportPropertyPanel::apply);
}

void ReportPropertyPanel::buildObject(QWidget *page)
{
    auto *form = new QFormLayout(page);
    m_objectForm = form;
    ObjectType1 = named(new QLabel(page), "ObjectType1");
    LeftEdit1 = lengthBox("LeftEdit1", page);
    TopEdit1 = lengthBox("TopEdit1", page);
    WidthEdit1 = lengthBox("WidthEdit1", page);
    HeightEdit1 = lengthBox("HeightEdit1", page);
    TextEdit1 = named(new QPlainTextEdit(page), "TextEdit1");
    TextEdit1->setMaximumHeight(90);
    ObjectFontSize1 = named(new QDoubleSpinBox(page), "ObjectFontSize1");
    ObjectFontSize1->setRange(0, 72);
    ObjectFontSize1->setDecimals(1);
    ObjectFontSize1->setSpecialValueText(QStringLiteral("默认"));
    BoldCheck1 = named(new QCheckBox(QStringLiteral("粗体"), page), "BoldCheck1");
    ItalicCheck1 = named(new QCheckBox(QStringLiteral("斜体"), page), "ItalicCheck1");
    UnderlineCheck1 = named(new QCheckBox(QStringLiteral("下划线"), page), "UnderlineCheck1");
    AlignBox1 = named(new QComboBox(page), "AlignBox1");
    AlignBox1->addItems(
        {QStringLiteral("左对齐"), QStringLiteral("居中"), QStringLiteral("右对齐")});
    VAlignBox1 = named(new QComboBox(page), "VAlignBox1");
    VAlignBox1->addItems({QStringLiteral("顶端"), QStringLiteral("居中"), QStringLiteral("底端")});
    WrapCheck1 = named(new QCheckBox(QStringLiteral("自动换行"), page), "WrapCheck1");
    GrowCheck1 = named(new QCheckBox(QStringLiteral("随内容增高"), page), "GrowCheck1");
    FrameLeft1 = named(new QCheckBox(QStringLiteral("左"), page), "FrameLeft1");
    FrameTop1 = named(new QCheckBox(QStringLiteral("上"), page), "FrameTop1");
    FrameRight1 = named(new QCheckBox(QStringLiteral("右"), page), "FrameRight1");
    FrameBottom1 = named(new QCheckBox(QStringLiteral("下"), page), "FrameBottom1");
    LineWidth1 = lengthBox("LineWidth1", page, 5);
    LineWidth1->setDecimals(2);
    LineWidth1->setSingleStep(0.1);
    ColorEdit1 = named(new QLineEdit(page), "ColorEdit1");
    ColorEdit1->setPlaceholderText(QStringLiteral("#000000"));
    FillEdit1 = named(new QLineEdit(page), "FillEdit1");
    FillEdit1->setPlaceholderText(QStringLiteral("透明"));
    ImageFieldBox1 = named(new QComboBox(page), "ImageFieldBox1");
    ImageFieldBox1->setEditable(true);
    ImageFileEdit1 = named(new QLineEdit(page), "ImageFileEdit1");
    ImageEmbedBtn1 = named(new QPushButton(QStringLiteral("嵌入图片..."), page), "ImageEmbedBtn1");
    KeepAspectCheck1 = named(new QCheckBox(QStringLiteral("保持比例"), page), "KeepAspectCheck1");

    auto row = [page](std::initializer_list<QWidget *> widgets) {
        auto *w = new QWidget(page);
        auto *h = new QHBoxLayout(w);
        h->setContentsMargins(0, 0, 0, 0);
        for (QWidget *x : widgets)
            h->addWidget(x);
        h->addStretch();
        return w;
    };
    form->addRow(QStringLiteral("类型"), ObjectType1);
    form->addRow(QStringLiteral("左"), LeftEdit1);
    form->addRow(QStringLiteral("上"), TopEdit1);
    form->addRow(QStringLiteral("宽"), WidthEdit1);
    form->addRow(QStringLiteral("高"), HeightEdit1);
    form->addRow(QStringLiteral("文本"), TextEdit1);
    form->addRow(QStringLiteral("字号"), ObjectFontSize1);
    form->addRow(QString(), row({BoldCheck1, ItalicCheck1, UnderlineCheck1}));
    form->addRow(QStringLiteral("水平"), AlignBox1);
    form->addRow(QStringLiteral("垂直"), VAlignBox1);
    form->addRow(QString(), row({WrapCheck1, GrowCheck1}));
    form->addRow(QStringLiteral("边框"), row({FrameLeft1, FrameTop1, FrameRight1, FrameBottom1}));
    form->addRow(QStringLiteral("线宽"), LineWidth1);
    form->addRow(QStringLiteral("颜色"), ColorEdit1);
    form->addRow(QStringLiteral("底色"), FillEdit1);
    form->addRow(QStringLiteral("图片字段"), ImageFieldBox1);
    form->addRow(QStringLiteral("图片文件"), ImageFileEdit1);
    form->addRow(QString(), row({ImageEmbedBtn1, KeepAspectCheck1}));

    for (QDoubleSpinBox *box :
        {LeftEdit1, TopEdit1, WidthEdit1, HeightEdit1, ObjectFontSize1, LineWidth1})
        connect(box, qOverload<double>(&QDoubleSpinBox::valueChanged), this,
            &ReportPropertyPanel::apply);
    connect(TextEdit1, &QPlainTextEdit::textChanged, this, &ReportPropertyPanel::apply);
    for (QCheckBox *box : {BoldCheck1, ItalicCheck1, UnderlineCheck1, WrapCheck1, GrowCheck1,
             FrameLeft1, FrameTop1, FrameRight1, FrameBottom1, KeepAspectCheck1})
        connect(box, &QCheckBox::toggled, this, &ReportPropertyPanel::apply);
    for (QComboBox *box : {AlignBox1, VAlignBox1})
        connect(box, qOverload<int>(&QComboBox::activated), this, &ReportPropertyPanel::apply);
    connect(ImageFieldBox1, &QComboBox::currentTextChanged, this, &ReportPropertyPanel::apply);
    for (QLineEdit *edit : {ColorEdit1, FillEdit1, ImageFileEdit1})
        connect(edit, &QLineEdit::editingFinished, this, &ReportPropertyPanel::apply);
    connect(ImageEmbedBtn1, &QPushButton::clicked, this, &ReportPropertyPanel::embedImage);
}

void ReportPropertyPanel::ShowFor(int band, int object)
{
    m_band = band;
    m_object = object;
    m_stack->setCurrentIndex(band < 0 ? 0 : object < 0 ? 1 : 2);
    load();
}

void ReportPropertyPanel::FocusText()
{
    TextEdit1->setFocus();
    TextEdit1->selectAll();
}

void ReportPropertyPanel::load()
{
    m_loading = true;
    if (m_band < 0) {
        const ReportPageSetup &p = m_report.page;
        NameEdit1->setText(m_report.name);
        PaperBox1->setCurrentText(p.size);
        PaperWidth1->setValue(p.paperWidth());
        PaperHeight1->setValue(p.paperHeight());
        const bool custom = p.size.compare(QLatin1String("Custom"), Qt::CaseInsensitive) == 0;
        PaperWidth1->setEnabled(custom);
        PaperHeight1->setEnabled(custom);
        OrientationBox1->setCurrentIndex(p.landscape ? 1 : 0);
        MarginLeft1->setValue(p.left);
        MarginTop1->setValue(p.top);
        MarginRight1->setValue(p.right);
        MarginBottom1->setValue(p.bottom);
        FontFamilyBox1->setCurrentText(m_report.fontFamily);
        FontSize1->setValue(m_report.fontSize);
    } else if (m_object < 0) {
        const ReportBand &b = m_report.bands[m_band];
        BandType1->setText(ReportTemplate::bandTypeCaption(b.type));
        BandHeight1->setValue(b.height);
        DataSetBox1->clear();
        DataSetBox1->addItems(m_data.dataSetNames());
        DataSetBox1->setCurrentText(b.dataSet);
        KeyFieldEdit1->setText(b.keyField);
        MasterFieldEdit1->setText(b.masterField);
        ConditionEdit1->setText(b.condition);
        NewPageCheck1->setChecked(b.newPage);
        RepeatCheck1->setChecked(b.repeat);
        FirstPageCheck1->setChecked(b.onFirstPage);
        const bool data = b.type == BandType::Master || b.type == BandType::Detail
            || b.type == BandType::DetailHeader || b.type == BandType::DetailFooter;
        DataSetBox1->setEnabled(data);
        KeyFieldEdit1->setEnabled(b.type == BandType::Detail);
        MasterFieldEdit1->setEnabled(b.type == BandType::Detail);
        ConditionEdit1->setEnabled(
            b.type == BandType::GroupHeader || b.type == BandType::GroupFooter);
        NewPageCheck1->setEnabled(b.type == BandType::Master || b.type == BandType::GroupHeader);
        RepeatCheck1->setEnabled(
            b.type == BandType::ColumnHeader || b.type == BandType::DetailHeader);
        FirstPageCheck1->setEnabled(
            b.type == BandType::PageHeader || b.type == BandType::PageFooter);
    } else {
        const ReportObject &o = m_report.bands[m_band].objects[m_object];
        static const char *const types[] = {"文本", "图片", "直线", "矩形"};
        ObjectType1->setText(QString::fromUtf8(types[static_cast<int>(o.type)]));
        LeftEdit1->setValue(o.x);
        TopEdit1->setValue(o.y);
        WidthEdit1->setValue(o.w);
        HeightEdit1->setValue(o.h);
        TextEdit1->setPlainText(o.text);
        ObjectFontSize1->setValue(o.font.size);
        BoldCheck1->setChecked(o.font.bold);
        ItalicCheck1->setChecked(o.font.italic);
        UnderlineCheck1->setChecked(o.font.underline);
        AlignBox1->setCurrentIndex(static_cast<int>(o.align));
        VAlignBox1->setCurrentIndex(static_cast<int>(o.valign));
        WrapCheck1->setChecked(o.wrap);
        GrowCheck1->setChecked(o.grow);
        FrameLeft1->setChecked(o.frame.contains(QLatin1Char('L')));
        FrameTop1->setChecked(o.frame.contains(QLatin1Char('T')));
        FrameRight1->setChecked(o.frame.contains(QLatin1Char('R')));
        FrameBottom1->setChecked(o.frame.contains(QLatin1Char('B')));
        LineWidth1->setValue(o.lineWidth);
        ColorEdit1->setText(o.color == Qt::black ? QString() : o.color.name());
        FillEdit1->setText(o.fill.isValid() ? o.fill.name() : QString());
        ImageFieldBox1->clear();
        ImageFieldBox1->addItem(QString());
        for (int s = 0; s < m_data.dataSetCount(); ++s) {
            const TDataSet *set = m_data.dataSetAt(s);
            for (int f = 0; f < set->FieldCount(); ++f)
                if (set->Fields(f)->Kind() == FieldKind::Blob)
                    ImageFieldBox1->addItem(
                        m_data.dataSetName(s) + QLatin1Char('.') + set->Fields(f)->FieldName());
        }
        ImageFieldBox1->setCurrentText(o.field);
        ImageFileEdit1->setText(o.file);
        KeepAspectCheck1->setChecked(o.keepAspect);

        const bool text = o.type == ObjectType::Text;
        const bool image = o.type == ObjectType::Image;
        for (QWidget *w :
            {static_cast<QWidget *>(TextEdit1), static_cast<QWidget *>(ObjectFontSize1),
                static_cast<QWidget *>(BoldCheck1->parentWidget()),
                static_cast<QWidget *>(AlignBox1), static_cast<QWidget *>(VAlignBox1),
                static_cast<QWidget *>(WrapCheck1->parentWidget())})
            m_objectForm->setRowVisible(w, text);
        m_objectForm->setRowVisible(FrameLeft1->parentWidget(), text || image);
        m_objectForm->setRowVisible(ColorEdit1, !image);
        m_objectForm->setRowVisible(FillEdit1, o.type != ObjectType::Line);
        for (QWidget *w :
            {static_cast<QWidget *>(ImageFieldBox1), static_cast<QWidget *>(ImageFileEdit1),
                static_cast<QWidget *>(ImageEmbedBtn1->parentWidget())})
            m_objectForm->setRowVisible(w, image);
    }
    m_loading = false;
}

void ReportPropertyPanel::apply()
{
    if (m_loading)
        return;
    if (m_band < 0) {
        ReportPageSetup &p = m_report.page;
        m_report.name = NameEdit1->text();
        p.size = PaperBox1->currentText();
        p.landscape = OrientationBox1->currentIndex() == 1;
        const bool custom = p.size == QLatin1String("Custom");
        if (custom) {
            p.width = PaperWidth1->value();
            p.height = PaperHeight1->value();
        }
        p.left = MarginLeft1->value();
        p.top = MarginTop1->value();
        p.right = MarginRight1->value();
        p.bottom = MarginBottom1->value();
        if (!FontFamilyBox1->currentText().trimmed().isEmpty())
            m_report.fontFamily = FontFamilyBox1->currentText().trimmed();
        m_report.fontSize = FontSize1->value();
        load();
    } else if (m_object < 0) {
        ReportBand &b = m_report.bands[m_band];
        b.height = BandHeight1->value();
        b.dataSet = DataSetBox1->currentText().trimmed();
        b.keyField = KeyFieldEdit1->text().trimmed();
        b.masterField = MasterFieldEdit1->text().trimmed();
        b.condition = ConditionEdit1->text().trimmed();
        b.newPage = NewPageCheck1->isChecked();
        b.repeat = RepeatCheck1->isChecked();
        b.onFirstPage = FirstPageCheck1->isChecked();
    } else {
        ReportObject &o = m_report.bands[m_band].objects[m_object];
        o.x = LeftEdit1->value();
        o.y = TopEdit1->value();
        o.w = WidthEdit1->value();
        o.h = HeightEdit1->value();
        if (o.type == ObjectType::Text)
            o.text = TextEdit1->toPlainText();
        o.font.size = ObjectFontSize1->value();
        o.font.bold = BoldCheck1->isChecked();
        o.font.italic = ItalicCheck1->isChecked();
        o.font.underline = UnderlineCheck1->isChecked();
        o.align = static_cast<HAlign>(AlignBox1->currentIndex());
        o.valign = static_cast<VAlign>(VAlignBox1->currentIndex());
        o.wrap = WrapCheck1->isChecked();
        o.grow = GrowCheck1->isChecked();
        o.frame.clear();
        if (FrameLeft1->isChecked())
            o.frame += QLatin1Char('L');
        if (FrameTop1->isChecked())
            o.frame += QLatin1Char('T');
        if (FrameRight1->isChecked())
            o.frame += QLatin1Char('R');
        if (FrameBottom1->isChecked())
            o.frame += QLatin1Char('B');
        o.lineWidth = LineWidth1->value();
        const QColor color(ColorEdit1->text().trimmed());
        o.color = color.isValid() ? color : QColor(Qt::black);
        o.fill = FillEdit1->text().trimmed().isEmpty() ? QColor()
                                                       : QColor(FillEdit1->text().trimmed());
        o.field = ImageFieldBox1->currentText().trimmed();
        o.file = ImageFileEdit1->text().trimmed();
        o.keepAspect = KeepAspectCheck1->isChecked();
    }
    emit changed();
}

void ReportPropertyPanel::embedImage()
{
    if (m_band < 0 || m_object < 0)
        return;
    const QString path = imageFileAsker
        ? imageFileAsker(this)
        : QFileDialog::getOpenFileName(this, QStringLiteral("选择图片"), QString(),
            QStringLiteral("图片 (*.png *.jpg *.jpeg *.bmp *.gif);;所有文件 (*)"));
    if (!path.isEmpty())
        EmbedImageFile(path);
}

bool ReportPropertyPanel::EmbedImageFile(const QString &path)
{
    if (m_band < 0 || m_object < 0)
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ShowInfo(QStringLiteral("无法读取文件 %1.").arg(path));
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (QmPicture::Decode(bytes).isNull()) {
        ShowInfo(QStringLiteral("%1 不是能识别的图片(JPEG, PNG, BMP, GIF).").arg(path));
        return false;
    }
    ReportObject &o = m_report.bands[m_band].objects[m_object];
    o.data = bytes;
    o.file.clear();
    o.field.clear();
    load();
    emit changed();
    return true;
}

ReportPropertyPanel::ImageFileAsker ReportPropertyPanel::SetImageFileAsker(ImageFileAsker asker)
{
    ImageFileAsker previous = imageFileAsker;
    imageFileAsker = std::move(asker);
    return previous;
}
