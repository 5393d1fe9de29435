#include "Pub.h"

#include "Error.h"
#include "HelpBrowser.h"
#include "IniFile.h"
#include "Utils.h"

#include <QDir>

TVendorLinks TVendorLinks::Read(const QString &folder)
{
    IniFile ini(QDir(folder.isEmpty() ? TConfiger::DefaultFolder() : folder)
                    .filePath(QStringLiteral("cfg.ini")));
    TVendorLinks links;
    if (!ini.load())
        return links;
    auto read = [&ini](const char *key) {
        return QString::fromUtf8(ini.value(QByteArrayLiteral("Links"), key)).trimmed();
    };
    links.FeedbackUrl = read("FeedbackUrl");
    links.WebSite = read("WebSite");
    links.SupportMail = read("SupportMail");
    links.SalesMail = read("SalesMail");
    links.QQ = read("QQ");
    return links;
}

QString ErrorBoxText(const QString &message)
{
    if (!message.isEmpty() && message.back() > QLatin1Char('.'))
        return message + QLatin1Char('.');
    return message;
}

void ShowErrorBox(const QString &message)
{
    prompter().message(MessageKind::Error, ProductTitle, ErrorBoxText(message), MessageButton::Ok,
        MessageButton::Ok);
}

void ShowPlainMessage(const QString &text)
{
    prompter().message(
        MessageKind::Information, ProductTitle, text, MessageButton::Ok, MessageButton::Ok);
}

bool RunUserAction(const std::function<void()> &action)
{
    try {
        action();
        return true;
    } catch (const SilentAbort &) {
    } catch (const QmError &e) {
        ShowErrorBox(e.message());
    } catch (const std::exception &e) {
        ShowErrorBox(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        ShowErrorBox(QStringLiteral("未知错误"));
    }
    return false;
}

TqmApplication::TqmApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{ }

TqmApplication::~TqmApplication()
{
    // Top-level widgets must go before the application object does.
    THelpBrowser::Release();
}

bool TqmApplication::notify(QObject *receiver, QEvent *event)
{
    bool handled = false;
    RunUserAction([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}
