#pragma once

#include <QByteArray>
#include <QColor>
#include <QString>
#include <QVector>

// The banded report template the program designs, stores and prints: page
// setup, a base font and a list of bands holding placed objects. All lengths
// are millimetres; object positions are relative to their band's top left.
// Stored as versioned JSON (see TEMPLATE_FORMAT.md); reading accepts every
// older version and refuses newer ones.

enum class BandType {
    ReportTitle,
    PageHeader,
    ColumnHeader,
    GroupHeader,
    Master,
    DetailHeader,
    Detail,
    DetailFooter,
    GroupFooter,
    Summary,
    PageFooter,
};

enum class ObjectType { Text, Image, Line, Rect };

enum class HAlign { Left, Center, Right };
enum class VAlign { Top, Middle, Bottom };

// A font relative to the template's base font: an empty family or a size of
// 0 take the base one.
struct ReportFont
{
    QString family;
    double size = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;

    bool operator==(const ReportFont &o) const
    {
        return family == o.family && size == o.size && bold == o.bold && italic == o.italic
            && underline == o.underline;
    }
};

struct ReportObject
{
    ObjectType type = ObjectType::Text;
    double x = 0, y = 0, w = 20, h = 6;

    // Text: literals mixed with [expressions].
    QString text;
    ReportFont font;
    HAlign align = HAlign::Left;
    VAlign valign = VAlign::Middle;
    bool wrap = true;
    // The band grows so that all of this text shows.
    bool grow = false;
    QColor color = Qt::black;
    QColor fill; // invalid: transparent

    // Sides framed, any of "LTRB"; lines and rectangles are always drawn.
    QString frame;
    double lineWidth = 0.2;

    // Image: a field holding picture bytes ("d1.Photo"), a file, or the
    // picture's bytes kept in the template.
    QString field;
    QString file;
    QByteArray data;
    bool keepAspect = true;

    bool operator==(const ReportObject &o) const;
};

struct ReportBand
{
    BandType type = BandType::Master;
    double height = 8;
    // Master, Detail, DetailHeader, DetailFooter: the data set ("d0").
    QString dataSet;
    // Detail: its rows are those whose keyField equals masterField of the
    // current master row; without a keyField, all of them.
    QString keyField;
    QString masterField;
    // GroupHeader, GroupFooter: the expression whose change starts a group
    // ("d0.DutyDeptName"); a footer closes the header of the same condition.
    QString condition;
    // Master, GroupHeader: start a new page (not before the first one).
    bool newPage = false;
    // ColumnHeader, DetailHeader: printed again at the top of a continued page.
    bool repeat = true;
    // PageHeader, PageFooter: printed on the first page as well.
    bool onFirstPage = true;
    QVector<ReportObject> objects;

    bool operator==(const ReportBand &o) const;
};

struct ReportPageSetup
{
    // "A4", "A5", "B5", "Letter", "Legal" or "Custom" (then width x height).
    QString size = QStringLiteral("A4");
    bool landscape = false;
    double width = 210, height = 297;
    double left = 15, top = 12, right = 15, bottom = 12;

    // The paper's size in millimetres in the chosen orientation.
    double paperWidth() const;
    double paperHeight() const;
    double printableWidth() const { return paperWidth() - left - right; }

    bool operator==(const ReportPageSetup &o) const;
};

class ReportTemplate
{
public:
    static const int FormatVersion = 1;
    static const QString DefaultFontFamily;

    QString name;
    ReportPageSetup page;
    QString fontFamily = DefaultFontFamily;
    double fontSize = 9;
    QVector<ReportBand> bands;

    bool isEmpty() const { return bands.isEmpty(); }
    void clear();

    // The bands of a type, in template order.
    QVector<int> bandsOf(BandType type) const;
    int firstBandOf(BandType type) const;

    QByteArray toJson() const;
    // False with *error set when the bytes are no template of ours or one of
    // a newer version; *this is left unchanged then.
    bool fromJson(const QByteArray &json, QString *error);
    // Empty bytes read as an empty template.
    static ReportTemplate fromBlob(const QByteArray &blob, QString *error, bool *ok);

    bool saveToFile(const QString &path, QString *error) const;
    bool loadFromFile(const QString &path, QString *error);

    bool operator==(const ReportTemplate &o) const;
    bool operator!=(const ReportTemplate &o) const { return !(*this == o); }

    static QString bandTypeKey(BandType type);
    static bool bandTypeFromKey(const QString &key, BandType *type);
    // The caption the designer shows ("页眉", "主数据", ...).
    static QString bandTypeCaption(BandType type);
};
