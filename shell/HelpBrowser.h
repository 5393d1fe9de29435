#pragma once

#include <QPointer>
#include <QString>
#include <QUrl>
#include <QWidget>
#include <functional>

class QTextBrowser;
class QToolButton;

// The program's one help window: the pages of the "help" folder beside the
// executable, one per window and named after its help topic, with a link to
// the index and back/forward. It is created on the first request, deletes
// itself when closed and is reused while open.
class THelpBrowser : public QWidget
{
    Q_OBJECT
public:
    // The open window, or nullptr.
    static THelpBrowser *Instance();
    // Shows the window (creating it when needed) on the topic's page.
    static THelpBrowser *Open(const QString &topic);
    // Deletes the window if it is open.
    static void Release();

    // The folder of the pages: "help" beside the executable unless redirected
    // (an empty folder restores that).
    static QString HelpFolder();
    static void SetHelpFolder(const QString &folder);
    // The topic's page, or the index when the topic has no page.
    static QString PagePath(const QString &topic);

    QUrl CurrentPage() const;
    QTextBrowser *Browser() const { return m_browser; }

private:
    THelpBrowser();
    void showPage(const QString &path);

    QTextBrowser *m_browser;
    QToolButton *m_back;
    QToolButton *m_forward;
    QToolButton *m_index;
    static QPointer<THelpBrowser> s_instance;
};

// Every help request of the program ends here: the observer (if any) hears the
// topic first, then the help window opens on its page.
void ShowHelpTopic(const QString &topic);
// Installs an observer of help requests and returns the previous one (tests).
using HelpObserver = std::function<void(const QString &topic)>;
HelpObserver SetHelpObserver(HelpObserver observer);
