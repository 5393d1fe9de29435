#pragma once

#include <QDialog>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class TCompany;

// The company information dialog: the company's name, manager, contacts,
// address and profile. It only carries texts between its controls and a
// TCompany; saving is the caller's (TCompany::Edit).
class TCompanyInfoFrm : public QDialog
{
    Q_OBJECT
public:
    explicit TCompanyInfoFrm(QWidget *parent = nullptr);

    // A read-only dialog still shows everything but cannot be confirmed.
    void SetReadOnly(bool readOnly);
    void ReadCompany(const TCompany &company);
    void WriteCompany(TCompany &company) const;

    QLineEdit *EdtCompany1;
    QLineEdit *EdtLawMan1;
    QLineEdit *EdtTel1;
    QLineEdit *EdtFax1;
    QLineEdit *EdtAddress1;
    QLineEdit *edtZip1;
    QPlainTextEdit *MemIntrol1;
    QPushButton *OkBtn1;
    QPushButton *CancelBtn1;
};
