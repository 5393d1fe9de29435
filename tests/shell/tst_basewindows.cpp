#include "Company.h"
#include "CompanyInfo.h"
#include "Error.h"
#include "Feedback.h"
#include "HelpBrowser.h"
#include "IniFile.h"
#include "OperatorEditor.h"
#include "PasswordChanger.h"
#include "Pub.h"
#include "TestSupport.h"
#include "a.h"
#include "aInfoDlg.h"
#include "about.h"
#include "qmProj.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTextBrowser>
#include <QToolButton>
#include <QtTest>
#include <stdexcept>

// An HTTP server on 127.0.0.1 that answers every request with one status and
// body and keeps what it was sent.
class FeedbackServer : public QObject
{
public:
    int status = 200;
    QByteArray body = "ok";
    QByteArray requestHead;
    QByteArray requestBody;
    int requests = 0;

    FeedbackServer()
    {
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onData(socket); });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
    }
    bool start() { return m_server.listen(QHostAddress::LocalHost); }
    QString url() const
    {
        return QStringLiteral("http://127.0.0.1:%1/fb/back.asp").arg(m_server.serverPort());
    }
    // The text of the "Data" field of the last request.
    QString data() const
    {
        if (!requestBody.startsWith("Data="))
            return QStringLiteral("<no Data field>");
        return QString::fromUtf8(QByteArray::fromPercentEncoding(requestBody.mid(5)));
    }

private:
    void onData(QTcpSocket *socket)
    {
        QByteArray &buffer = m_buffers[socket];
        buffer += socket->readAll();
        const int headEnd = buffer.indexOf("\r\n\r\n");
        if (headEnd < 0)
            return;
        int length = 0;
        for (const QByteArray &line : buffer.left(headEnd).split('\n'))
            if (line.toLower().startsWith("content-length:"))
                length = line.mid(15).trimmed().toInt();
        if (buffer.size() < headEnd + 4 + length)
            return;
        ++requests;
        requestHead = buffer.left(headEnd);
        requestBody = buffer.mid(headEnd + 4, length);
        m_buffers.remove(socket);
        socket->write("HTTP/1.1 " + QByteArray::number(status) + " X\r\nContent-Length: "
            + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
        socket->disconnectFromHost();
    }

    QTcpServer m_server;
    QHash<QTcpSocket *, QByteArray> m_buffers;
};

// Receives what the program asks the desktop to open.
class UrlCatcher : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl &url) { opened << url; }
};

// Base windows, help, the error box, the about box and the feedback form.
class tst_BaseWindows : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void helpKeyAsksForTheWindowsTopic_data();
    void helpKeyAsksForTheWindowsTopic();
    void topicDropsTheLastThreeCharacters_data();
    void topicDropsTheLastThreeCharacters();
    void helpPageIsShown_data();
    void helpPageIsShown();
    void helpWindowNavigates();
    void everyWindowHasAHelpPage();

    void placementNearPointer_data();
    void placementNearPointer();
    void windowAppearsNearPointer();
    void sizingZonesOfBorderlessWindows_data();
    void sizingZonesOfBorderlessWindows();

    void errorBoxText_data();
    void errorBoxText();
    void notifyCatchesEveryError_data();
    void notifyCatchesEveryError();
    void errorInAClickKeepsTheWindow();

    void aboutShowsProductAndConfiguredLinks_data();
    void aboutShowsProductAndConfiguredLinks();
    void aboutOpensFolderAndCompany();

    void feedbackText_data();
    void feedbackText();
    void feedbackStartsWithTheCompany();
    void feedbackPostIsJudgedByItsAnswer_data();
    void feedbackPostIsJudgedByItsAnswer();
    void emptyFeedbackSendsEveryLine();
    void feedbackNeedsAnAddress();

private:
    void writeLinks(const QMap<QByteArray, QByteArray> &links);
    QStringList m_topics;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<QTemporaryDir> m_cfgDir;
};

void tst_BaseWindows::init()
{
    m_prompter = std::make_unique<ScriptedPrompter>();
    m_cfgDir = std::make_unique<QTemporaryDir>();
    TConfiger::SetDefaultFolder(m_cfgDir->path());
    m_topics.clear();
    SetHelpObserver([this](const QString &topic) { m_topics << topic; });
}

void tst_BaseWindows::cleanup()
{
    SetHelpObserver(nullptr);
    THelpBrowser::Release();
    TheCompany = nullptr;
    TConfiger::SetDefaultFolder(QString());
    m_cfgDir.reset();
    m_prompter.reset();
}

void tst_BaseWindows::writeLinks(const QMap<QByteArray, QByteArray> &links)
{
    IniFile ini(QDir(m_cfgDir->path()).filePath(QStringLiteral("cfg.ini")));
    ini.load();
    for (auto it = links.begin(); it != links.end(); ++it)
        ini.setValue("Links", it.key(), it.value());
    QVERIFY(ini.save());
}

// ---------------------------------------------------------------- help

enum class Window { Plain, Editor, Info, Changer, Feedback };
Q_DECLARE_METATYPE(Window)

void tst_BaseWindows::helpKeyAsksForTheWindowsTopic_data()
{
    QTest::addColumn<Window>("window");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<QString>("topic");
    QTest::newRow("operator editor, focus in an edit") << Window::Editor << "edtName1"
                                                       << "OperatorEditor";
    QTest::newRow("operator editor, focus in the rights") << Window::Editor << "CheckListBox1"
                                                          << "OperatorEditor";
    QTest::newRow("password change") << Window::Changer << "edtNewPassword1"
                                     << "PasswordChanger";
    QTest::newRow("feedback, focus in the note") << Window::Feedback << "MmNote1"
                                                 << "Feedback";
    QTest::newRow("information window") << Window::Info << "CloseBtn1"
                                        << "Operators";
    QTest::newRow("plain window") << Window::Plain << "Edit1"
                                  << "Sample";
}

void tst_BaseWindows::helpKeyAsksForTheWindowsTopic()
{
    QFETCH(Window, window);
    QFETCH(QString, focus);
    QFETCH(QString, topic);
    std::unique_ptr<QWidget> w;
    switch (window) {
    case Window::Plain: {
        w = std::make_unique<TaFrm>();
        w->setObjectName(QStringLiteral("SampleFrm"));
        (new QLineEdit(w.get()))->setObjectName(QStringLiteral("Edit1"));
        break;
    }
    case Window::Editor:
        w = std::make_unique<TOperatorEditorFrm>();
        break;
    case Window::Info:
        w = std::make_unique<TAInfoDlgFrm>();
        w->setObjectName(QStringLiteral("OperatorsFrm"));
        break;
    case Window::Changer:
        w = std::make_unique<TPasswordChangerFrm>();
        break;
    case Window::Feedback:
        w = std::make_unique<TFeedbackFrm>();
        break;
    }
    w->show();
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
    auto *target = w->findChild<QWidget *>(focus);
    QVERIFY(target);
    target->setFocus();
    QTest::keyClick(target, Qt::Key_F1);
    QCOMPARE(m_topics, QStringList{topic});
    QVERIFY(THelpBrowser::Instance());
    QCOMPARE(THelpBrowser::Instance()->CurrentPage().toLocalFile(), THelpBrowser::PagePath(topic));

    if (auto *help = w->findChild<QPushButton *>(QStringLiteral("HelpBtn1"))) {
        QTest::mouseClick(help, Qt::LeftButton);
        QCOMPARE(m_topics, (QStringList{topic, topic}));
    }
    // Other keys are not help.
    QTest::keyClick(target, Qt::Key_F2);
    QCOMPARE(m_topics.size(), window == Window::Plain ? 1 : 2);
}

void tst_BaseWindows::topicDropsTheLastThreeCharacters_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("topic");
    QTest::newRow("login") << "LoginFrm"
                           << "Login";
    QTest::newRow("operator editor") << "OperatorEditorFrm"
                                     << "OperatorEditor";
    QTest::newRow("only the suffix") << "Frm"
                                     << "";
    QTest::newRow("shorter than the suffix") << "ab"
                                             << "";
    QTest::newRow("no name") << ""
                             << "";
}

void tst_BaseWindows::topicDropsTheLastThreeCharacters()
{
    QFETCH(QString, name);
    QFETCH(QString, topic);
    QCOMPARE(TFormHelper::TopicFromName(name), topic);
    TaFrm w;
    w.setObjectName(name);
    w.ShowHelp(QString());
    w.ShowHelp(QStringLiteral("Given"));
    QCOMPARE(m_topics, (QStringList{topic, "Given"}));
}

void tst_BaseWindows::helpPageIsShown_data()
{
    QTest::addColumn<QString>("topic");
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("title");
    QTest::newRow("login") << "Login"
                           << "Login.html"
                           << "登陆";
    QTest::newRow("operator editor") << "OperatorEditor"
                                     << "OperatorEditor.html"
                                     << "操作员属性";
    QTest::newRow("missing topic") << "NoSuchWindow"
                                   << "index.html"
                                   << "帮助目录";
    QTest::newRow("empty topic") << ""
                                 << "index.html"
                                 << "帮助目录";
    QTest::newRow("outside the folder") << "../help/Login"
                                        << "index.html"
                                        << "帮助目录";
}

void tst_BaseWindows::helpPageIsShown()
{
    QFETCH(QString, topic);
    QFETCH(QString, page);
    QFETCH(QString, title);
    ShowHelpTopic(topic);
    THelpBrowser *browser = THelpBrowser::Instance();
    QVERIFY(browser);
    QVERIFY(browser->isVisible());
    QCOMPARE(QFileInfo(browser->CurrentPage().toLocalFile()).fileName(), page);
    QCOMPARE(QFileInfo(browser->CurrentPage().toLocalFile()).absolutePath(),
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("help")));
    QCOMPARE(browser->Browser()->documentTitle(), title);

    // A second request reuses the one window.
    ShowHelpTopic(QStringLiteral("Login"));
    QCOMPARE(THelpBrowser::Instance(), browser);
}

void tst_BaseWindows::helpWindowNavigates()
{
    THelpBrowser *browser = THelpBrowser::Open(QStringLiteral("Login"));
    auto *index = browser->findChild<QToolButton *>(QStringLiteral("IndexBtn1"));
    auto *back = browser->findChild<QToolButton *>(QStringLiteral("BackBtn1"));
    auto *forward = browser->findChild<QToolButton *>(QStringLiteral("ForwardBtn1"));
    QVERIFY(index && back && forward);
    QVERIFY(!back->isEnabled());
    QTest::mouseClick(index, Qt::LeftButton);
    QCOMPARE(
        QFileInfo(browser->CurrentPage().toLocalFile()).fileName(), QStringLiteral("index.html"));
    QVERIFY(back->isEnabled());
    QTest::mouseClick(back, Qt::LeftButton);
    QCOMPARE(
        QFileInfo(browser->CurrentPage().toLocalFile()).fileName(), QStringLiteral("Login.html"));
    QVERIFY(forward->isEnabled());
    QTest::mouseClick(forward, Qt::LeftButton);
    QCOMPARE(
        QFileInfo(browser->CurrentPage().toLocalFile()).fileName(), QStringLiteral("index.html"));
}

void tst_BaseWindows::everyWindowHasAHelpPage()
{
    const QStringList topics{"Login", "Operators", "OperatorEditor", "PasswordChanger", "Feedback",
        "about", "DBConfig", "CompanyInfo"};
    for (const QString &topic : topics)
        QCOMPARE(
            QFileInfo(THelpBrowser::PagePath(topic)).fileName(), topic + QStringLiteral(".html"));

    // Every page declares its encoding, and every link between pages leads
    // somewhere.
    const QDir dir(THelpBrowser::HelpFolder());
    static const QRegularExpression link(QStringLiteral("href=\"([^\"#:]+)\""));
    for (const QString &name : dir.entryList({QStringLiteral("*.html")})) {
        QFile file(dir.filePath(name));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(file.readAll());
        QVERIFY2(html.contains(QStringLiteral("<meta charset=\"utf-8\">")), qPrintable(name));
        for (auto it = link.globalMatch(html); it.hasNext();) {
            const QString target = it.next().captured(1);
            QVERIFY2(QFileInfo::exists(dir.filePath(target)),
                qPrintable(name + QStringLiteral(" -> ") + target));
        }
    }
}

// ---------------------------------------------------------------- placement

void tst_BaseWindows::placementNearPointer_data()
{
    QTest::addColumn<QPoint>("cursor");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QRect>("screen");
    QTest::addColumn<QPoint>("topLeft");
    const QRect screen(0, 0, 1280, 800);
    const QSize size(400, 300);
    QTest::newRow("centred on the pointer")
        << QPoint(640, 400) << size << screen << QPoint(440, 250);
    QTest::newRow("near the left edge") << QPoint(100, 400) << size << screen << QPoint(20, 250);
    QTest::newRow("near the top") << QPoint(640, 50) << size << screen << QPoint(440, 20);
    QTest::newRow("near the right edge") << QPoint(1250, 400) << size << screen << QPoint(860, 250);
    QTest::newRow("right limit itself") << QPoint(1060, 400) << size << screen << QPoint(860, 250);
    QTest::newRow("near the bottom") << QPoint(640, 790) << size << screen << QPoint(440, 450);
    QTest::newRow("bottom-right corner") << QPoint(1279, 799) << size << screen << QPoint(860, 450);
    QTest::newRow("second screen")
        << QPoint(1300, 10) << size << QRect(1280, 0, 1024, 768) << QPoint(1300, 20);
    QTest::newRow("taller than the screen")
        << QPoint(640, 400) << QSize(400, 900) << screen << QPoint(440, 0);
}

void tst_BaseWindows::placementNearPointer()
{
    QFETCH(QPoint, cursor);
    QFETCH(QSize, size);
    QFETCH(QRect, screen);
    QFETCH(QPoint, topLeft);
    QCOMPARE(TFormHelper::PlacementNear(cursor, size, screen), topLeft);
}

void tst_BaseWindows::windowAppearsNearPointer()
{
    QCursor::setPos(QPoint(30, 40));
    const QPoint cursor = QCursor::pos();
    TaFrm w;
    w.resize(300, 200);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QScreen *screen = QGuiApplication::screenAt(cursor);
    QVERIFY(screen);
    QCOMPARE(w.frameGeometry().topLeft(),
        TFormHelper::PlacementNear(cursor, w.frameGeometry().size(), screen->geometry()));

    // Later shows keep where the window was left.
    w.hide();
    w.move(500, 300);
    w.show();
    QCOMPARE(w.pos(), QPoint(500, 300));
}

void tst_BaseWindows::sizingZonesOfBorderlessWindows_data()
{
    QTest::addColumn<QPoint>("pos");
    QTest::addColumn<int>("edges");
    QTest::newRow("top-left corner") << QPoint(9, 9) << int(Qt::TopEdge | Qt::LeftEdge);
    QTest::newRow("top-right corner") << QPoint(190, 9) << int(Qt::TopEdge | Qt::RightEdge);
    QTest::newRow("bottom-right corner") << QPoint(190, 90) << int(Qt::BottomEdge | Qt::RightEdge);
    QTest::newRow("bottom-left corner") << QPoint(9, 90) << int(Qt::BottomEdge | Qt::LeftEdge);
    QTest::newRow("just past the corner is the top edge") << QPoint(10, 3) << int(Qt::TopEdge);
    QTest::newRow("left edge") << QPoint(4, 50) << int(Qt::LeftEdge);
    QTest::newRow("right edge") << QPoint(195, 50) << int(Qt::RightEdge);
    QTest::newRow("bottom edge") << QPoint(100, 95) << int(Qt::BottomEdge);
    QTest::newRow("inside") << QPoint(100, 50) << 0;
    QTest::newRow("next to the left edge") << QPoint(5, 50) << 0;
}

void tst_BaseWindows::sizingZonesOfBorderlessWindows()
{
    QFETCH(QPoint, pos);
    QFETCH(int, edges);
    QCOMPARE(int(TFormHelper::SizingEdges(pos, QSize(200, 100))), edges);
}

// ---------------------------------------------------------------- errors

void tst_BaseWindows::errorBoxText_data()
{
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("shown");
    QTest::newRow("Chinese text") << "磁盘已满"
                                  << "磁盘已满.";
    QTest::newRow("letter") << "Disk full"
                            << "Disk full.";
    QTest::newRow("digit") << "错误 42"
                           << "错误 42.";
    QTest::newRow("full stop already") << "保存失败."
                                       << "保存失败.";
    QTest::newRow("Chinese full stop is not ASCII") << "保存失败。"
                                                    << "保存失败。.";
    QTest::newRow("ends with a line break") << "语句错误\r\n"
                                            << "语句错误\r\n";
    QTest::newRow("closing bracket sorts before") << "错误(5)"
                                                  << "错误(5)";
    QTest::newRow("question mark sorts after") << "why?"
                                               << "why?.";
    QTest::newRow("empty") << ""
                           << "";
}

void tst_BaseWindows::errorBoxText()
{
    QFETCH(QString, message);
    QFETCH(QString, shown);
    QCOMPARE(ErrorBoxText(message), shown);
    ShowErrorBox(message);
    QCOMPARE(m_prompter->shown().size(), 1);
    const ScriptedPrompter::Shown box = m_prompter->shown().first();
    QCOMPARE(box.kind, MessageKind::Error);
    QCOMPARE(box.caption, QStringLiteral("澄岚人事档案管理系统"));
    QCOMPARE(box.text, shown);
    QCOMPARE(box.buttons, MessageButtons(MessageButton::Ok));
}

enum class Raise { QmErrorText, Silent, Standard, Other, Nothing };
Q_DECLARE_METATYPE(Raise)

namespace {

void raise(Raise kind)
{
    switch (kind) {
    case Raise::QmErrorText:
        throw QmError(QStringLiteral("数据库连接已断开"));
    case Raise::Silent:
        throw SilentAbort();
    case Raise::Standard:
        throw std::runtime_error("out of range");
    case Raise::Other:
        throw 42;
    case Raise::Nothing:
        break;
    }
}

// Throws from its event handler, as a window's handler would.
class Thrower : public QObject
{
public:
    Raise kind = Raise::Nothing;
    int delivered = 0;
    bool event(QEvent *event) override
    {
        if (event->type() != QEvent::User)
            return QObject::event(event);
        ++delivered;
        raise(kind);
        return true;
    }
};

} // namespace

void tst_BaseWindows::notifyCatchesEveryError_data()
{
    QTest::addColumn<Raise>("kind");
    QTest::addColumn<QStringList>("shown");
    QTest::newRow("program error") << Raise::QmErrorText << QStringList{"数据库连接已断开."};
    QTest::newRow("silent abort") << Raise::Silent << QStringList{};
    QTest::newRow("standard exception") << Raise::Standard << QStringList{"out of range."};
    QTest::newRow("anything else") << Raise::Other << QStringList{"未知错误."};
    QTest::newRow("no error") << Raise::Nothing << QStringList{};
}

void tst_BaseWindows::notifyCatchesEveryError()
{
    QFETCH(Raise, kind);
    QFETCH(QStringList, shown);
    QVERIFY(qobject_cast<TqmApplication *>(qApp));
    Thrower thrower;
    thrower.kind = kind;
    QEvent event(QEvent::User);
    QCoreApplication::sendEvent(&thrower, &event);
    QCOMPARE(m_prompter->texts(), shown);
    for (const auto &box : m_prompter->shown())
        QCOMPARE(box.kind, MessageKind::Error);

    // Posted events take the same road, and the program goes on afterwards.
    QCoreApplication::postEvent(&thrower, new QEvent(QEvent::User));
    QCoreApplication::processEvents();
    QCOMPARE(thrower.delivered, 2);
    QCOMPARE(m_prompter->texts().size(), shown.size() * 2);

    m_prompter->clear();
    QCOMPARE(RunUserAction([kind] { raise(kind); }), kind == Raise::Nothing);
    QCOMPARE(m_prompter->texts(), shown);
}

void tst_BaseWindows::errorInAClickKeepsTheWindow()
{
    TaFrm w;
    auto *edit = new QLineEdit(QStringLiteral("typed"), &w);
    auto *button = new QPushButton(QStringLiteral("go"), &w);
    button->move(0, 40);
    int clicks = 0;
    connect(button, &QPushButton::clicked, &w, [&] {
        ++clicks;
        throw QmError(QStringLiteral("保存失败"));
    });
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QTest::mouseClick(button, Qt::LeftButton);
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(clicks, 2);
    QCOMPARE(m_prompter->texts(), (QStringList{"保存失败.", "保存失败."}));
    QVERIFY(w.isVisible());
    QCOMPARE(edit->text(), QStringLiteral("typed"));
    QVERIFY(!button->isDown());
}

// ---------------------------------------------------------------- about

void tst_BaseWindows::aboutShowsProductAndConfiguredLinks_data()
{
    QTest::addColumn<bool>("configured");
    QTest::newRow("no links configured") << false;
    QTest::newRow("links configured") << true;
}

void tst_BaseWindows::aboutShowsProductAndConfiguredLinks()
{
    QFETCH(bool, configured);
    if (configured)
        writeLinks({{"WebSite", "https://www.example.com/hr"},
            {"SupportMail", "support@example.com"}, {"SalesMail", "sales@example.com"}});
    QString why;
    bool skip = false;
    auto fixture = EngineFixture::create(QStringLiteral("sqlite"), &why, &skip);
    QVERIFY2(fixture, qPrintable(why));
    installGlobals(fixture.get());

    TaboutFrm frm;
    frm.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frm));
    QCOMPARE(frm.windowTitle(), QStringLiteral("关于..."));
    QCOMPARE(frm.LblProductName1->text(), QStringLiteral("澄岚人事档案管理系统"));
    QCOMPARE(frm.LblVersion1->text(), QStringLiteral("单机版 2.6.120130 Build120130-TK"));
    QCOMPARE(frm.LblProductCode1->text(), QStringLiteral("ZODARE"));
    QCOMPARE(frm.lblDatabase1->text(), fixture->filePath());
    QVERIFY(frm.lblExePath1->text().contains(
        QDir::toNativeSeparators(QCoreApplication::applicationDirPath())));
    for (QLabel *link : {frm.lblWebSite1, frm.lblSupportMail1, frm.lblSalesMail1})
        QCOMPARE(link->isVisible(), configured);
    if (configured) {
        QVERIFY(frm.lblWebSite1->text().contains(QStringLiteral("https://www.example.com/hr")));
        QVERIFY(frm.lblSupportMail1->text().contains(QStringLiteral("mailto:support@example.com")));
        QVERIFY(frm.lblSalesMail1->text().contains(QStringLiteral("mailto:sales@example.com")));
    }
    installGlobals(nullptr);
}

void tst_BaseWindows::aboutOpensFolderAndCompany()
{
    writeLinks({{"SupportMail", "support@example.com"}});
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "open");
    QDesktopServices::setUrlHandler(QStringLiteral("mailto"), &catcher, "open");
    TCompany company;
    company.CompanyName = QStringLiteral("澄岚科技");
    bool readOnly = false;
    int shows = 0;
    QString shownName;
    company.RunDialog = [&](TCompanyInfoFrm &dialog) {
        ++shows;
        readOnly = !dialog.OkBtn1->isEnabled();
        shownName = dialog.EdtCompany1->text();
        return int(QDialog::Rejected);
    };
    TheCompany = &company;

    TaboutFrm frm;
    static const QRegularExpression href(QStringLiteral("href=\"([^\"]+)\""));
    emit frm.lblExePath1->linkActivated(href.match(frm.lblExePath1->text()).captured(1));
    emit frm.lblSupportMail1->linkActivated(href.match(frm.lblSupportMail1->text()).captured(1));
    QTest::mouseClick(frm.Button1, Qt::LeftButton);
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    QDesktopServices::unsetUrlHandler(QStringLiteral("mailto"));

    QCOMPARE(catcher.opened,
        (QList<QUrl>{QUrl::fromLocalFile(QCoreApplication::applicationDirPath()),
            QUrl(QStringLiteral("mailto:support@example.com"))}));
    QCOMPARE(shows, 1);
    QVERIFY(readOnly);
    QCOMPARE(shownName, company.CompanyName);
}

// ---------------------------------------------------------------- feedback

void tst_BaseWindows::feedbackText_data()
{
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QString>("text");
    const QString rule(45, QLatin1Char('-'));
    QTest::newRow("all empty")
        << QStringList{"", "", "", "", "", "", ""}
        << "      Company: \r\n      Address: \r\n          Zip: \r\n      Linkman: \r\n"
           "      LinkTel: \r\n        Email: \r\n         Note: \r\n"
            + rule + "\r\n\r\n" + rule + "\r\n";
    QTest::newRow("filled, two-line note")
        << QStringList{"澄岚科技", "北京路1号", "100000", "张三", "010-1234", "a@b.cn",
               "第一行\n第二行"}
        << "      Company: 澄岚科技\r\n      Address: 北京路1号\r\n          Zip: 100000\r\n      "
           "Linkman: 张三\r\n"
           "      LinkTel: 010-1234\r\n        Email: a@b.cn\r\n         Note: \r\n"
            + rule + "\r\n第一行\r\n第二行\r\n" + rule + "\r\n";
}

void tst_BaseWindows::feedbackText()
{
    QFETCH(QStringList, fields);
    QFETCH(QString, text);
    QCOMPARE(TFeedbackFrm::BuildFeedbackText(
                 fields[0], fields[1], fields[2], fields[3], fields[4], fields[5], fields[6]),
        text);
    TFeedbackFrm frm;
    QLineEdit *edits[] = {frm.edtCompany1, frm.edtAddress1, frm.edtZip1, frm.edtLinkman1,
        frm.edtLinkTel1, frm.edtEmail1};
    for (int i = 0; i < 6; ++i)
        edits[i]->setText(fields[i]);
    frm.MmNote1->setPlainText(fields[6]);
    QCOMPARE(frm.FeedbackText(), text);
}

void tst_BaseWindows::feedbackStartsWithTheCompany()
{
    TCompany company;
    company.CompanyName = QStringLiteral("澄岚科技");
    company.Address = QStringLiteral("北京路1号");
    company.Zip = QStringLiteral("100000");
    company.Manager = QStringLiteral("张三");
    company.Tel = QStringLiteral("010-1234");
    company.Fax = QStringLiteral("010-9999");
    TheCompany = &company;
    TFeedbackFrm frm;
    QCOMPARE(frm.windowTitle(), QStringLiteral("用户反馈表"));
    QCOMPARE(frm.edtCompany1->text(), company.CompanyName);
    QCOMPARE(frm.edtAddress1->text(), company.Address);
    QCOMPARE(frm.edtZip1->text(), company.Zip);
    QCOMPARE(frm.edtLinkman1->text(), company.Manager);
    QCOMPARE(frm.edtLinkTel1->text(), company.Tel);
    QVERIFY(frm.edtEmail1->text().isEmpty());
    QVERIFY(frm.MmNote1->toPlainText().isEmpty());
}

void tst_BaseWindows::feedbackPostIsJudgedByItsAnswer_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<bool>("received");
    QTest::newRow("ok") << 200 << QByteArray("ok") << true;
    QTest::newRow("upper case OK") << 200 << QByteArray("OK") << false;
    QTest::newRow("ok with a line break") << 200 << QByteArray("ok\r\n") << false;
    QTest::newRow("error status") << 500 << QByteArray("ok") << false;
    QTest::newRow("no server") << 0 << QByteArray() << false;
}

void tst_BaseWindows::feedbackPostIsJudgedByItsAnswer()
{
    QFETCH(int, status);
    QFETCH(QByteArray, answer);
    QFETCH(bool, received);
    FeedbackServer server;
    QVERIFY(server.start());
    server.status = status;
    server.body = answer;
    QString url = server.url();
    if (status == 0) {
        // A port nobody listens on any more.
        QTcpServer gone;
        QVERIFY(gone.listen(QHostAddress::LocalHost));
        url = QStringLiteral("http://127.0.0.1:%1/back.asp").arg(gone.serverPort());
    }
    writeLinks({{"FeedbackUrl", url.toUtf8()}, {"QQ", "12345678"}});

    TFeedbackFrm frm;
    frm.MmNote1->setPlainText(QStringLiteral("希望增加工资条打印"));
    frm.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frm));
    QVERIFY(frm.OkBtn1->isEnabled());
    QTest::mouseClick(frm.OkBtn1, Qt::LeftButton);

    QCOMPARE(m_prompter->shown().size(), 1);
    const ScriptedPrompter::Shown box = m_prompter->shown().first();
    QCOMPARE(box.caption, QStringLiteral("澄岚人事档案管理系统"));
    if (received) {
        QCOMPARE(box.text, QStringLiteral(":) 反馈成功！谢谢您的支持！"));
        QCOMPARE(frm.result(), int(QDialog::Accepted));
        QVERIFY(!frm.isVisible());
    } else {
        QVERIFY2(box.text.startsWith(
                     QStringLiteral("对不起,发送失败,请检查网络后重试,如果仍不成功请与我们QQ联系")),
            qPrintable(box.text));
        QVERIFY(box.text.endsWith(QStringLiteral("12345678.")));
        QVERIFY(frm.isVisible());
        QVERIFY(frm.result() != QDialog::Accepted);
        QCOMPARE(frm.MmNote1->toPlainText(), QStringLiteral("希望增加工资条打印"));
    }
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    if (status == 0)
        return;
    QCOMPARE(server.requests, 1);
    QVERIFY(server.requestHead.startsWith("POST /fb/back.asp "));
    QVERIFY(
        server.requestHead.toLower().contains("content-type: application/x-www-form-urlencoded"));
    QCOMPARE(server.data(), frm.FeedbackText());
}

void tst_BaseWindows::emptyFeedbackSendsEveryLine()
{
    FeedbackServer server;
    QVERIFY(server.start());
    writeLinks({{"FeedbackUrl", server.url().toUtf8()}});
    TFeedbackFrm frm;
    frm.show();
    QTest::mouseClick(frm.OkBtn1, Qt::LeftButton);
    QCOMPARE(frm.result(), int(QDialog::Accepted));
    const QString rule(45, QLatin1Char('-'));
    QCOMPARE(server.data(),
        QStringLiteral(
            "      Company: \r\n      Address: \r\n          Zip: \r\n      Linkman: \r\n"
            "      LinkTel: \r\n        Email: \r\n         Note: \r\n")
            + rule + QStringLiteral("\r\n\r\n") + rule + QStringLiteral("\r\n"));
}

void tst_BaseWindows::feedbackNeedsAnAddress()
{
    writeLinks({{"QQ", "12345678"}});
    TFeedbackFrm frm;
    QVERIFY(!frm.OkBtn1->isEnabled());
    QVERIFY(!frm.OkBtn1->toolTip().isEmpty());
    QCOMPARE(TVendorLinks::Read().QQ, QStringLiteral("12345678"));
    QVERIFY(TVendorLinks::Read().FeedbackUrl.isEmpty());
}

int main(int argc, char **argv)
{
    TqmApplication app(argc, argv);
    tst_BaseWindows test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_basewindows.moc"
