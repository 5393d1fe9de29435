#pragma once

#include "Utils.h"

// The prompter of the running program: real modal message boxes with the
// program's Chinese captions and buttons, parented to the active window.
class WidgetPrompter : public Prompter
{
public:
    MessageButton message(MessageKind kind, const QString &caption, const QString &text, MessageButtons buttons,
        MessageButton defaultButton) override;
    bool inputText(const QString &caption, const QString &label, QString &value) override;
};
