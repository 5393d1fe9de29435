#pragma once

#include "Pub.h"
#include "aDlg.h"

class QLabel;

// The about box: product name, version and code, where the program and its
// database are, and the vendor's links that are configured.
class TaboutFrm : public TADlgFrm
{
    Q_OBJECT
public:
    explicit TaboutFrm(QWidget *parent = nullptr);

    QLabel *LblProductName1;
    QLabel *LblVersion1;
    QLabel *LblProductCode1;
    QLabel *lblExePath1;
    QLabel *lblDatabase1;
    QLabel *lblWebSite1;
    QLabel *lblSupportMail1;
    QLabel *lblSalesMail1;
    QPushButton *Button1;

private:
    TVendorLinks m_links;
};
