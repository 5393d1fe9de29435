#pragma once

#include "aDlg.h"

// The base of information windows: a Close button (also Escape) and Help.
// They are centred on the main window.
class TAInfoDlgFrm : public TaDlgBase
{
    Q_OBJECT
public:
    explicit TAInfoDlgFrm(QWidget *parent = nullptr);

    QPushButton *CloseBtn1;
};
