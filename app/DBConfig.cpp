#include "DBConfig.h"

#include "Configer.h"
#include "Error.h"
#include "Utils.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {

template <typename W> W *named(W *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QWidget *page(const char *name)
{
    return named(new QWidget, name);
}

// A port the driver can use: a whole number 1-65535, blanks around allowed.
bool parsePort(const QString &text, int *port)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok || value < 1 || value > 65535)
        return false;
    *port = value;
    return true;
}

} // namespace

TDBConfigFrm::TDBConfigFrm(TConfiger &configer, QWidget *parent)
    : QDialog(parent)
    , m_configer(configer)
{
    setObjectName(QStringLiteral("DBConfigFrm"));
    setWindowTitle(QStringLiteral("数据库连接"));
    setMinimumWidth(460);

    auto *layout = new QVBoxLayout(this);
    const char *notices[] = {"注意，程序无法正常连接到指定的数据库。",
        "1.单机版用户，请检查数据库文件是否存在或者已被破坏；",
        "2.网络版用户，请检查网络是否畅通以及数据库服务器是否启动。",
        "另外，请检查以下连接参数是否正确："};
    int n = 0;
    for (const char *text : notices) {
        auto *label = new QLabel(QString::fromUtf8(text));
        label->setObjectName(QStringLiteral("Label%1").arg(++n));
        label->setWordWrap(true);
        layout->addWidget(label);
    }

    auto *providerRow = new QHBoxLayout;
    ComboBox1 = named(new QComboBox, "ComboBox1");
    ComboBox1->addItems({QStringLiteral("PostgreSQL 数据库服务器"),
        QStringLiteral("SQLite 数据库文件(单机版)"), QStringLiteral("目录服务(PostgreSQL)")});
    auto *providerLabel = new QLabel(QStringLiteral("提供者"));
    providerLabel->setBuddy(ComboBox1);
    providerRow->addWidget(providerLabel);
    providerRow->addWidget(ComboBox1, 1);
    layout->addLayout(providerRow);

    Notebook1 = named(new QStackedWidget, "Notebook1");

    QWidget *mssql = page("mssql");
    auto *mssqlForm = new QFormLayout(mssql);
    mssqlServerEdit1 = named(new QLineEdit, "mssqlServerEdit1");
    mssqlPortEdit1 = named(new QLineEdit(QStringLiteral("5432")), "mssqlPortEdit1");
    mssqlDbEdit1 = named(new QLineEdit, "mssqlDbEdit1");
    mssqlUserEdit1 = named(new QLineEdit, "mssqlUserEdit1");
    mssqlPwEdit1 = named(new QLineEdit, "mssqlPwEdit1");
    mssqlPwEdit1->setEchoMode(QLineEdit::Password);
    mssqlForm->addRow(QStringLiteral("服务器"), mssqlServerEdit1);
    mssqlForm->addRow(QStringLiteral("端口"), mssqlPortEdit1);
    mssqlForm->addRow(QStringLiteral("数据库名"), mssqlDbEdit1);
    mssqlForm->addRow(QStringLiteral("登陆名"), mssqlUserEdit1);
    mssqlForm->addRow(QStringLiteral("密 码"), mssqlPwEdit1);
    Notebook1->addWidget(mssql);

    QWidget *jet4 = page("jet4");
    auto *jetForm = new QFormLayout(jet4);
    jetfileEdit1 = named(new QLineEdit, "jetfileEdit1");
    jetFileButton1 = named(new QPushButton(QStringLiteral("...")), "jetFileButton1");
    jetFileButton1->setAutoDefault(false);
    jetFileButton1->setFixedWidth(
        jetFileButton1->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 24);
    auto *fileRow = new QHBoxLayout;
    fileRow->addWidget(jetfileEdit1, 1);
    fileRow->addWidget(jetFileButton1);
    jetForm->addRow(QStringLiteral("数据库文件:"), fileRow);
    jetDefaultCheckBox1
        = named(new QCheckBox(QStringLiteral("使用默认连接")), "jetDefaultCheckBox1");
    jetForm->addRow(QString(), jetDefaultCheckBox1);
    Notebook1->addWidget(jet4);

    QWidget *qmdip = page("qmdip");
    auto *vizForm = new QFormLayout(qmdip);
    edtVizUrl1 = named(new QLineEdit, "edtVizUrl1");
    edtVizUser1 = named(new QLineEdit, "edtVizUser1");
    vizForm->addRow(QStringLiteral("VIZ地址"), edtVizUrl1);
    vizForm->addRow(QStringLiteral("VIZ用户"), edtVizUser1);
    Notebook1->addWidget(qmdip);

    layout->addWidget(Notebook1);

    auto *buttons = new QHBoxLayout;
    Button1 = named(new QPushButton(QStringLiteral("确定(&Y)")), "Button1");
    Button2 = named(new QPushButton(QStringLiteral("取消")), "Button2");
    Button1->setDefault(true);
    Button2->setAutoDefault(false);
    buttons->addStretch(1);
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    layout->addLayout(buttons);

    for (QWidget *w : std::initializer_list<QWidget *>{ComboBox1, mssqlServerEdit1, mssqlPortEdit1,
             mssqlDbEdit1, mssqlUserEdit1, mssqlPwEdit1, jetfileEdit1, jetDefaultCheckBox1,
             edtVizUrl1, edtVizUser1})
        w->installEventFilter(this);

    connect(ComboBox1, qOverload<int>(&QComboBox::currentIndexChanged), this,
        &TDBConfigFrm::ComboBox1Change);
    connect(
        jetDefaultCheckBox1, &QCheckBox::toggled, this, &TDBConfigFrm::jetDefaultCheckBox1Click);
    connect(jetFileButton1, &QPushButton::clicked, this, &TDBConfigFrm::jetFileButton1Click);
    connect(Button1, &QPushButton::clicked, this, &TDBConfigFrm::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);

    LoadControls();
}

void TDBConfigFrm::LoadControls()
{
    const TConfiger &c = m_configer;
    mssqlServerEdit1->setText(c.MssqlServer);
    mssqlPortEdit1->setText(QString::number(c.MssqlPort));
    mssqlDbEdit1->setText(c.MssqlDb);
    mssqlUserEdit1->setText(c.MssqlUser);
    mssqlPwEdit1->setText(c.MssqlPw);
    jetfileEdit1->setText(c.JetFile);
    jetDefaultCheckBox1->setChecked(c.DefaultCon);
    jetDefaultCheckBox1Click();
    edtVizUrl1->setText(c.VizUrl);
    edtVizUser1->setText(c.VizUser);
    // An index from a hand-edited file that names no page shows the first one.
    const int index = c.ProviderIdx >= 0 && c.ProviderIdx < ComboBox1->count() ? c.ProviderIdx : 0;
    ComboBox1->setCurrentIndex(index);
    ComboBox1Change(index);
}

bool TDBConfigFrm::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            focusNextChild();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TDBConfigFrm::ComboBox1Change(int index)
{
    if (index >= 0)
        Notebook1->setCurrentIndex(index);
}

void TDBConfigFrm::jetDefaultCheckBox1Click()
{
    const bool custom = !jetDefaultCheckBox1->isChecked();
    jetfileEdit1->setEnabled(custom);
    jetFileButton1->setEnabled(custom);
}

void TDBConfigFrm::jetFileButton1Click()
{
    const QString current = jetfileEdit1->text();
    const QString start = current.isEmpty() ? QDir::homePath() : QFileInfo(current).absolutePath();
    const QString file = QFileDialog::getOpenFileName(this, QStringLiteral("选择数据库文件"), start,
        QStringLiteral("SQLite 数据库 (*.db *.sqlite *.sqlite3);;所有文件 (*)"));
    if (!file.isEmpty())
        jetfileEdit1->setText(QDir::toNativeSeparators(file));
}

void TDBConfigFrm::Button1Click()
{
    const int provider = ComboBox1->currentIndex();
    // A port field the chosen way does not use keeps the stored port when it
    // is not a number, rather than holding up a file or directory setup.
    int port = m_configer.MssqlPort;
    if (!parsePort(mssqlPortEdit1->text(), &port) && provider == TConfiger::PostgresServer) {
        ShowInfo(QStringLiteral("端口必须是 1 到 65535 之间的整数."));
        mssqlPortEdit1->setFocus();
        mssqlPortEdit1->selectAll();
        return;
    }

    TConfiger &c = m_configer;
    c.ProviderIdx = provider;
    c.MssqlServer = mssqlServerEdit1->text();
    c.MssqlPort = port;
    c.MssqlDb = mssqlDbEdit1->text();
    c.MssqlUser = mssqlUserEdit1->text();
    c.MssqlPw = mssqlPwEdit1->text();
    c.JetFile = jetfileEdit1->text();
    c.DefaultCon = jetDefaultCheckBox1->isChecked();
    c.VizUrl = edtVizUrl1->text();
    c.VizUser = edtVizUser1->text();
    try {
        c.Save();
    } catch (const QmError &e) {
        ShowInfo(e.message());
        return;
    }
    accept();
}
