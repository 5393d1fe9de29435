#include "about.h"

#include "Database.h"
#include "qmProj.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QUrl>

namespace {

QLabel *makeLabel(QWidget *parent, const char *name, const QString &text = QString())
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

// Shows text as a link to url, opened with the system's default program.
void makeLink(QLabel *label, const QString &text, const QUrl &url)
{
    label->setTextFormat(Qt::RichText);
    label->setText(
        QStringLiteral("<a href=\"%1\">%2</a>")
            .arg(url.toString(QUrl::FullyEncoded).toHtmlEscaped(), text.toHtmlEscaped()));
    label->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    label->setOpenExternalLinks(false);
    QObject::connect(label, &QLabel::linkActivated, label,
        [](const QString &link) { QDesktopServices::openUrl(QUrl(link, QUrl::StrictMode)); });
}

QUrl webUrl(const QString &address)
{
    const QUrl url = QUrl::fromUserInput(address);
    return url.scheme().startsWith(QLatin1String("http")) ? url : QUrl();
}

QUrl mailUrl(const QString &address)
{
    return QUrl(QStringLiteral("mailto:") + address);
}

} // namespace

TaboutFrm::TaboutFrm(QWidget *parent)
    : TADlgFrm(parent)
    , LblProductName1(makeLabel(this, "LblProductName1", ProductTitle))
    , LblVersion1(
          makeLabel(this, "LblVersion1", QStringLiteral("%1 %2").arg(ProductVersion, ProductBuild)))
    , LblProductCode1(makeLabel(this, "LblProductCode1", ProductCode))
    , lblExePath1(makeLabel(this, "lblExePath1"))
    , lblDatabase1(
          makeLabel(this, "lblDatabase1", TheDatabase ? TheDatabase->DataSource() : QString()))
    , lblWebSite1(makeLabel(this, "lblWebSite1"))
    , lblSupportMail1(makeLabel(this, "lblSupportMail1"))
    , lblSalesMail1(makeLabel(this, "lblSalesMail1"))
    , Button1(new QPushButton(QStringLiteral("用户信息"), this))
    , m_links(TVendorLinks::Read())
{
    setObjectName(QStringLiteral("aboutFrm"));
    setWindowTitle(QStringLiteral("关于..."));
    SetPosition(TFormPosition::MainFormCenter);
    OkBtn1->setText(QStringLiteral("确定"));
    CancelBtn1->hide();
    HelpBtn1->hide();
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setAutoDefault(false);
    ButtonRow()->insertWidget(0, Button1);

    const QString exeFolder = QCoreApplication::applicationDirPath();
    makeLink(lblExePath1, QDir::toNativeSeparators(exeFolder), QUrl::fromLocalFile(exeFolder));
    lblDatabase1->setWordWrap(true);

    auto *grid = new QGridLayout(ClientArea());
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setColumnStretch(1, 1);
    int row = 0;
    auto addRow = [&](const QString &caption, QLabel *value) {
        auto *captionLabel = new QLabel(caption, this);
        grid->addWidget(captionLabel, row, 0, Qt::AlignTop);
        grid->addWidget(value, row, 1);
        ++row;
        return captionLabel;
    };
    addRow(QStringLiteral("产品名称:"), LblProductName1);
    addRow(QStringLiteral("产品版本:"), LblVersion1);
    addRow(QStringLiteral("产品代码:"), LblProductCode1);
    addRow(QStringLiteral("安装路径:"), lblExePath1);
    addRow(QStringLiteral("数据地址:"), lblDatabase1);
    // A vendor item without an address is left out altogether.
    auto addLink
        = [&](const QString &caption, QLabel *label, const QString &address, const QUrl &url) {
              QLabel *captionLabel = addRow(caption, label);
              const bool offered = !address.isEmpty() && url.isValid() && !url.isEmpty();
              captionLabel->setVisible(offered);
              label->setVisible(offered);
              if (offered)
                  makeLink(label, address, url);
          };
    addLink(QStringLiteral("官方网站:"), lblWebSite1, m_links.WebSite, webUrl(m_links.WebSite));
    addLink(QStringLiteral("技术支持:"), lblSupportMail1, m_links.SupportMail,
        mailUrl(m_links.SupportMail));
    addLink(
        QStringLiteral("购买咨询:"), lblSalesMail1, m_links.SalesMail, mailUrl(m_links.SalesMail));

    connect(Button1, &QPushButton::clicked, this, [] {
        RunUserAction([] {
            if (TheCompany)
                TheCompany->Edit(true);
        });
    });
    resize(420, sizeHint().height());
}
