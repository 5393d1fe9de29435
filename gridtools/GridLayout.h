#pragma once

#include <QString>
#include <QVector>

// One column of a grid as its stored layout sees it: the field it shows,
// whether it is shown and its width in pixels. A grid describes its columns as
// a list of these in column order, so layouts are applied and written without
// any window.
struct TGridColumnState
{
    QString FieldName;
    bool Visible = true;
    int Width = 0;
};
using TGridColumnStates = QVector<TGridColumnState>;

// The column layout text of the grids ("Name=True90\r\nCode=False60": one line
// per column in column order, visibility and width in pixels) and its storage
// in table syscols, one row per layout key.
namespace GridLayout {

// The layout text of columns, lines joined by CR LF.
QString LayoutText(const TGridColumnStates &columns);

// The value of the first line whose name (before the first "=") is name,
// compared without regard to letter case; empty when there is none.
QString LayoutValue(const QString &text, const QString &name);

// Applies text to columns, which hold the columns just rebuilt from the data
// set's visible fields, in field order, with the visibility the grid kind
// gives columns the text does not name. Each named column takes its
// visibility (the value holds "True") and width (the value without "True" and
// "False"); then the named columns move to the front in the order of their
// lines, the others keep their order behind them. A width that is not a
// non-negative decimal number ends the work at that column, leaving what was
// applied so far and the order unchanged; the result is then false. An empty
// text changes nothing.
bool ApplyLayout(TGridColumnStates &columns, const QString &text);

// The stored layout of key, empty when there is none; *found tells whether a
// row was there. A failing select is reported by the record set and ends the
// caller's action.
QString LoadLayoutText(int key, bool *found = nullptr);

// Stores text under key: updates the key's rows when there are any, inserts
// one otherwise. True when the statement changed a row.
bool SaveLayoutText(int key, const QString &text);

} // namespace GridLayout
