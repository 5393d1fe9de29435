#pragma once

#include <QDialog>
#include <QStringList>
#include <QVector>

class QPushButton;
class QTableWidget;

// The column chooser: one row per grid column in column order with its
// caption and a "√" while it is shown; a click toggles the mark. The grid
// reads Visibilities() after OK. The order of the columns never changes here,
// so the rows cannot be moved and the move buttons stay hidden.
class TxVisibleFrm : public QDialog
{
    Q_OBJECT
public:
    explicit TxVisibleFrm(QWidget *parent = nullptr, const QString &title = QString());

    void Fill(const QStringList &captions, const QVector<bool> &visible);
    // The marks, row by row.
    QVector<bool> Visibilities() const;
    void ToggleRow(int row);

    QTableWidget *StringGrid1;
    QPushButton *OkBtn1;
    QPushButton *CancelBtn1;
    QPushButton *upBtn1;
    QPushButton *downBtn1;
};

// The chooser of TqmDBGrid.
class TehVisibleFrm : public TxVisibleFrm
{
    Q_OBJECT
public:
    explicit TehVisibleFrm(QWidget *parent = nullptr);
};

// The chooser of TqmGridcx.
class TcxVisibleFrm : public TxVisibleFrm
{
    Q_OBJECT
public:
    explicit TcxVisibleFrm(QWidget *parent = nullptr);
};
