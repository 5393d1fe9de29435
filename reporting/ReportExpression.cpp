#include "ReportExpression.h"

#include "DataSet.h"
#include "ReportData.h"

#include <QLocale>
#include <QRegularExpression>
#include <cmath>

namespace {

// Numbers without a format show as few decimals as they need, at most two,
// the way an amount is read on paper.
QString plainNumber(double v)
{
    if (std::isfinite(v) && v == std::floor(v) && std::fabs(v) < 1e15)
        return QString::number(static_cast<qint64>(v));
    QString s = QString::number(v, 'f', 2);
    while (s.endsWith(QLatin1Char('0')))
        s.chop(1);
    if (s.endsWith(QLatin1Char('.')))
        s.chop(1);
    return s;
}

QString numberByPattern(double v, const QString &pattern)
{
    QString p = pattern.trimmed();
    bool percent = false;
    if (p.endsWith(QLatin1Char('%'))) {
        percent = true;
        p.chop(1);
        v *= 100;
    }
    const int dot = static_cast<int>(p.indexOf(QLatin1Char('.')));
    int decimals = 0;
    if (dot >= 0)
        for (int i = dot + 1;
             i < p.size() && (p[i] == QLatin1Char('0') || p[i] == QLatin1Char('#')); ++i)
            ++decimals;
    QLocale locale(QLocale::C);
    locale.setNumberOptions(
        p.contains(QLatin1Char(',')) ? QLocale::NumberOptions() : QLocale::OmitGroupSeparator);
    QString s = locale.toString(v, 'f', decimals);
    return percent ? s + QLatin1Char('%') : s;
}

bool isNumber(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Short:
    case QMetaType::UShort:
        return true;
    default:
        return false;
    }
}

} // namespace

ReportExpression::ReportExpression(const QString &text, const ReportData &data)
    : m_data(&data)
{
    QString literal;
    auto flush = [&] {
        if (!literal.isEmpty()) {
            Piece p;
            p.text = literal;
            m_pieces.append(p);
            literal.clear();
        }
    };
    int i = 0;
    const int n = static_cast<int>(text.size());
    while (i < n) {
        const QChar c = text[i];
        if (c == QLatin1Char('[') && i + 1 < n && text[i + 1] == QLatin1Char('[')) {
            literal += QLatin1Char('[');
            i += 2;
            continue;
        }
        if (c == QLatin1Char('[')) {
            const int close = static_cast<int>(text.indexOf(QLatin1Char(']'), i + 1));
            if (close < 0) {
                literal += text.mid(i);
                break;
            }
            flush();
            compile(text.mid(i + 1, close - i - 1), data);
            i = close + 1;
            continue;
        }
        literal += c;
        ++i;
    }
    flush();
}

void ReportExpression::compile(const QString &inner, const ReportData &data)
{
    Piece part;
    QString expression = inner;
    const int bar = static_cast<int>(inner.indexOf(QLatin1Char('|')));
    if (bar >= 0) {
        expression = inner.left(bar);
        part.format = inner.mid(bar + 1).trimmed();
    }
    expression = expression.trimmed();

    auto resolveField = [&](const QString &reference, bool fieldRequired) {
        const int dot = static_cast<int>(reference.indexOf(QLatin1Char('.')));
        const QString setName = (dot < 0 ? reference : reference.left(dot)).trimmed();
        const QString fieldName = dot < 0 ? QString() : reference.mid(dot + 1).trimmed();
        part.set = data.indexOf(setName);
        if (part.set >= 0 && !fieldName.isEmpty()) {
            if (TField *f = data.dataSetAt(part.set)->FindField(fieldName))
                part.field = f->Index();
            else
                part.set = -1;
        } else if (fieldRequired) {
            part.set = -1;
        }
        part.text = reference;
    };

    static const QRegularExpression function(QStringLiteral("^([A-Za-z]+)\\s*\\((.*)\\)$"));
    const QRegularExpressionMatch call = function.match(expression);
    if (call.hasMatch()) {
        const QString name = call.captured(1).toLower();
        const QString argument = call.captured(2).trimmed();
        if (name == QLatin1String("label")) {
            // A field's caption follows the user's own field labels, so a
            // column header can print it instead of a fixed text.
            resolveField(argument, true);
            part.kind = Kind::Literal;
            part.text = part.set >= 0 ? data.dataSetAt(part.set)->Fields(part.field)->DisplayLabel()
                                      : QString();
            part.set = -1;
            m_pieces.append(part);
            return;
        }
        const struct
        {
            const char *name;
            Aggregate aggregate;
        } functions[] = {{"sum", Aggregate::Sum}, {"avg", Aggregate::Avg}, {"min", Aggregate::Min},
            {"max", Aggregate::Max}, {"count", Aggregate::Count}};
        for (const auto &f : functions) {
            if (name == QLatin1String(f.name)) {
                part.kind = Kind::Aggregate;
                part.aggregate = f.aggregate;
                resolveField(argument, f.aggregate != Aggregate::Count);
                if (part.set < 0) {
                    part.kind = Kind::Literal;
                    part.text.clear();
                }
                m_pieces.append(part);
                return;
            }
        }
    }

    const int dot = static_cast<int>(expression.indexOf(QLatin1Char('.')));
    if (dot > 0) {
        const QString setName = expression.left(dot).trimmed();
        if (setName.compare(ReportData::UserDataSetName, Qt::CaseInsensitive) == 0) {
            part.kind = Kind::Literal;
            part.text = data.userField(expression.mid(dot + 1).trimmed());
            m_pieces.append(part);
            return;
        }
        part.kind = Kind::Field;
        resolveField(expression, true);
        if (part.set < 0) {
            part.kind = Kind::Literal;
            part.text.clear();
        }
        m_pieces.append(part);
        return;
    }

    const struct
    {
        const char *name;
        Kind kind;
    } system[] = {{"page", Kind::Page}, {"totalpages", Kind::TotalPages}, {"date", Kind::Date},
        {"time", Kind::Time}, {"line", Kind::Line}};
    for (const auto &s : system) {
        if (expression.compare(QLatin1String(s.name), Qt::CaseInsensitive) == 0) {
            part.kind = s.kind;
            if (s.kind == Kind::Page || s.kind == Kind::TotalPages)
                m_usesPages = true;
            m_pieces.append(part);
            return;
        }
    }

    QString value;
    part.kind = Kind::Literal;
    if (!expression.isEmpty() && data.variable(expression, &value))
        part.text = value;
    else
        part.text = QLatin1Char('[') + inner + QLatin1Char(']');
    m_pieces.append(part);
}

int ReportExpression::rowFor(int set, const ReportEvalContext &context) const
{
    if (set == context.masterSet)
        return context.masterRow;
    if (set == context.detailSet)
        return context.detailRow;
    return m_data->dataSetAt(set)->CurrentRow();
}

QString ReportExpression::aggregate(const Piece &part, const ReportEvalContext &context) const
{
    const TDataSet *set = m_data->dataSetAt(part.set);
    const QVector<int> *scope = part.set == context.masterSet ? context.masterScope
        : part.set == context.detailSet                       ? context.detailScope
                                                              : nullptr;
    const int count = scope ? static_cast<int>(scope->size()) : set->RecordCount();
    if (part.aggregate == Aggregate::Count && part.field < 0)
        return formatValue(count, part.format);
    int values = 0;
    double sum = 0, low = 0, high = 0;
    for (int i = 0; i < count; ++i) {
        const int row = scope ? scope->at(i) : i;
        if (set->IsNullAt(row, part.field))
            continue;
        const double v = set->ValueAt(row, part.field).toDouble();
        low = values == 0 ? v : qMin(low, v);
        high = values == 0 ? v : qMax(high, v);
        sum += v;
        ++values;
    }
    switch (part.aggregate) {
    case Aggregate::Count:
        return formatValue(values, part.format);
    case Aggregate::Sum:
        return formatValue(sum, part.format);
    case Aggregate::Avg:
        return values ? formatValue(sum / values, part.format) : QString();
    case Aggregate::Min:
        return values ? formatValue(low, part.format) : QString();
    case Aggregate::Max:
        return values ? formatValue(high, part.format) : QString();
    }
    return QString();
}

QString ReportExpression::evaluate(const ReportEvalContext &context) const
{
    QString out;
    for (const Piece &part : m_pieces) {
        switch (part.kind) {
        case Kind::Literal:
            out += part.text;
            break;
        case Kind::Field: {
            const TDataSet *set = m_data->dataSetAt(part.set);
            const int row = rowFor(part.set, context);
            if (row < 0 || row >= set->RecordCount())
                break;
            out += part.format.isEmpty() ? set->DisplayTextAt(row, part.field)
                                         : formatValue(set->ValueAt(row, part.field), part.format);
            break;
        }
        case Kind::Page:
            out += QString::number(context.page);
            break;
        case Kind::TotalPages:
            out += QString::number(context.totalPages);
            break;
        case Kind::Date:
            out += context.now.date().toString(
                part.format.isEmpty() ? QStringLiteral("yyyy-MM-dd") : part.format);
            break;
        case Kind::Time:
            out += context.now.time().toString(
                part.format.isEmpty() ? QStringLiteral("hh:mm:ss") : part.format);
            break;
        case Kind::Line:
            out += QString::number(context.line);
            break;
        case Kind::Aggregate:
            out += aggregate(part, context);
            break;
        }
    }
    return out;
}

QVariant ReportExpression::fieldValue(const ReportEvalContext &context) const
{
    if (m_pieces.size() != 1 || m_pieces[0].kind != Kind::Field)
        return QVariant();
    const Piece &part = m_pieces[0];
    const TDataSet *set = m_data->dataSetAt(part.set);
    const int row = rowFor(part.set, context);
    if (row < 0 || row >= set->RecordCount())
        return QVariant();
    return set->ValueAt(row, part.field);
}

bool ReportExpression::isConstant() const
{
    for (const Piece &p : m_pieces)
        if (p.kind != Kind::Literal)
            return false;
    return true;
}

QStringList ReportExpression::fieldReferences() const
{
    QStringList list;
    for (const Piece &p : m_pieces)
        if (p.kind == Kind::Field || (p.kind == Kind::Aggregate && p.field >= 0))
            list << p.text;
    return list;
}

QString ReportExpression::formatValue(const QVariant &value, const QString &format)
{
    if (!value.isValid() || value.isNull())
        return QString();
    switch (value.typeId()) {
    case QMetaType::QDateTime: {
        const QDateTime dt = value.toDateTime();
        if (!format.isEmpty())
            return dt.toString(format);
        return dt.toString(dt.time() == QTime(0, 0) ? QStringLiteral("yyyy-MM-dd")
                                                    : QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    }
    case QMetaType::QDate:
        return value.toDate().toString(format.isEmpty() ? QStringLiteral("yyyy-MM-dd") : format);
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("是") : QStringLiteral("否");
    case QMetaType::QByteArray:
        return QString();
    default:
        break;
    }
    if (isNumber(value)) {
        const double v = value.toDouble();
        return format.isEmpty() ? plainNumber(v) : numberByPattern(v, format);
    }
    return value.toString();
}
