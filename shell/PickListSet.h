#pragma once

#include "RecordSet.h"

#include <QString>
#include <QStringList>

// The drop-down lists of the program, table options: one row per list, its
// entries the lines of List. A list is addressed by index (its position in
// Key order, from 0) or by Label. The rows are cached on first use; SetList
// and the label writes change the cache and SaveAll writes it back.
class TPickListSet : public TRecordSet
{
public:
    TPickListSet();

    // Opens the table when it is not open yet, or always when forced.
    void Load(bool force = false);

    // An index outside the table reads as an empty list.
    QString GetList(int index);
    // Empty when no list has the label (or the label is empty).
    QString GetListByLabel(const QString &label);

    // Changes the cached list; with writeThrough also the database at once.
    // An index outside the table is refused with a QmError and nothing is written.
    void SetList(int index, const QString &text, bool writeThrough);
    // An existing label's list changes in the cache (SaveAll writes it); a new
    // label gets a row of its own under the next key, in the database and in
    // the cache, after all existing rows. An empty label is refused.
    void SetListByLabel(const QString &label, const QString &text);
    // Writes every cached list back, all or none.
    void SaveAll();

    int Count();
    // Extends the table with empty lists until it has count rows.
    void SetCount(int count);

private:
    int maxKey();
    void appendCached(int key, const QVariant &label, const QString &list);
};

// The entries of a pick list's text, one per line, trimmed, blank lines left out.
QStringList PickListLines(const QString &list);
// The entries of pick list index of ThePickLists (a private set when there
// is none, as in tools and tests).
QStringList PickListEntries(int index);
