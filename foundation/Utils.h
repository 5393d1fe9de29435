#pragma once

#include <QByteArray>
#include <QFlags>
#include <QString>

// Message boxes and the protection of configuration values.
//
// Every box and question of the program goes through one Prompter. The window
// layer installs one that shows real modal boxes; tests install a scripted one,
// so no test ever waits on a dialog.

enum class MessageKind { Information, Warning, Error, Confirmation };

enum class MessageButton {
    None = 0,
    Ok = 0x1,
    Cancel = 0x2,
    Yes = 0x4,
    No = 0x8,
    Help = 0x10,
    Abort = 0x20,
    Retry = 0x40,
    Ignore = 0x80,
    All = 0x100,
};
Q_DECLARE_FLAGS(MessageButtons, MessageButton)
Q_DECLARE_OPERATORS_FOR_FLAGS(MessageButtons)

class Prompter
{
public:
    virtual ~Prompter() = default;

    // Shows a modal box and returns the button chosen (the default button when
    // the box is closed some other way).
    virtual MessageButton message(MessageKind kind, const QString &caption, const QString &text,
        MessageButtons buttons, MessageButton defaultButton)
        = 0;

    // Asks for one line of text; returns false when cancelled.
    virtual bool inputText(const QString &caption, const QString &label, QString &value) = 0;
};

// The installed prompter; without one, messages go to standard error and every
// question is answered with its default.
Prompter &prompter();
// Installs p (not owned) and returns the previous one; nullptr restores the default.
Prompter *setPrompter(Prompter *p);

QString messageCaption(MessageKind kind);
QString messageButtonText(MessageButton button);

// The framed information box: "\r\n" + text + "\t", caption "信息".
void ShowInfo(const QString &text);
// "\r您确定要删除 %s 吗?\t\t" with "当前记录" for an empty name.
bool ConfirmDelete(const QString &name = QString());
// "\r您确定要删除 %s 吗?\t" with the name as given.
bool AskDelete(const QString &name);
// A yes/no question (caption "确认"); true for "是".
bool AskYesNo(const QString &text);

// Reversible byte scrambling of configuration values: byte i (from 1) is XORed
// with (code of key character (i mod 10) + 1) mod 10 of the key "quorvistab".
QByteArray Scramble(const QByteArray &text);
