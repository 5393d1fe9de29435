#pragma once

// The product texts (ProductTitle, ProductVersion, ProductBuild, ProductCode,
// DefaultDbName) are declared with the connection configuration.
#include "Configer.h"

#include <QApplication>
#include <QString>
#include <functional>

// The vendor's addresses, from section "Links" of "cfg.ini" beside the
// executable. An empty value means "not offered": the window hides the item.
struct TVendorLinks
{
    QString FeedbackUrl;
    QString WebSite;
    QString SupportMail;
    QString SalesMail;
    QString QQ;

    // Reads "cfg.ini" in folder (empty: TConfiger::DefaultFolder()); a missing
    // file or key gives empty values.
    static TVendorLinks Read(const QString &folder = QString());
};

// The text the error box shows for message: a "." is appended when the last
// character sorts after "." (a letter, a digit or any non-ASCII character).
QString ErrorBoxText(const QString &message);
// The application's error box: error icon, ProductTitle as caption, one OK button.
void ShowErrorBox(const QString &message);
// A plain message box captioned with ProductTitle.
void ShowPlainMessage(const QString &text);

// Runs one user action: SilentAbort ends it quietly, any other exception is
// shown in the error box. Returns true when the action ran to its end. For
// code that runs outside an event (start-up, timers of other libraries) and
// for handlers that must not depend on which application object is running.
bool RunUserAction(const std::function<void()> &action);

// The program's application object. No exception ever leaves an event
// handler into Qt's event loop: every event is delivered inside the same
// catch as RunUserAction, so an unhandled error ends only the action that
// raised it and the window keeps its state.
class TqmApplication : public QApplication
{
    Q_OBJECT
public:
    TqmApplication(int &argc, char **argv);
    ~TqmApplication() override;

    bool notify(QObject *receiver, QEvent *event) override;
};
