#include "DataSet.h"

#include "Error.h"

#include <QCollator>
#include <QLocale>
#include <algorithm>
#include <cstring>
#include <unordered_map>

namespace {

constexpr qint64 msPerDay = 86400000;

QDateTime unpackDateTime(qint64 stamp)
{
    return QDateTime(QDate::fromJulianDay(stamp / msPerDay),
        QTime::fromMSecsSinceStartOfDay(static_cast<int>(stamp % msPerDay)));
}

bool isTextKind(FieldKind kind)
{
    return kind == FieldKind::WideString || kind == FieldKind::String || kind == FieldKind::Memo;
}

bool usesArena(FieldKind kind)
{
    return isTextKind(kind) || kind == FieldKind::Blob;
}

QString dateTimeDisplay(const QDateTime &value)
{
    if (!value.isValid())
        return QString();
    if (value.time().msecsSinceStartOfDay() == 0)
        return value.date().toString(QStringLiteral("yyyy-MM-dd"));
    return value.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QString floatDisplay(double value)
{
    return QString::number(value, 'g', 15);
}

} // namespace

struct TDataSet::Column
{
    FieldKind kind;
    std::vector<qint32> ints;
    std::vector<double> reals;
    std::vector<qint64> stamps;
    QByteArray arena;
    std::vector<quint32> ends;
    std::unordered_map<int, QByteArray> replaced;
    std::vector<QVariant> variants;
    std::vector<quint64> nulls;

    explicit Column(FieldKind k)
        : kind(k)
    { }

    bool isNull(int row) const { return (nulls[static_cast<size_t>(row) >> 6] >> (row & 63)) & 1u; }
    void setNullBit(int row, bool null)
    {
        quint64 &word = nulls[static_cast<size_t>(row) >> 6];
        const quint64 bit = quint64(1) << (row & 63);
        word = null ? (word | bit) : (word & ~bit);
    }
    void growNulls(int row)
    {
        if ((row & 63) == 0)
            nulls.push_back(0);
    }

    QByteArray bytes(int row) const
    {
        if (!replaced.empty()) {
            const auto it = replaced.find(row);
            if (it != replaced.end())
                return it->second;
        }
        const quint32 begin = row == 0 ? 0 : ends[static_cast<size_t>(row) - 1];
        const quint32 end = ends[static_cast<size_t>(row)];
        return QByteArray(arena.constData() + begin, static_cast<int>(end - begin));
    }

    // Appends one slot holding NULL.
    void appendSlot(int row)
    {
        growNulls(row);
        switch (kind) {
        case FieldKind::Integer:
        case FieldKind::Boolean:
            ints.push_back(0);
            break;
        case FieldKind::Float:
            reals.push_back(0);
            break;
        case FieldKind::DateTime:
            stamps.push_back(0);
            break;
        case FieldKind::Variant:
            variants.emplace_back();
            break;
        default:
            ends.push_back(static_cast<quint32>(arena.size()));
            break;
        }
        setNullBit(row, true);
    }

    qint64 memoryBytes() const
    {
        qint64 total = static_cast<qint64>(ints.capacity() * sizeof(qint32)
            + reals.capacity() * sizeof(double) + stamps.capacity() * sizeof(qint64)
            + ends.capacity() * sizeof(quint32) + nulls.capacity() * sizeof(quint64)
            + variants.capacity() * sizeof(QVariant));
        total += arena.capacity();
        for (const auto &r : replaced)
            total += r.second.capacity() + 32;
        return total;
    }

    void squeeze()
    {
        ints.shrink_to_fit();
        reals.shrink_to_fit();
        stamps.shrink_to_fit();
        ends.shrink_to_fit();
        nulls.shrink_to_fit();
        variants.shrink_to_fit();
        arena.squeeze();
    }
};

// ---------------------------------------------------------------- TField

TField::TField(
    TDataSet *set, int index, FieldKind kind, QString name, int size, bool visible, QString label)
    : m_set(set)
    , m_index(index)
    , m_kind(kind)
    , m_name(std::move(name))
    , m_size(size)
    , m_visible(visible)
    , m_label(std::move(label))
{ }

bool TField::IsText() const
{
    return isTextKind(m_kind);
}

bool TField::IsNumeric() const
{
    return m_kind == FieldKind::Integer || m_kind == FieldKind::Float;
}

bool TField::IsNull() const
{
    const QVariant v = m_set->currentValue(m_index);
    return !v.isValid() || v.isNull();
}

QVariant TField::Value() const
{
    return m_set->currentValue(m_index);
}

QString TField::AsString() const
{
    const QVariant v = Value();
    if (!v.isValid())
        return QString();
    switch (v.typeId()) {
    case QMetaType::QDateTime:
        return dateTimeDisplay(v.toDateTime());
    case QMetaType::Double:
        return floatDisplay(v.toDouble());
    case QMetaType::Bool:
        return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case QMetaType::QByteArray:
        return QString::fromUtf8(v.toByteArray());
    default:
        return v.toString();
    }
}

int TField::AsInteger() const
{
    const QVariant v = Value();
    if (v.typeId() == QMetaType::QString)
        return v.toString().trimmed().toInt();
    if (v.typeId() == QMetaType::Double)
        return static_cast<int>(v.toDouble());
    return v.toInt();
}

double TField::AsFloat() const
{
    const QVariant v = Value();
    if (v.typeId() == QMetaType::QString)
        return v.toString().trimmed().toDouble();
    return v.toDouble();
}

QDateTime TField::AsDateTime() const
{
    const QVariant v = Value();
    if (!v.isValid())
        return QDateTime();
    if (v.typeId() == QMetaType::QString || v.typeId() == QMetaType::QByteArray) {
        const QByteArray text = v.toString().toUtf8();
        qint64 stamp = 0;
        return TDataSet::Loader::parseDateTime(text.constData(), text.size(), &stamp)
            ? unpackDateTime(stamp)
            : QDateTime();
    }
    if (v.typeId() == QMetaType::QDate)
        return v.toDate().startOfDay();
    return v.toDateTime();
}

bool TField::AsBoolean() const
{
    const QVariant v = Value();
    if (v.typeId() == QMetaType::QString) {
        const QString s = v.toString().trimmed();
        return s.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 || s.toInt() != 0;
    }
    return v.toBool();
}

QByteArray TField::AsBytes() const
{
    const QVariant v = Value();
    if (v.typeId() == QMetaType::QString)
        return v.toString().toUtf8();
    return v.toByteArray();
}

QString TField::DisplayText() const
{
    if (m_kind == FieldKind::Boolean && !IsNull())
        return AsBoolean() ? QStringLiteral("是") : QStringLiteral("否");
    if (m_kind == FieldKind::Blob)
        return IsNull() ? QString() : QStringLiteral("(BLOB)");
    return AsString();
}

void TField::SetValue(const QVariant &value)
{
    m_set->setBufferValue(m_index, value);
}

// ---------------------------------------------------------------- TDataSet

TDataSet::TDataSet(QObject *parent)
    : QObject(parent)
{ }

TDataSet::~TDataSet() = default;

TField *TDataSet::AddField(
    FieldKind kind, const QString &name, int size, bool visible, const QString &label)
{
    if (Active())
        throw QmError(QStringLiteral("数据集已打开,不能再添加字段 %1").arg(name));
    if (size < 0)
        size = isTextKind(kind) ? 20 : 0;
    const int index = FieldCount();
    m_fields.push_back(
        std::unique_ptr<TField>(new TField(this, index, kind, name, size, visible, label)));
    m_declared = true;
    return m_fields.back().get();
}

void TDataSet::ClearFields()
{
    Close();
    m_fields.clear();
    m_declared = false;
}

TField *TDataSet::FindField(const QString &name) const
{
    for (const auto &f : m_fields)
        if (f->FieldName().compare(name, Qt::CaseInsensitive) == 0)
            return f.get();
    return nullptr;
}

TField *TDataSet::FieldByName(const QString &name) const
{
    TField *f = FindField(name);
    if (!f)
        throw QmError(QStringLiteral("字段 '%1' 不存在").arg(name));
    return f;
}

QList<TField *> TDataSet::VisibleFields() const
{
    QList<TField *> list;
    for (const auto &f : m_fields)
        if (f->Visible())
            list.append(f.get());
    return list;
}

void TDataSet::resetColumns()
{
    m_columns.clear();
    for (const auto &f : m_fields)
        m_columns.push_back(std::make_unique<Column>(f->Kind()));
    m_order.clear();
    m_physicalRows = 0;
    m_current = 0;
    m_bof = m_eof = true;
    m_buffer.clear();
}

void TDataSet::CreateDataSet()
{
    resetColumns();
    m_state = State::Browse;
    emit dataReset();
}

void TDataSet::Close()
{
    if (m_state == State::Inactive)
        return;
    m_columns.clear();
    m_order.clear();
    m_physicalRows = 0;
    m_current = 0;
    m_buffer.clear();
    m_state = State::Inactive;
    if (!m_declared)
        m_fields.clear();
    emit dataReset();
}

void TDataSet::requireBrowse(const char *operation) const
{
    if (m_state == State::Inactive)
        throw QmError(QStringLiteral("数据集未打开,不能执行 %1").arg(QLatin1String(operation)));
}

void TDataSet::SetCurrentRow(int row)
{
    if (m_order.isEmpty())
        return;
    if (IsEditing())
        Post();
    row = std::clamp(row, 0, RecordCount() - 1);
    m_bof = m_eof = false;
    if (row != m_current) {
        m_current = row;
        emit currentRowChanged(row);
    }
}

void TDataSet::First()
{
    if (IsEditing())
        Post();
    m_bof = true;
    m_eof = m_order.isEmpty();
    if (!m_order.isEmpty() && m_current != 0) {
        m_current = 0;
        emit currentRowChanged(0);
    }
}

void TDataSet::Last()
{
    if (IsEditing())
        Post();
    m_eof = true;
    m_bof = m_order.isEmpty();
    if (!m_order.isEmpty() && m_current != RecordCount() - 1) {
        m_current = RecordCount() - 1;
        emit currentRowChanged(m_current);
    }
}

void TDataSet::Next()
{
    if (IsEditing())
        Post();
    if (m_current + 1 < RecordCount()) {
        ++m_current;
        m_bof = m_eof = false;
        emit currentRowChanged(m_current);
    } else {
        m_eof = true;
    }
}

void TDataSet::Prior()
{
    if (IsEditing())
        Post();
    if (m_current > 0 && !m_order.isEmpty()) {
        --m_current;
        m_bof = m_eof = false;
        emit currentRowChanged(m_current);
    } else {
        m_bof = true;
    }
}

bool TDataSet::Locate(const QString &fieldName, const QVariant &value)
{
    const TField *field = FieldByName(fieldName);
    const int f = field->Index();
    const bool text = value.typeId() == QMetaType::QString;
    for (int row = 0; row < RecordCount(); ++row) {
        const QVariant v = storedValue(m_order[row], f);
        bool equal;
        if (text)
            equal = v.toString().compare(value.toString(), Qt::CaseInsensitive) == 0;
        else if (!v.isValid() || !value.isValid())
            equal = !v.isValid() && !value.isValid();
        else if (v.typeId() == QMetaType::Int || v.typeId() == QMetaType::LongLong)
            equal = v.toLongLong() == value.toLongLong();
        else
            equal = v == value;
        if (equal) {
            SetCurrentRow(row);
            return true;
        }
    }
    return false;
}

void TDataSet::Edit()
{
    requireBrowse("Edit");
    if (IsEditing())
        return;
    if (m_order.isEmpty())
        throw QmError(QStringLiteral("数据集为空,不能编辑"));
    m_buffer.resize(FieldCount());
    for (int f = 0; f < FieldCount(); ++f)
        m_buffer[f] = storedValue(m_order[m_current], f);
    m_state = State::Edit;
    emit currentRowChanged(CurrentRow());
}

void TDataSet::Append()
{
    requireBrowse("Append");
    if (IsEditing())
        Post();
    m_buffer = QVector<QVariant>(FieldCount());
    m_state = State::Insert;
    // Bound controls show the new, empty row.
    emit currentRowChanged(CurrentRow());
}

void TDataSet::Post()
{
    if (!IsEditing())
        return;
    // What bound controls hold belongs to the row, also when a move posts it.
    emit updatingRecord();
    if (!IsEditing())
        return;
    if (m_state == State::Edit) {
        const int physical = m_order[m_current];
        for (int f = 0; f < FieldCount(); ++f)
            storeValue(physical, f, m_buffer[f]);
        m_state = State::Browse;
        m_buffer.clear();
        emit rowChanged(m_current);
        return;
    }
    const int physical = appendPhysicalRow();
    for (int f = 0; f < FieldCount(); ++f)
        storeValue(physical, f, m_buffer[f]);
    m_order.append(physical);
    m_current = RecordCount() - 1;
    m_bof = m_eof = false;
    m_state = State::Browse;
    m_buffer.clear();
    emit rowInserted(m_current);
    emit currentRowChanged(m_current);
}

void TDataSet::Cancel()
{
    if (!IsEditing())
        return;
    m_state = State::Browse;
    m_buffer.clear();
    emit currentRowChanged(CurrentRow());
}

void TDataSet::Delete()
{
    requireBrowse("Delete");
    Cancel();
    if (m_order.isEmpty())
        return;
    const int row = m_current;
    m_order.remove(row);
    if (m_current >= RecordCount())
        m_current = std::max(0, RecordCount() - 1);
    m_eof = m_order.isEmpty();
    emit rowRemoved(row);
    emit currentRowChanged(CurrentRow());
}

bool TDataSet::IsNullAt(int row, int field) const
{
    return valueIsNull(m_order[row], field);
}

QVariant TDataSet::ValueAt(int row, int field) const
{
    return storedValue(m_order[row], field);
}

QString TDataSet::DisplayTextAt(int row, int field) const
{
    const int physical = m_order[row];
    if (valueIsNull(physical, field))
        return QString();
    const Column &c = *m_columns[static_cast<size_t>(field)];
    switch (c.kind) {
    case FieldKind::Integer:
        return QString::number(c.ints[static_cast<size_t>(physical)]);
    case FieldKind::Boolean:
        return c.ints[static_cast<size_t>(physical)] ? QStringLiteral("是") : QStringLiteral("否");
    case FieldKind::Float:
        return floatDisplay(c.reals[static_cast<size_t>(physical)]);
    case FieldKind::DateTime:
        return dateTimeDisplay(unpackDateTime(c.stamps[static_cast<size_t>(physical)]));
    case FieldKind::Blob:
        return QStringLiteral("(BLOB)");
    case FieldKind::Variant: {
        const QVariant &v = c.variants[static_cast<size_t>(physical)];
        if (v.typeId() == QMetaType::QDateTime)
            return dateTimeDisplay(v.toDateTime());
        if (v.typeId() == QMetaType::Double)
            return floatDisplay(v.toDouble());
        return v.toString();
    }
    default:
        return QString::fromUtf8(c.bytes(physical));
    }
}

qint64 TDataSet::MemoryBytes() const
{
    qint64 total = m_order.capacity() * static_cast<qint64>(sizeof(int));
    for (const auto &c : m_columns)
        total += c->memoryBytes();
    return total;
}

bool TDataSet::valueIsNull(int physical, int field) const
{
    return m_columns[static_cast<size_t>(field)]->isNull(physical);
}

QVariant TDataSet::storedValue(int physical, int field) const
{
    const Column &c = *m_columns[static_cast<size_t>(field)];
    if (c.isNull(physical))
        return QVariant();
    const auto p = static_cast<size_t>(physical);
    switch (c.kind) {
    case FieldKind::Integer:
        return c.ints[p];
    case FieldKind::Boolean:
        return c.ints[p] != 0;
    case FieldKind::Float:
        return c.reals[p];
    case FieldKind::DateTime:
        return unpackDateTime(c.stamps[p]);
    case FieldKind::Blob:
        return c.bytes(physical);
    case FieldKind::Variant:
        return c.variants[p];
    default:
        return QString::fromUtf8(c.bytes(physical));
    }
}

void TDataSet::storeValue(int physical, int field, const QVariant &value)
{
    Column &c = *m_columns[static_cast<size_t>(field)];
    const bool null = !value.isValid() || value.isNull();
    const auto p = static_cast<size_t>(physical);
    if (null) {
        c.setNullBit(physical, true);
        c.replaced.erase(physical);
        return;
    }
    switch (c.kind) {
    case FieldKind::Integer:
        c.ints[p] = value.typeId() == QMetaType::Double ? static_cast<qint32>(value.toDouble())
                                                        : value.toInt();
        break;
    case FieldKind::Boolean:
        c.ints[p] = value.toBool() ? 1 : 0;
        break;
    case FieldKind::Float:
        c.reals[p] = value.toDouble();
        break;
    case FieldKind::DateTime: {
        QDateTime dt;
        if (value.typeId() == QMetaType::QString) {
            const QByteArray text = value.toString().toUtf8();
            qint64 stamp = 0;
            if (!Loader::parseDateTime(text.constData(), text.size(), &stamp)) {
                c.setNullBit(physical, true);
                return;
            }
            c.stamps[p] = stamp;
            break;
        }
        dt = value.typeId() == QMetaType::QDate ? value.toDate().startOfDay() : value.toDateTime();
        if (!dt.isValid()) {
            c.setNullBit(physical, true);
            return;
        }
        c.stamps[p] = Loader::packDateTime(dt);
        break;
    }
    case FieldKind::Variant:
        c.variants[p] = value;
        break;
    case FieldKind::Blob:
        c.replaced[physical] = value.toByteArray();
        break;
    default:
        c.replaced[physical] = value.toString().toUtf8();
        break;
    }
    c.setNullBit(physical, false);
}

int TDataSet::appendPhysicalRow()
{
    const int row = m_physicalRows++;
    for (auto &c : m_columns)
        c->appendSlot(row);
    return row;
}

QVariant TDataSet::currentValue(int field) const
{
    if (IsEditing())
        return m_buffer[field];
    if (m_state == State::Inactive || m_order.isEmpty())
        return QVariant();
    return storedValue(m_order[m_current], field);
}

void TDataSet::setBufferValue(int field, const QVariant &value)
{
    if (!IsEditing())
        throw QmError(
            QStringLiteral("数据集不在编辑状态,不能修改字段 %1").arg(Fields(field)->FieldName()));
    QVariant v = value;
    // Keep the buffer in the field's own kind so reads before Post agree with
    // reads after it.
    if (v.isValid() && !v.isNull()) {
        switch (Fields(field)->Kind()) {
        case FieldKind::Integer:
            v = v.toInt();
            break;
        case FieldKind::Boolean:
            v = v.toBool();
            break;
        case FieldKind::Float:
            v = v.toDouble();
            break;
        case FieldKind::DateTime:
            if (v.typeId() == QMetaType::QDate) {
                v = v.toDate().startOfDay();
            } else if (v.typeId() == QMetaType::QString) {
                const QByteArray text = v.toString().toUtf8();
                qint64 stamp = 0;
                v = Loader::parseDateTime(text.constData(), text.size(), &stamp)
                    ? QVariant(unpackDateTime(stamp))
                    : QVariant();
            } else if (!v.toDateTime().isValid()) {
                v = QVariant();
            }
            break;
        case FieldKind::Blob:
            v = v.toByteArray();
            break;
        case FieldKind::Variant:
            break;
        default:
            v = v.toString();
            break;
        }
    }
    m_buffer[field] = v;
}

void TDataSet::Sort(const QVector<SortKey> &keys)
{
    if (m_order.size() < 2)
        return;
    if (IsEditing())
        Post();
    const int currentPhysical = m_order.isEmpty() ? -1 : m_order[m_current];
    if (keys.isEmpty()) {
        // No keys: the order the rows were loaded and appended in.
        std::sort(m_order.begin(), m_order.end());
        m_current = static_cast<int>(m_order.indexOf(currentPhysical));
        emit dataReset();
        return;
    }

    // Texts sort by the collation people expect (pinyin for Chinese); the
    // collation keys are built once per row rather than once per comparison.
    QCollator collator(QLocale(QLocale::Chinese, QLocale::China));
    collator.setNumericMode(true);
    std::vector<std::vector<QCollatorSortKey>> textKeys(static_cast<size_t>(keys.size()));
    for (int k = 0; k < keys.size(); ++k) {
        const Column &c = *m_columns[static_cast<size_t>(keys[k].field)];
        if (!isTextKind(c.kind) && c.kind != FieldKind::Variant)
            continue;
        auto &list = textKeys[static_cast<size_t>(k)];
        list.reserve(static_cast<size_t>(m_physicalRows));
        for (int p = 0; p < m_physicalRows; ++p) {
            const QString text = c.isNull(p)   ? QString()
                : c.kind == FieldKind::Variant ? c.variants[static_cast<size_t>(p)].toString()
                                               : QString::fromUtf8(c.bytes(p));
            list.push_back(collator.sortKey(text));
        }
    }

    auto compare = [&](int a, int b) {
        for (int k = 0; k < keys.size(); ++k) {
            const Column &c = *m_columns[static_cast<size_t>(keys[k].field)];
            const bool na = c.isNull(a), nb = c.isNull(b);
            int r = 0;
            if (na || nb) {
                r = na == nb ? 0 : (na ? -1 : 1);
            } else {
                const auto pa = static_cast<size_t>(a), pb = static_cast<size_t>(b);
                switch (c.kind) {
                case FieldKind::Integer:
                case FieldKind::Boolean:
                    r = c.ints[pa] < c.ints[pb] ? -1 : (c.ints[pa] > c.ints[pb] ? 1 : 0);
                    break;
                case FieldKind::Float:
                    r = c.reals[pa] < c.reals[pb] ? -1 : (c.reals[pa] > c.reals[pb] ? 1 : 0);
                    break;
                case FieldKind::DateTime:
                    r = c.stamps[pa] < c.stamps[pb] ? -1 : (c.stamps[pa] > c.stamps[pb] ? 1 : 0);
                    break;
                case FieldKind::Blob: {
                    const QByteArray x = c.bytes(a), y = c.bytes(b);
                    r = x < y ? -1 : (y < x ? 1 : 0);
                    break;
                }
                default:
                    r = textKeys[static_cast<size_t>(k)][pa].compare(
                        textKeys[static_cast<size_t>(k)][pb]);
                    break;
                }
            }
            if (r != 0)
                return keys[k].descending ? r > 0 : r < 0;
        }
        return false;
    };
    std::stable_sort(m_order.begin(), m_order.end(), compare);
    if (currentPhysical >= 0)
        m_current = static_cast<int>(m_order.indexOf(currentPhysical));
    emit dataReset();
}

// ---------------------------------------------------------------- Loader

TDataSet::Loader::Loader(TDataSet &set, const QVector<ResultColumn> &columns)
    : m_set(set)
{
    set.Close();
    if (!set.m_declared) {
        set.m_fields.clear();
        for (const auto &column : columns) {
            const int index = set.FieldCount();
            set.m_fields.push_back(std::unique_ptr<TField>(new TField(&set, index, column.kind,
                column.name, isTextKind(column.kind) ? 20 : 0, true, QString())));
        }
    }
    m_fieldForColumn.fill(-1, columns.size());
    QVector<bool> found(set.FieldCount(), false);
    for (int c = 0; c < columns.size(); ++c) {
        for (int f = 0; f < set.FieldCount(); ++f) {
            if (!found[f]
                && set.Fields(f)->FieldName().compare(columns[c].name, Qt::CaseInsensitive) == 0) {
                m_fieldForColumn[c] = f;
                found[f] = true;
                break;
            }
        }
    }
    for (int f = 0; f < set.FieldCount(); ++f) {
        if (!found[f])
            throw QmError(
                QStringLiteral("字段 '%1' 在查询结果中不存在").arg(set.Fields(f)->FieldName()));
    }
    set.resetColumns();
}

TDataSet::Loader::~Loader()
{
    if (!m_finished)
        m_set.resetColumns();
}

FieldKind TDataSet::Loader::kindOf(int field) const
{
    return m_set.m_columns[static_cast<size_t>(field)]->kind;
}

void TDataSet::Loader::beginRow()
{
    m_row = m_set.appendPhysicalRow();
}

void TDataSet::Loader::setNull(int)
{
    // appendPhysicalRow left every slot NULL.
}

void TDataSet::Loader::setInt(int field, qint64 value)
{
    Column &c = *m_set.m_columns[static_cast<size_t>(field)];
    const auto r = static_cast<size_t>(m_row);
    switch (c.kind) {
    case FieldKind::Integer:
        c.ints[r] = static_cast<qint32>(value);
        break;
    case FieldKind::Boolean:
        c.ints[r] = value != 0;
        break;
    case FieldKind::Float:
        c.reals[r] = static_cast<double>(value);
        break;
    default:
        m_set.storeValue(m_row, field, QVariant(value));
        return;
    }
    c.setNullBit(m_row, false);
}

void TDataSet::Loader::setDouble(int field, double value)
{
    Column &c = *m_set.m_columns[static_cast<size_t>(field)];
    if (c.kind == FieldKind::Float) {
        c.reals[static_cast<size_t>(m_row)] = value;
        c.setNullBit(m_row, false);
        return;
    }
    m_set.storeValue(m_row, field, QVariant(value));
}

void TDataSet::Loader::setStamp(int field, qint64 stamp)
{
    Column &c = *m_set.m_columns[static_cast<size_t>(field)];
    if (c.kind == FieldKind::DateTime) {
        c.stamps[static_cast<size_t>(m_row)] = stamp;
        c.setNullBit(m_row, false);
        return;
    }
    m_set.storeValue(m_row, field, unpackDateTime(stamp));
}

void TDataSet::Loader::setBytes(int field, const char *data, int size)
{
    Column &c = *m_set.m_columns[static_cast<size_t>(field)];
    if (usesArena(c.kind)) {
        // The slot appended for this row is the last one, so the text can go
        // straight onto the end of the column's buffer.
        c.arena.append(data, size);
        c.ends.back() = static_cast<quint32>(c.arena.size());
        c.setNullBit(m_row, false);
        return;
    }
    if (c.kind == FieldKind::DateTime) {
        qint64 stamp = 0;
        if (parseDateTime(data, size, &stamp))
            setStamp(field, stamp);
        return;
    }
    m_set.storeValue(m_row, field, QString::fromUtf8(data, size));
}

void TDataSet::Loader::setVariant(int field, const QVariant &value)
{
    m_set.storeValue(m_row, field, value);
}

void TDataSet::Loader::endRow()
{
    m_set.m_order.append(m_row);
}

void TDataSet::Loader::finish()
{
    for (auto &c : m_set.m_columns)
        c->squeeze();
    m_set.m_order.squeeze();
    m_set.m_state = State::Browse;
    m_set.m_current = 0;
    m_set.m_bof = true;
    m_set.m_eof = m_set.m_order.isEmpty();
    m_finished = true;
    emit m_set.dataReset();
}

qint64 TDataSet::Loader::packDateTime(const QDateTime &value)
{
    return value.date().toJulianDay() * msPerDay + value.time().msecsSinceStartOfDay();
}

bool TDataSet::Loader::parseDateTime(const char *s, int n, qint64 *stamp)
{
    auto digits = [&](int at, int count, int *out) {
        if (at + count > n)
            return false;
        int v = 0;
        for (int i = 0; i < count; ++i) {
            const char c = s[at + i];
            if (c < '0' || c > '9')
                return false;
            v = v * 10 + (c - '0');
        }
        *out = v;
        return true;
    };
    int y, mo, d, h = 0, mi = 0, sec = 0, ms = 0;
    if (n < 10 || !digits(0, 4, &y) || s[4] != '-' || !digits(5, 2, &mo) || s[7] != '-'
        || !digits(8, 2, &d))
        return false;
    if (n >= 19 && (s[10] == ' ' || s[10] == 'T')) {
        if (!digits(11, 2, &h) || s[13] != ':' || !digits(14, 2, &mi) || s[16] != ':'
            || !digits(17, 2, &sec))
            return false;
        if (n >= 21 && s[19] == '.') {
            int frac = 0, len = 0;
            while (20 + len < n && len < 3 && s[20 + len] >= '0' && s[20 + len] <= '9') {
                frac = frac * 10 + (s[20 + len] - '0');
                ++len;
            }
            while (len++ < 3)
                frac *= 10;
            ms = frac;
        }
    }
    const QDate date(y, mo, d);
    if (!date.isValid() || h > 23 || mi > 59 || sec > 59)
        return false;
    *stamp = date.toJulianDay() * msPerDay + ((h * 60 + mi) * 60 + sec) * 1000 + ms;
    return true;
}
