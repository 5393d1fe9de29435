#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

class ReportData;
class TDataSet;

// Where an expression is evaluated: which row of the master and of the
// band's detail set is current, which rows their aggregates cover, the
// running line number and the page. Other data sets read their cursor row.
struct ReportEvalContext
{
    int masterSet = -1;
    int masterRow = -1;
    const QVector<int> *masterScope = nullptr; // null: every row
    int detailSet = -1;
    int detailRow = -1;
    const QVector<int> *detailScope = nullptr;
    int line = 0;
    int page = 0;
    int totalPages = 0;
    QDateTime now;
};

// A text of literals and [expressions], compiled once against the data sets
// so that evaluating it per row costs no name lookups. Inside brackets:
// "d0.Name" (a field), a variable ("u_Company"), "u.Name" (a field of the
// user set), Page, TotalPages, Date, Time, Line, and Sum/Avg/Min/Max(d0.F),
// Count(d0), Label(d0.F) (the field's caption); "|format" after a value formats it ("yyyy年M月d日",
// "0.00",
// "#,##0.00"). "[[" is a literal "[". A name that means nothing is printed as
// written, so a typing error shows on the page; a field of a set or a set
// that is not registered prints nothing.
class ReportExpression
{
public:
    ReportExpression() = default;
    ReportExpression(const QString &text, const ReportData &data);

    QString evaluate(const ReportEvalContext &context) const;
    // The value of a text that is one field reference ("d1.Photo" or
    // "[d1.Photo]"); invalid when it is none or the row is missing.
    QVariant fieldValue(const ReportEvalContext &context) const;

    bool isConstant() const;
    bool usesPages() const { return m_usesPages; }
    // "set.field" of every field the text reads, as written.
    QStringList fieldReferences() const;

    // Formats a value by a "|format" text (dates by Qt's date format, numbers
    // by a 0/#,##0.00 pattern); an empty format gives the display text.
    static QString formatValue(const QVariant &value, const QString &format);

private:
    enum class Kind { Literal, Field, Page, TotalPages, Date, Time, Line, Aggregate };
    enum class Aggregate { Sum, Avg, Min, Max, Count };
    struct Piece
    {
        Kind kind = Kind::Literal;
        QString text; // the literal, or the reference as written
        QString format;
        int set = -1;
        int field = -1;
        Aggregate aggregate = Aggregate::Sum;
    };

    void compile(const QString &inner, const ReportData &data);
    int rowFor(int set, const ReportEvalContext &context) const;
    QString aggregate(const Piece &part, const ReportEvalContext &context) const;

    const ReportData *m_data = nullptr;
    QVector<Piece> m_pieces;
    bool m_usesPages = false;
};
