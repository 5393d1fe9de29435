#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>
#include <vector>

class QAction;
class Tmain1Frm;

// When an action of the main window may run, besides having a handler.
enum class TRowRule {
    Always,
    // A row of the list is current.
    RowCurrent,
    // A row is current and that employee has no dismissal date.
    RowNotDismissed,
};

// One action of the main window: where it lives, what it shows, the right
// the window tests before running it (-1: none of its own), when it is
// enabled, and what runs. An action without a handler opens a window the
// program does not have yet: it stands in the menus, disabled, until the
// module that brings the window binds it with Tmain1Frm::SetActionHandler.
// WaitsFor names that window.
struct TMainActionSpec
{
    QAction *Tmain1Frm::*Member;
    const char *Name;
    const char *Caption;
    int Right;
    TRowRule Rule;
    void (Tmain1Frm::*Handler)();
    const char *WaitsFor;
};

// Every action of the main window, in menu order.
const std::vector<TMainActionSpec> &MainActionTable();

// The first of candidates found on the PATH, as a full path; empty when none is.
QString FindProgram(const QStringList &candidates);
// The desktop's text editors and calculators the tools menu looks for.
QStringList TextEditorPrograms();
QStringList CalculatorPrograms();

// How the window starts a program and opens a file, web or mail address;
// replaceable so tests see what would be started instead of starting it.
using TProgramStarter = std::function<bool(const QString &program, const QStringList &arguments)>;
using TUrlOpener = std::function<bool(const QUrl &url)>;
// Each installs its replacement (nullptr restores the desktop's) and returns the previous one.
TProgramStarter SetProgramStarter(TProgramStarter starter);
TUrlOpener SetUrlOpener(TUrlOpener opener);
bool StartProgram(const QString &program, const QStringList &arguments = {});
bool OpenUrl(const QUrl &url);

// The mail to the vendor's sales address, subject ProductTitle + " 购买咨询".
QUrl SalesMailUrl(const QString &address);
