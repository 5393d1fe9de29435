#include "ReportTemplate.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

const QString ReportTemplate::DefaultFontFamily = QStringLiteral("Noto Sans CJK SC");

namespace {

const QString FormatName = QStringLiteral("qmreport");

struct BandKey
{
    BandType type;
    const char *key;
    const char *caption;
};

const BandKey BandKeys[] = {
    {BandType::ReportTitle, "reportTitle", "报表标题"},
    {BandType::PageHeader, "pageHeader", "页眉"},
    {BandType::ColumnHeader, "columnHeader", "列标题"},
    {BandType::GroupHeader, "groupHeader", "分组头"},
    {BandType::Master, "master", "主数据"},
    {BandType::DetailHeader, "detailHeader", "明细头"},
    {BandType::Detail, "detail", "明细数据"},
    {BandType::DetailFooter, "detailFooter", "明细尾"},
    {BandType::GroupFooter, "groupFooter", "分组尾"},
    {BandType::Summary, "summary", "报表合计"},
    {BandType::PageFooter, "pageFooter", "页脚"},
};

struct PaperSize
{
    const char *name;
    double width, height;
};

const PaperSize PaperSizes[] = {
    {"A4", 210, 297},
    {"A5", 148, 210},
    {"B5", 176, 250},
    {"Letter", 215.9, 279.4},
    {"Legal", 215.9, 355.6},
};

QString colorText(const QColor &c)
{
    return c.isValid() ? c.name(QColor::HexRgb) : QString();
}

QJsonObject fontJson(const ReportFont &f)
{
    QJsonObject o;
    if (!f.family.isEmpty())
        o[QLatin1String("family")] = f.family;
    if (f.size > 0)
        o[QLatin1String("size")] = f.size;
    if (f.bold)
        o[QLatin1String("bold")] = true;
    if (f.italic)
        o[QLatin1String("italic")] = true;
    if (f.underline)
        o[QLatin1String("underline")] = true;
    return o;
}

ReportFont fontFrom(const QJsonObject &o)
{
    ReportFont f;
    f.family = o.value(QLatin1String("family")).toString();
    f.size = o.value(QLatin1String("size")).toDouble();
    f.bold = o.value(QLatin1String("bold")).toBool();
    f.italic = o.value(QLatin1String("italic")).toBool();
    f.underline = o.value(QLatin1String("underline")).toBool();
    return f;
}

const char *objectKey(ObjectType t)
{
    switch (t) {
    case ObjectType::Text:
        return "text";
    case ObjectType::Image:
        return "image";
    case ObjectType::Line:
        return "line";
    case ObjectType::Rect:
        return "rect";
    }
    return "text";
}

bool objectFromKey(const QString &key, ObjectType *t)
{
    for (ObjectType c : {ObjectType::Text, ObjectType::Image, ObjectType::Line, ObjectType::Rect}) {
        if (key == QLatin1String(objectKey(c))) {
            *t = c;
            return true;
        }
    }
    return false;
}

QString alignKey(HAlign a)
{
    return a == HAlign::Center ? QStringLiteral("center")
        : a == HAlign::Right   ? QStringLiteral("right")
                               : QStringLiteral("left");
}

HAlign alignFrom(const QString &s)
{
    return s == QLatin1String("center") ? HAlign::Center
        : s == QLatin1String("right")   ? HAlign::Right
                                        : HAlign::Left;
}

QString valignKey(VAlign a)
{
    return a == VAlign::Top   ? QStringLiteral("top")
        : a == VAlign::Bottom ? QStringLiteral("bottom")
                              : QStringLiteral("middle");
}

VAlign valignFrom(const QString &s)
{
    return s == QLatin1String("top")   ? VAlign::Top
        : s == QLatin1String("bottom") ? VAlign::Bottom
                                       : VAlign::Middle;
}

// Millimetres are written to a hundredth, so a file reads back to the values
// the designer showed.
double mm(double v)
{
    return qRound64(v * 100) / 100.0;
}

QJsonObject objectJson(const ReportObject &ob)
{
    QJsonObject o;
    o[QLatin1String("type")] = QLatin1String(objectKey(ob.type));
    o[QLatin1String("x")] = mm(ob.x);
    o[QLatin1String("y")] = mm(ob.y);
    o[QLatin1String("w")] = mm(ob.w);
    o[QLatin1String("h")] = mm(ob.h);
    const ReportObject defaults;
    switch (ob.type) {
    case ObjectType::Text: {
        o[QLatin1String("text")] = ob.text;
        const QJsonObject f = fontJson(ob.font);
        if (!f.isEmpty())
            o[QLatin1String("font")] = f;
        if (ob.align != HAlign::Left)
            o[QLatin1String("align")] = alignKey(ob.align);
        if (ob.valign != VAlign::Middle)
            o[QLatin1String("valign")] = valignKey(ob.valign);
        if (!ob.wrap)
            o[QLatin1String("wrap")] = false;
        if (ob.grow)
            o[QLatin1String("grow")] = true;
        if (ob.color != defaults.color)
            o[QLatin1String("color")] = colorText(ob.color);
        break;
    }
    case ObjectType::Image:
        if (!ob.field.isEmpty())
            o[QLatin1String("field")] = ob.field;
        if (!ob.file.isEmpty())
            o[QLatin1String("file")] = ob.file;
        if (!ob.data.isEmpty())
            o[QLatin1String("data")] = QString::fromLatin1(ob.data.toBase64());
        if (!ob.keepAspect)
            o[QLatin1String("keepAspect")] = false;
        break;
    case ObjectType::Line:
    case ObjectType::Rect:
        if (ob.color != defaults.color)
            o[QLatin1String("color")] = colorText(ob.color);
        break;
    }
    if (ob.fill.isValid() && ob.type != ObjectType::Line)
        o[QLatin1String("fill")] = colorText(ob.fill);
    if (!ob.frame.isEmpty() && (ob.type == ObjectType::Text || ob.type == ObjectType::Image))
        o[QLatin1String("frame")] = ob.frame;
    if (ob.lineWidth != defaults.lineWidth)
        o[QLatin1String("lineWidth")] = mm(ob.lineWidth);
    return o;
}

QString normalisedFrame(const QString &frame)
{
    QString out;
    for (QChar side : {QLatin1Char('L'), QLatin1Char('T'), QLatin1Char('R'), QLatin1Char('B')})
        if (frame.contains(side, Qt::CaseInsensitive))
            out += side;
    return out;
}

bool objectFrom(const QJsonObject &o, ReportObject *ob, QString *error)
{
    if (!objectFromKey(o.value(QLatin1String("type")).toString(), &ob->type)) {
        *error = QStringLiteral("未知的报表对象类型 \"%1\"")
                     .arg(o.value(QLatin1String("type")).toString());
        return false;
    }
    ob->x = o.value(QLatin1String("x")).toDouble();
    ob->y = o.value(QLatin1String("y")).toDouble();
    ob->w = o.value(QLatin1String("w")).toDouble(ob->w);
    ob->h = o.value(QLatin1String("h")).toDouble(ob->h);
    ob->text = o.value(QLatin1String("text")).toString();
    ob->font = fontFrom(o.value(QLatin1String("font")).toObject());
    ob->align = alignFrom(o.value(QLatin1String("align")).toString());
    ob->valign = valignFrom(o.value(QLatin1String("valign")).toString());
    ob->wrap = o.value(QLatin1String("wrap")).toBool(true);
    ob->grow = o.value(QLatin1String("grow")).toBool(false);
    if (o.contains(QLatin1String("color")))
        ob->color = QColor(o.value(QLatin1String("color")).toString());
    if (!ob->color.isValid())
        ob->color = Qt::black;
    if (o.contains(QLatin1String("fill")))
        ob->fill = QColor(o.value(QLatin1String("fill")).toString());
    ob->frame = normalisedFrame(o.value(QLatin1String("frame")).toString());
    ob->lineWidth = o.value(QLatin1String("lineWidth")).toDouble(ob->lineWidth);
    ob->field = o.value(QLatin1String("field")).toString();
    ob->file = o.value(QLatin1String("file")).toString();
    ob->data = QByteArray::fromBase64(o.value(QLatin1String("data")).toString().toLatin1());
    ob->keepAspect = o.value(QLatin1String("keepAspect")).toBool(true);
    return true;
}

} // namespace

bool ReportObject::operator==(const ReportObject &o) const
{
    return type == o.type && x == o.x && y == o.y && w == o.w && h == o.h && text == o.text
        && font == o.font && align == o.align && valign == o.valign && wrap == o.wrap
        && grow == o.grow && color == o.color && fill == o.fill && frame == o.frame
        && lineWidth == o.lineWidth && field == o.field && file == o.file && data == o.data
        && keepAspect == o.keepAspect;
}

bool ReportBand::operator==(const ReportBand &o) const
{
    return type == o.type && height == o.height && dataSet == o.dataSet && keyField == o.keyField
        && masterField == o.masterField && condition == o.condition && newPage == o.newPage
        && repeat == o.repeat && onFirstPage == o.onFirstPage && objects == o.objects;
}

double ReportPageSetup::paperWidth() const
{
    double w = width, h = height;
    for (const PaperSize &p : PaperSizes) {
        if (size.compare(QLatin1String(p.name), Qt::CaseInsensitive) == 0) {
            w = p.width;
            h = p.height;
        }
    }
    return landscape ? qMax(w, h) : qMin(w, h);
}

double ReportPageSetup::paperHeight() const
{
    double w = width, h = height;
    for (const PaperSize &p : PaperSizes) {
        if (size.compare(QLatin1String(p.name), Qt::CaseInsensitive) == 0) {
            w = p.width;
            h = p.height;
        }
    }
    return landscape ? qMin(w, h) : qMax(w, h);
}

bool ReportPageSetup::operator==(const ReportPageSetup &o) const
{
    return size == o.size && landscape == o.landscape && width == o.width && height == o.height
        && left == o.left && top == o.top && right == o.right && bottom == o.bottom;
}

void ReportTemplate::clear()
{
    *this = ReportTemplate();
}

QVector<int> ReportTemplate::bandsOf(BandType type) const
{
    QVector<int> list;
    for (int i = 0; i < bands.size(); ++i)
        if (bands[i].type == type)
            list << i;
    return list;
}

int ReportTemplate::firstBandOf(BandType type) const
{
    for (int i = 0; i < bands.size(); ++i)
        if (bands[i].type == type)
            return i;
    return -1;
}

QString ReportTemplate::bandTypeKey(BandType type)
{
    for (const BandKey &k : BandKeys)
        if (k.type == type)
            return QLatin1String(k.key);
    return QString();
}

bool ReportTemplate::bandTypeFromKey(const QString &key, BandType *type)
{
    for (const BandKey &k : BandKeys) {
        if (key == QLatin1String(k.key)) {
            *type = k.type;
            return true;
        }
    }
    return false;
}

QString ReportTemplate::bandTypeCaption(BandType type)
{
    for (const BandKey &k : BandKeys)
        if (k.type == type)
            return QString::fromUtf8(k.caption);
    return QString();
}

QByteArray ReportTemplate::toJson() const
{
    QJsonObject root;
    root[QLatin1String("format")] = FormatName;
    root[QLatin1String("version")] = FormatVersion;
    root[QLatin1String("name")] = name;

    QJsonObject pageJson;
    pageJson[QLatin1String("size")] = page.size;
    pageJson[QLatin1String("orientation")]
        = page.landscape ? QStringLiteral("landscape") : QStringLiteral("portrait");
    if (page.size.compare(QLatin1String("Custom"), Qt::CaseInsensitive) == 0) {
        pageJson[QLatin1String("width")] = mm(page.width);
        pageJson[QLatin1String("height")] = mm(page.height);
    }
    QJsonObject margins;
    margins[QLatin1String("left")] = mm(page.left);
    margins[QLatin1String("top")] = mm(page.top);
    margins[QLatin1String("right")] = mm(page.right);
    margins[QLatin1String("bottom")] = mm(page.bottom);
    pageJson[QLatin1String("margins")] = margins;
    root[QLatin1String("page")] = pageJson;

    QJsonObject font;
    font[QLatin1String("family")] = fontFamily;
    font[QLatin1String("size")] = fontSize;
    root[QLatin1String("font")] = font;

    QJsonArray bandList;
    for (const ReportBand &b : bands) {
        QJsonObject o;
        o[QLatin1String("type")] = bandTypeKey(b.type);
        o[QLatin1String("height")] = mm(b.height);
        if (!b.dataSet.isEmpty())
            o[QLatin1String("dataSet")] = b.dataSet;
        if (!b.keyField.isEmpty())
            o[QLatin1String("keyField")] = b.keyField;
        if (!b.masterField.isEmpty())
            o[QLatin1String("masterField")] = b.masterField;
        if (!b.condition.isEmpty())
            o[QLatin1String("condition")] = b.condition;
        if (b.newPage)
            o[QLatin1String("newPage")] = true;
        if (!b.repeat)
            o[QLatin1String("repeat")] = false;
        if (!b.onFirstPage)
            o[QLatin1String("onFirstPage")] = false;
        QJsonArray objects;
        for (const ReportObject &ob : b.objects)
            objects.append(objectJson(ob));
        o[QLatin1String("objects")] = objects;
        bandList.append(o);
    }
    root[QLatin1String("bands")] = bandList;
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

bool ReportTemplate::fromJson(const QByteArray &json, QString *error)
{
    const QJsonDocument doc = QJsonDocument::fromJson(json);
    if (doc.isNull() || !doc.isObject()) {
        *error = QStringLiteral("不是本程序的报表模板.");
        return false;
    }
    const QJsonObject root = doc.object();
    if (root.value(QLatin1String("format")).toString() != FormatName) {
        *error = QStringLiteral("不是本程序的报表模板.");
        return false;
    }
    const int version = root.value(QLatin1String("version")).toInt(0);
    if (version < 1) {
        *error = QStringLiteral("报表模板缺少版本号.");
        return false;
    }
    if (version > FormatVersion) {
        *error = QStringLiteral("报表模板的格式版本(%1)比本程序支持的(%2)新, 请升级本程序.")
                     .arg(version)
                     .arg(FormatVersion);
        return false;
    }

    ReportTemplate t;
    t.name = root.value(QLatin1String("name")).toString();
    const QJsonObject pageJson = root.value(QLatin1String("page")).toObject();
    t.page.size = pageJson.value(QLatin1String("size")).toString(QStringLiteral("A4"));
    t.page.landscape
        = pageJson.value(QLatin1String("orientation")).toString() == QLatin1String("landscape");
    t.page.width = pageJson.value(QLatin1String("width")).toDouble(210);
    t.page.height = pageJson.value(QLatin1String("height")).toDouble(297);
    const QJsonObject margins = pageJson.value(QLatin1String("margins")).toObject();
    t.page.left = margins.value(QLatin1String("left")).toDouble(t.page.left);
    t.page.top = margins.value(QLatin1String("top")).toDouble(t.page.top);
    t.page.right = margins.value(QLatin1String("right")).toDouble(t.page.right);
    t.page.bottom = margins.value(QLatin1String("bottom")).toDouble(t.page.bottom);
    if (t.page.paperWidth() <= t.page.left + t.page.right + 10
        || t.page.paperHeight() <= t.page.top + t.page.bottom + 10) {
        *error = QStringLiteral("报表模板的纸张尺寸或页边距不正确.");
        return false;
    }

    const QJsonObject font = root.value(QLatin1String("font")).toObject();
    t.fontFamily = font.value(QLatin1String("family")).toString(DefaultFontFamily);
    t.fontSize = font.value(QLatin1String("size")).toDouble(9);
    if (t.fontSize <= 0)
        t.fontSize = 9;

    for (const QJsonValue &bv : root.value(QLatin1String("bands")).toArray()) {
        const QJsonObject o = bv.toObject();
        ReportBand b;
        if (!bandTypeFromKey(o.value(QLatin1String("type")).toString(), &b.type)) {
            *error = QStringLiteral("未知的报表区类型 \"%1\".")
                         .arg(o.value(QLatin1String("type")).toString());
            return false;
        }
        b.height = qMax(0.0, o.value(QLatin1String("height")).toDouble(b.height));
        b.dataSet = o.value(QLatin1String("dataSet")).toString();
        b.keyField = o.value(QLatin1String("keyField")).toString();
        b.masterField = o.value(QLatin1String("masterField")).toString();
        b.condition = o.value(QLatin1String("condition")).toString();
        b.newPage = o.value(QLatin1String("newPage")).toBool(false);
        b.repeat = o.value(QLatin1String("repeat")).toBool(true);
        b.onFirstPage = o.value(QLatin1String("onFirstPage")).toBool(true);
        for (const QJsonValue &ov : o.value(QLatin1String("objects")).toArray()) {
            ReportObject ob;
            if (!objectFrom(ov.toObject(), &ob, error))
                return false;
            b.objects.append(ob);
        }
        t.bands.append(b);
    }
    *this = t;
    return true;
}

ReportTemplate ReportTemplate::fromBlob(const QByteArray &blob, QString *error, bool *ok)
{
    ReportTemplate t;
    *ok = blob.isEmpty() || t.fromJson(blob, error);
    return t;
}

bool ReportTemplate::saveToFile(const QString &path, QString *error) const
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(toJson()) < 0 || !file.commit()) {
        *error = QStringLiteral("无法写入文件 %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

bool ReportTemplate::loadFromFile(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("无法读取文件 %1: %2").arg(path, file.errorString());
        return false;
    }
    return fromJson(file.readAll(), error);
}

bool ReportTemplate::operator==(const ReportTemplate &o) const
{
    return name == o.name && page == o.page && fontFamily == o.fontFamily && fontSize == o.fontSize
        && bands == o.bands;
}
