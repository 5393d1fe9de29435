#pragma once

#include "Pub.h"
#include "aDlg.h"

class QLineEdit;
class QPlainTextEdit;

// The feedback form: a free text and the user's contact data, posted as one
// form field "Data" to the configured feedback address. Only an answer of
// exactly "ok" counts as received; on any failure the form stays open with
// everything the user wrote, so nothing is lost.
class TFeedbackFrm : public TADlgFrm
{
    Q_OBJECT
public:
    explicit TFeedbackFrm(QWidget *parent = nullptr);

    // The text that is sent: seven labelled lines, a line of 45 "-", the
    // note and another such line, each ending "\r\n".
    static QString BuildFeedbackText(const QString &company, const QString &address,
        const QString &zip, const QString &linkman, const QString &tel, const QString &email,
        const QString &note);
    QString FeedbackText() const;

    // Posts text to url; true exactly when the answer's body is "ok". A failed
    // request gives an empty answer.
    static bool Post(const QString &url, const QString &text, QString *answer = nullptr);

    QPlainTextEdit *MmNote1;
    QLineEdit *edtCompany1;
    QLineEdit *edtAddress1;
    QLineEdit *edtZip1;
    QLineEdit *edtLinkman1;
    QLineEdit *edtLinkTel1;
    QLineEdit *edtEmail1;

protected:
    void OkBtn1Click() override;

private:
    TVendorLinks m_links;
};

// The help menu's "在线反馈...".
void ShowFeedback(QWidget *parent = nullptr);
