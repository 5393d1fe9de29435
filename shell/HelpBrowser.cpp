#include "HelpBrowser.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QTextBrowser>
#include <QToolButton>
#include <QVBoxLayout>

QPointer<THelpBrowser> THelpBrowser::s_instance;

namespace {

QString &folderOverride()
{
    static QString folder;
    return folder;
}

HelpObserver &observer()
{
    static HelpObserver o;
    return o;
}

const QString IndexPage = QStringLiteral("index.html");

} // namespace

THelpBrowser::THelpBrowser()
    : m_browser(new QTextBrowser(this))
    , m_back(new QToolButton(this))
    , m_forward(new QToolButton(this))
    , m_index(new QToolButton(this))
{
    setObjectName(QStringLiteral("HelpBrowserFrm"));
    setWindowTitle(QStringLiteral("帮助"));
    setAttribute(Qt::WA_DeleteOnClose);

    m_browser->setObjectName(QStringLiteral("Browser1"));
    m_browser->setOpenExternalLinks(true);
    m_back->setObjectName(QStringLiteral("BackBtn1"));
    m_back->setText(QStringLiteral("后退"));
    m_back->setEnabled(false);
    m_forward->setObjectName(QStringLiteral("ForwardBtn1"));
    m_forward->setText(QStringLiteral("前进"));
    m_forward->setEnabled(false);
    m_index->setObjectName(QStringLiteral("IndexBtn1"));
    m_index->setText(QStringLiteral("目录"));

    auto *bar = new QHBoxLayout;
    bar->addWidget(m_index);
    bar->addWidget(m_back);
    bar->addWidget(m_forward);
    bar->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(m_browser);

    connect(m_back, &QToolButton::clicked, m_browser, &QTextBrowser::backward);
    connect(m_forward, &QToolButton::clicked, m_browser, &QTextBrowser::forward);
    connect(m_browser, &QTextBrowser::backwardAvailable, m_back, &QToolButton::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, m_forward, &QToolButton::setEnabled);
    connect(m_index, &QToolButton::clicked, this, [this] { showPage(PagePath(QString())); });
    resize(640, 520);
}

THelpBrowser *THelpBrowser::Instance()
{
    return s_instance.data();
}

THelpBrowser *THelpBrowser::Open(const QString &topic)
{
    if (!s_instance)
        s_instance = new THelpBrowser;
    s_instance->showPage(PagePath(topic));
    if (s_instance->isVisible()) {
        // Already open, perhaps behind the window that asked.
        s_instance->raise();
        s_instance->activateWindow();
    } else {
        s_instance->show();
    }
    return s_instance.data();
}

void THelpBrowser::Release()
{
    delete s_instance.data();
}

QString THelpBrowser::HelpFolder()
{
    const QString &folder = folderOverride();
    if (!folder.isEmpty())
        return folder;
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("help"));
}

void THelpBrowser::SetHelpFolder(const QString &folder)
{
    folderOverride() = folder;
}

QString THelpBrowser::PagePath(const QString &topic)
{
    const QDir dir(HelpFolder());
    // A topic is a window's name; anything that could leave the folder is
    // not one.
    const bool plainName = !topic.isEmpty() && !topic.contains(QLatin1Char('/'))
        && !topic.contains(QLatin1Char('\\')) && !topic.startsWith(QLatin1Char('.'));
    if (plainName) {
        const QString page = dir.filePath(topic + QStringLiteral(".html"));
        if (QFileInfo(page).isFile())
            return page;
    }
    return dir.filePath(IndexPage);
}

QUrl THelpBrowser::CurrentPage() const
{
    return m_browser->source();
}

void THelpBrowser::showPage(const QString &path)
{
    const QUrl url = QUrl::fromLocalFile(path);
    if (m_browser->source() != url)
        m_browser->setSource(url);
}

void ShowHelpTopic(const QString &topic)
{
    if (observer())
        observer()(topic);
    THelpBrowser::Open(topic);
}

HelpObserver SetHelpObserver(HelpObserver o)
{
    HelpObserver previous = std::move(observer());
    observer() = std::move(o);
    return previous;
}
