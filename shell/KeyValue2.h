#pragma once

#include "RecordSet.h"

#include <QString>

// The typed settings store on table keyvalue: one row per numbered key with
// an integer, a text, a float and a boolean column. All rows are cached on
// first use; a setter overwrites all four values of its key in the database
// and then in the cache, so reads never go back to the database. A key that
// does not exist yet is created on first access with NULL values, which read
// as 0, false and empty text.
class TKeyValue2 : public TRecordSet
{
public:
    TKeyValue2();

    int GetInt(int key);
    bool GetBool(int key);
    QString GetStr(int key);

    void SetInt(int key, int value);
    void SetBool(int key, bool value);
    void SetStr(int key, const QString &value);

    // Makes the key's row exist and current in the cache.
    void EnsureKey(int key);

    // Key 1: whether the tip of the day is shown at start-up.
    bool DailyTipPrompt() { return GetBool(1); }
    void SetDailyTipPrompt(bool value) { SetBool(1, value); }

private:
    void write(int key, const QString &vstr, int vint, bool vbool);
};
