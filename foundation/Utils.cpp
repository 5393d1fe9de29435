#include "Utils.h"

#include <cstdio>

namespace {

class StderrPrompter : public Prompter
{
public:
    MessageButton message(MessageKind, const QString &caption, const QString &text,
        MessageButtons, MessageButton defaultButton) override
    {
        std::fprintf(stderr, "[%s] %s\n", qPrintable(caption), qPrintable(text.trimmed()));
        return defaultButton;
    }
    bool inputText(const QString &, const QString &, QString &) override { return false; }
};

StderrPrompter defaultPrompter;
Prompter *installed = nullptr;

bool askDeleteWith(const QString &text)
{
    return prompter().message(MessageKind::Warning, messageCaption(MessageKind::Warning), text,
               MessageButton::Ok | MessageButton::Cancel, MessageButton::Ok)
        == MessageButton::Ok;
}

} // namespace

Prompter &prompter()
{
    return installed ? *installed : static_cast<Prompter &>(defaultPrompter);
}

Prompter *setPrompter(Prompter *p)
{
    Prompter *previous = installed;
    installed = p;
    return previous;
}

QString messageCaption(MessageKind kind)
{
    switch (kind) {
    case MessageKind::Information:
        return QStringLiteral("信息");
    case MessageKind::Warning:
        return QStringLiteral("警告");
    case MessageKind::Error:
        return QStringLiteral("错误");
    case MessageKind::Confirmation:
        return QStringLiteral("确认");
    }
    return QString();
}

QString messageButtonText(MessageButton button)
{
    switch (button) {
    case MessageButton::Ok:
        return QStringLiteral("确定");
    case MessageButton::Cancel:
        return QStringLiteral("取消");
    case MessageButton::Yes:
        return QStringLiteral("是(&Y)");
    case MessageButton::No:
        return QStringLiteral("否(&N)");
    case MessageButton::Help:
        return QStringLiteral("帮助(&H)");
    case MessageButton::Abort:
        return QStringLiteral("中止(&A)");
    case MessageButton::Retry:
        return QStringLiteral("重试(&R)");
    case MessageButton::Ignore:
        return QStringLiteral("忽略(&I)");
    case MessageButton::All:
        return QStringLiteral("全部(&A)");
    case MessageButton::None:
        break;
    }
    return QString();
}

void ShowInfo(const QString &text)
{
    prompter().message(MessageKind::Information, messageCaption(MessageKind::Information),
        QStringLiteral("\r\n") + text + QStringLiteral("\t"), MessageButton::Ok, MessageButton::Ok);
}

bool ConfirmDelete(const QString &name)
{
    const QString what = name.isEmpty() ? QStringLiteral("当前记录") : name;
    return askDeleteWith(QStringLiteral("\r您确定要删除 %1 吗?\t\t").arg(what));
}

bool AskDelete(const QString &name)
{
    return askDeleteWith(QStringLiteral("\r您确定要删除 %1 吗?\t").arg(name));
}

bool AskYesNo(const QString &text)
{
    return prompter().message(MessageKind::Confirmation, messageCaption(MessageKind::Confirmation),
               text, MessageButton::Yes | MessageButton::No, MessageButton::No)
        == MessageButton::Yes;
}

QByteArray Scramble(const QByteArray &text)
{
    static const char key[] = "quorvistab";
    QByteArray result = text;
    for (int i = 1; i <= result.size(); ++i) {
        const auto keyChar = static_cast<unsigned char>(key[i % 10]);
        result[i - 1] = static_cast<char>(static_cast<unsigned char>(result[i - 1]) ^ (keyChar % 10));
    }
    return result;
}
