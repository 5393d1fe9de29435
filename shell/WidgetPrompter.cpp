#include "WidgetPrompter.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace {

QMessageBox::Icon iconFor(MessageKind kind)
{
    switch (kind) {
    case MessageKind::Information:
        return QMessageBox::Information;
    case MessageKind::Warning:
        return QMessageBox::Warning;
    case MessageKind::Error:
        return QMessageBox::Critical;
    case MessageKind::Confirmation:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::ButtonRole roleFor(MessageButton button)
{
    switch (button) {
    case MessageButton::Ok:
    case MessageButton::Yes:
    case MessageButton::All:
        return QMessageBox::AcceptRole;
    case MessageButton::Cancel:
    case MessageButton::Abort:
        return QMessageBox::RejectRole;
    case MessageButton::No:
        return QMessageBox::NoRole;
    case MessageButton::Help:
        return QMessageBox::HelpRole;
    default:
        return QMessageBox::ActionRole;
    }
}

} // namespace

MessageButton WidgetPrompter::message(MessageKind kind, const QString &caption, const QString &text,
    MessageButtons buttons, MessageButton defaultButton)
{
    QMessageBox box(iconFor(kind), caption, text, QMessageBox::NoButton, QApplication::activeWindow());
    QHash<QAbstractButton *, MessageButton> chosen;
    static const MessageButton order[] = {MessageButton::Ok, MessageButton::Yes, MessageButton::No,
        MessageButton::All, MessageButton::Retry, MessageButton::Ignore, MessageButton::Abort, MessageButton::Cancel,
        MessageButton::Help};
    QPushButton *escapeButton = nullptr;
    for (MessageButton b : order) {
        if (!buttons.testFlag(b))
            continue;
        QPushButton *button = box.addButton(messageButtonText(b), roleFor(b));
        chosen.insert(button, b);
        if (b == defaultButton)
            box.setDefaultButton(button);
        if (b == MessageButton::Cancel || b == MessageButton::No || (b == MessageButton::Ok && !escapeButton))
            escapeButton = button;
    }
    if (escapeButton)
        box.setEscapeButton(escapeButton);
    box.exec();
    return chosen.value(box.clickedButton(), defaultButton);
}

bool WidgetPrompter::inputText(const QString &caption, const QString &label, QString &value)
{
    QInputDialog dialog(QApplication::activeWindow());
    dialog.setWindowTitle(caption);
    dialog.setLabelText(label);
    dialog.setTextValue(value);
    dialog.setOkButtonText(messageButtonText(MessageButton::Ok));
    dialog.setCancelButtonText(messageButtonText(MessageButton::Cancel));
    if (dialog.exec() != QDialog::Accepted)
        return false;
    value = dialog.textValue();
    return true;
}
