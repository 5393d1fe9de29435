#include "Feedback.h"

#include "Http.h"
#include "qmProj.h"

#include <QApplication>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLineEdit *makeEdit(QWidget *parent, const char *name, const QString &text = QString())
{
    auto *edit = new QLineEdit(text, parent);
    edit->setObjectName(QLatin1String(name));
    return edit;
}

// Restores the cursor however the request ends.
struct WaitCursor
{
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

} // namespace

TFeedbackFrm::TFeedbackFrm(QWidget *parent)
    : TADlgFrm(parent)
    , MmNote1(new QPlainTextEdit(this))
    , edtCompany1(makeEdit(this, "edtCompany1", TheCompany ? TheCompany->CompanyName : QString()))
    , edtAddress1(makeEdit(this, "edtAddress1", TheCompany ? TheCompany->Address : QString()))
    , edtZip1(makeEdit(this, "edtZip1", TheCompany ? TheCompany->Zip : QString()))
    , edtLinkman1(makeEdit(this, "edtLinkman1", TheCompany ? TheCompany->Manager : QString()))
    , edtLinkTel1(makeEdit(this, "edtLinkTel1", TheCompany ? TheCompany->Tel : QString()))
    , edtEmail1(makeEdit(this, "edtEmail1"))
    , m_links(TVendorLinks::Read())
{
    setObjectName(QStringLiteral("FeedbackFrm"));
    setWindowTitle(QStringLiteral("用户反馈表"));
    SetPosition(TFormPosition::ScreenCenter);
    OkBtn1->setText(QStringLiteral("提交(&S)"));
    MmNote1->setObjectName(QStringLiteral("MmNote1"));
    // Enter starts a new line of the note; only the button submits.
    OkBtn1->setDefault(false);
    OkBtn1->setAutoDefault(false);

    auto *layout = new QVBoxLayout(ClientArea());
    layout->setContentsMargins(0, 0, 0, 0);
    auto *thanks
        = new QLabel(QStringLiteral("感谢您使用%1!为了让软件更好地满足您的需要,请您抽出一点时间"
                                    "填写这份反馈表,您的每一条意见都是我们改进的动力.")
                         .arg(ProductTitle),
            this);
    thanks->setWordWrap(true);
    layout->addWidget(thanks);
    for (const char *topic :
        {"1.您希望添加哪些新功能", "2.现有功能哪些是做得不够好，需要改进或是无用的，可以删除",
            "3.与您曾经用过的软件相比较，哪些是值得借鉴的", "4.您希望本公司将来研制哪一类软件",
            "5.本类软件，您的心理价位是多少", "6.您的需求及其他值得反馈的内容"}) {
        layout->addWidget(new QLabel(QString::fromUtf8(topic), this));
    }
    layout->addWidget(MmNote1, 1);
    layout->addWidget(new QLabel(QStringLiteral("请留下您的联系方式(不是必须)"), this));
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("用户名称："), edtCompany1);
    form->addRow(QStringLiteral("通信地址："), edtAddress1);
    form->addRow(QStringLiteral("邮政编码："), edtZip1);
    form->addRow(QStringLiteral("联系人："), edtLinkman1);
    form->addRow(QStringLiteral("联系电话："), edtLinkTel1);
    form->addRow(QStringLiteral("E-mail："), edtEmail1);
    layout->addLayout(form);

    if (m_links.FeedbackUrl.isEmpty()) {
        OkBtn1->setEnabled(false);
        OkBtn1->setToolTip(QStringLiteral("没有设置反馈地址,无法在线提交."));
    }
    resize(520, 600);
}

QString TFeedbackFrm::BuildFeedbackText(const QString &company, const QString &address,
    const QString &zip, const QString &linkman, const QString &tel, const QString &email,
    const QString &note)
{
    const auto labelled = [](const char *label, const QString &value) {
        return (QLatin1String(label) + QStringLiteral(": ")).rightJustified(15) + value;
    };
    const QString rule(45, QLatin1Char('-'));
    QString noteText = note;
    noteText.replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
        .replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    const QStringList lines{labelled("Company", company), labelled("Address", address),
        labelled("Zip", zip), labelled("Linkman", linkman), labelled("LinkTel", tel),
        labelled("Email", email), labelled("Note", QString()), rule, noteText, rule};
    return lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

QString TFeedbackFrm::FeedbackText() const
{
    return BuildFeedbackText(edtCompany1->text(), edtAddress1->text(), edtZip1->text(),
        edtLinkman1->text(), edtLinkTel1->text(), edtEmail1->text(), MmNote1->toPlainText());
}

bool TFeedbackFrm::Post(const QString &url, const QString &text, QString *answer)
{
    const HttpResult result = HttpClient().PostForm(QUrl(url), {{QStringLiteral("Data"), text}});
    const QString body = result.ok ? QString::fromUtf8(result.body) : QString();
    if (answer)
        *answer = body;
    return result.ok && body == QLatin1String("ok");
}

void TFeedbackFrm::OkBtn1Click()
{
    bool sent = false;
    {
        WaitCursor wait;
        sent = Post(m_links.FeedbackUrl, FeedbackText());
    }
    if (sent) {
        ShowPlainMessage(QStringLiteral(":) 反馈成功！谢谢您的支持！"));
        accept();
        return;
    }
    // The form stays open with everything typed, for another try later.
    QString failure = QStringLiteral("对不起,发送失败,请检查网络后重试");
    if (m_links.QQ.isEmpty())
        failure += QLatin1Char('.');
    else
        failure += QStringLiteral(",如果仍不成功请与我们QQ联系:%1.").arg(m_links.QQ);
    ShowPlainMessage(failure);
}

void ShowFeedback(QWidget *parent)
{
    TFeedbackFrm frm(parent ? parent : QApplication::activeWindow());
    RunModal(frm);
}
