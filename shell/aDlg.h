#pragma once

#include "a.h"

#include <QDialog>

class QFrame;
class QHBoxLayout;
class QPushButton;

// What the two dialog bases share: the window behaviour of TaFrm (help topic,
// F1, first placement), a client area for the subclass's controls, the
// bottom line BgBevel1 and a row of buttons anchored to the bottom right,
// the last of which is HelpBtn1.
class TaDlgBase : public QDialog
{
    Q_OBJECT
public:
    explicit TaDlgBase(QWidget *parent, TFormPosition position);

    // Opens the help page of topic (empty: the dialog's own topic).
    virtual void ShowHelp(const QString &topic);
    void SetPosition(TFormPosition position) { m_helper.SetPosition(position); }
    TFormHelper &FormHelper() { return m_helper; }

    // Subclasses put their controls here (give it a layout).
    QWidget *ClientArea() const { return m_client; }
    // The button row; extra buttons go in front of the stretch at index 0.
    QHBoxLayout *ButtonRow() const { return m_buttons; }

    QFrame *BgBevel1;
    QPushButton *HelpBtn1;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    TFormHelper m_helper;
    QWidget *m_client;
    QHBoxLayout *m_buttons;
};

// The base of dialogs with OK, Cancel and Help. Enter presses OK, Escape
// cancels; OK closes with Accepted unless OkBtn1Click refuses.
class TADlgFrm : public TaDlgBase
{
    Q_OBJECT
public:
    explicit TADlgFrm(QWidget *parent = nullptr);

    QPushButton *OkBtn1;
    QPushButton *CancelBtn1;

protected:
    // Runs when OK is pressed; the default closes with Accepted. Subclasses
    // check their entries here and stay open by not calling accept().
    virtual void OkBtn1Click();
};
