#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QObject>
#include <QString>
#include <QVariant>
#include <QVector>
#include <memory>
#include <vector>

enum class FieldKind { Integer, WideString, String, Float, DateTime, Boolean, Memo, Blob, Variant };

class TDataSet;

// One declared column of a data set: its kind, name, size, visibility and
// caption. Value accessors read the data set's current row (or its edit
// buffer while a row is being edited) and follow the program's NULL rule: a
// NULL reads as 0, empty text, false or an invalid date.
class TField
{
public:
    const QString &FieldName() const { return m_name; }
    FieldKind Kind() const { return m_kind; }
    int Size() const { return m_size; }
    void SetSize(int size) { m_size = size; }
    bool Visible() const { return m_visible; }
    void SetVisible(bool visible) { m_visible = visible; }
    const QString &DisplayLabel() const { return m_label.isEmpty() ? m_name : m_label; }
    void SetDisplayLabel(const QString &label) { m_label = label; }
    int DisplayWidth() const { return m_displayWidth; }
    void SetDisplayWidth(int width) { m_displayWidth = width; }
    int Index() const { return m_index; }
    TDataSet *DataSet() const { return m_set; }
    bool IsText() const;
    bool IsNumeric() const;

    bool IsNull() const;
    // NULL as an invalid QVariant; dates as QDateTime.
    QVariant Value() const;
    QString AsString() const;
    int AsInteger() const;
    double AsFloat() const;
    QDateTime AsDateTime() const;
    bool AsBoolean() const;
    QByteArray AsBytes() const;
    // Dates as "yyyy-MM-dd" (with " hh:mm:ss" when there is a time of day).
    QString DisplayText() const;

    // Only while the data set is being edited or a row appended.
    void SetValue(const QVariant &value);
    void SetAsString(const QString &value) { SetValue(value); }
    void SetAsInteger(int value) { SetValue(value); }
    void SetAsFloat(double value) { SetValue(value); }
    void SetAsDateTime(const QDateTime &value)
    {
        SetValue(value.isValid() ? QVariant(value) : QVariant());
    }
    void SetAsBoolean(bool value) { SetValue(value); }
    void Clear() { SetValue(QVariant()); }

private:
    friend class TDataSet;
    TField(TDataSet *set, int index, FieldKind kind, QString name, int size, bool visible,
        QString label);

    TDataSet *m_set;
    int m_index;
    FieldKind m_kind;
    QString m_name;
    int m_size;
    bool m_visible;
    QString m_label;
    int m_displayWidth = 0;
};

// A cached, editable copy of rows: the data behind every record set.
//
// Values are kept per column in packed arrays (texts as UTF-8 in one buffer
// per column), not as one QVariant per value: lists of 100,000 employees with
// 80 columns must fill fast and stay small. Changes made here never reach the
// database; the program writes with explicit statements and then adjusts the
// cached rows by hand. Rows are addressed through an order vector, so sorting
// and deleting never move the stored values.
class TDataSet : public QObject
{
    Q_OBJECT
public:
    enum class State { Inactive, Browse, Edit, Insert };

    explicit TDataSet(QObject *parent = nullptr);
    ~TDataSet() override;

    // Declared fields. Declaring is only allowed while the set is closed.
    TField *AddField(FieldKind kind, const QString &name, int size = -1, bool visible = true,
        const QString &label = QString());
    void ClearFields();
    int FieldCount() const { return static_cast<int>(m_fields.size()); }
    TField *Fields(int index) const { return m_fields[static_cast<size_t>(index)].get(); }
    // Names compare without regard to letter case, as on the engines.
    TField *FindField(const QString &name) const;
    // Raises QmError when there is no such field.
    TField *FieldByName(const QString &name) const;
    QList<TField *> VisibleFields() const;
    bool HasDeclaredFields() const { return m_declared; }

    bool Active() const { return m_state != State::Inactive; }
    State state() const { return m_state; }
    bool IsEditing() const { return m_state == State::Edit || m_state == State::Insert; }
    // Opens the set with no rows (an in-memory set).
    void CreateDataSet();
    void Close();

    int RecordCount() const { return m_order.size(); }
    bool IsEmpty() const { return m_order.isEmpty(); }
    // 1-based position of the current row; 0 when empty.
    int RecNo() const { return m_order.isEmpty() ? 0 : m_current + 1; }
    int CurrentRow() const { return m_order.isEmpty() ? -1 : m_current; }
    void SetCurrentRow(int row);
    bool Bof() const { return m_bof; }
    bool Eof() const { return m_eof; }
    void First();
    void Last();
    void Next();
    void Prior();
    // Moves to the first row whose field equals value (texts without regard to
    // letter case); stays put and returns false when none does.
    bool Locate(const QString &fieldName, const QVariant &value);

    // Asks bound controls to move their values into the row being edited.
    void UpdateRecord()
    {
        if (IsEditing())
            emit updatingRecord();
    }

    void Edit();
    void Append();
    void Post();
    void Cancel();
    // Removes the current row from the cache.
    void Delete();

    // Direct access by row (0-based, in the current order) for views.
    bool IsNullAt(int row, int field) const;
    QVariant ValueAt(int row, int field) const;
    QString DisplayTextAt(int row, int field) const;

    // Bytes held by the cached values (for measuring, not for logic).
    qint64 MemoryBytes() const;

    // Reorders the rows by the given fields; stable.
    struct SortKey
    {
        int field;
        bool descending = false;
    };
    // No keys restore the order in which the rows were loaded and appended.
    void Sort(const QVector<SortKey> &keys);

    // Bulk loading, used by the statement layer while filling.
    class Loader;

signals:
    void dataReset();
    void rowChanged(int row);
    void rowInserted(int row);
    void rowRemoved(int row);
    void currentRowChanged(int row);
    void updatingRecord();

private:
    friend class TField;
    struct Column;

    bool valueIsNull(int physical, int field) const;
    QVariant storedValue(int physical, int field) const;
    void storeValue(int physical, int field, const QVariant &value);
    int appendPhysicalRow();
    QVariant currentValue(int field) const;
    void setBufferValue(int field, const QVariant &value);
    void requireBrowse(const char *operation) const;
    void resetColumns();

    std::vector<std::unique_ptr<TField>> m_fields;
    std::vector<std::unique_ptr<Column>> m_columns;
    QVector<int> m_order;
    int m_physicalRows = 0;
    int m_current = 0;
    bool m_bof = true;
    bool m_eof = true;
    bool m_declared = false;
    State m_state = State::Inactive;
    QVector<QVariant> m_buffer;
};

// Fills a TDataSet from a result: the statement layer names the result's
// columns, then appends row by row, each value by result column. Declared
// fields are matched by name (a declared field missing from the result is an
// error); without declared fields every result column becomes a field.
class TDataSet::Loader
{
public:
    struct ResultColumn
    {
        QString name;
        FieldKind kind;
    };
    Loader(TDataSet &set, const QVector<ResultColumn> &columns);
    ~Loader();

    // For result column c: the field index it fills, or -1 when not used.
    int fieldFor(int column) const { return m_fieldForColumn[column]; }
    FieldKind kindOf(int field) const;

    void beginRow();
    void setNull(int field);
    void setInt(int field, qint64 value);
    void setDouble(int field, double value);
    // A date-time as milliseconds on the local calendar (see packDateTime).
    void setStamp(int field, qint64 stamp);
    void setBytes(int field, const char *data, int size);
    void setVariant(int field, const QVariant &value);
    void endRow();
    void finish();

    static qint64 packDateTime(const QDateTime &value);
    // Parses "yyyy-MM-dd[ HH:mm:ss[.zzz]]" (also with a "T"); false when it is not a date.
    static bool parseDateTime(const char *text, int size, qint64 *stamp);

private:
    TDataSet &m_set;
    QVector<int> m_fieldForColumn;
    int m_row = -1;
    bool m_finished = false;
};
