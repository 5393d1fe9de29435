#include "TestSupport.h"
#include "Utils.h"

#include <QtTest>

class tst_Utils : public QObject
{
    Q_OBJECT
private slots:
    void showInfoFramesTheText();
    void deleteConfirmations_data();
    void deleteConfirmations();
    void scrambleKnownValues_data();
    void scrambleKnownValues();
    void scrambleTwiceGivesBackAnyBytes();
};

void tst_Utils::showInfoFramesTheText()
{
    ScriptedPrompter prompter;
    ShowInfo(QStringLiteral("abc"));
    QCOMPARE(prompter.shown().size(), 1);
    const auto &shown = prompter.shown().first();
    QCOMPARE(shown.text, QStringLiteral("\r\nabc\t"));
    QCOMPARE(shown.caption, QStringLiteral("信息"));
    QCOMPARE(shown.kind, MessageKind::Information);
    QCOMPARE(shown.buttons, MessageButtons(MessageButton::Ok));
}

void tst_Utils::deleteConfirmations_data()
{
    QTest::addColumn<bool>("confirm"); // ConfirmDelete, else AskDelete
    QTest::addColumn<QString>("name");
    QTest::addColumn<MessageButton>("answer");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("result");
    QTest::newRow("confirm, empty name is the current record")
        << true << QString() << MessageButton::Ok << QStringLiteral("\r您确定要删除 当前记录 吗?\t\t") << true;
    QTest::newRow("confirm, named, cancelled")
        << true << QStringLiteral("张三") << MessageButton::Cancel << QStringLiteral("\r您确定要删除 张三 吗?\t\t") << false;
    QTest::newRow("ask, empty name stays empty")
        << false << QString() << MessageButton::Ok << QStringLiteral("\r您确定要删除  吗?\t") << true;
    QTest::newRow("ask, named, cancelled")
        << false << QStringLiteral("人事部") << MessageButton::Cancel << QStringLiteral("\r您确定要删除 人事部 吗?\t") << false;
}

void tst_Utils::deleteConfirmations()
{
    QFETCH(bool, confirm);
    QFETCH(QString, name);
    QFETCH(MessageButton, answer);
    QFETCH(QString, text);
    QFETCH(bool, result);
    ScriptedPrompter prompter;
    prompter.answer(answer);
    QCOMPARE(confirm ? ConfirmDelete(name) : AskDelete(name), result);
    QCOMPARE(prompter.lastText(), text);
    QCOMPARE(prompter.shown().first().caption, QStringLiteral("警告"));
    QCOMPARE(prompter.shown().first().buttons, MessageButton::Ok | MessageButton::Cancel);
}

void tst_Utils::scrambleKnownValues_data()
{
    QTest::addColumn<QByteArray>("plain");
    QTest::addColumn<QByteArray>("scrambled");
    QTest::newRow("empty") << QByteArray() << QByteArray();
    QTest::newRow("abc") << QByteArray("abc") << QByteArray("fcg");
    // The key has ten characters: the eleventh byte reuses the first one's.
    QTest::newRow("eleven bytes") << QByteArray(11, 'a') << []() {
        QByteArray expected(11, 'a');
        const char key[] = "quorvistab";
        for (int i = 1; i <= 11; ++i)
            expected[i - 1] = static_cast<char>('a' ^ (key[i % 10] % 10));
        return expected;
    }();
}

void tst_Utils::scrambleKnownValues()
{
    QFETCH(QByteArray, plain);
    QFETCH(QByteArray, scrambled);
    QCOMPARE(Scramble(plain), scrambled);
    if (plain.size() == 11)
        QCOMPARE(Scramble(plain).at(10), Scramble(plain).at(0));
}

void tst_Utils::scrambleTwiceGivesBackAnyBytes()
{
    QByteArray every;
    for (int i = 0; i < 256; ++i)
        every.append(static_cast<char>(i));
    every += QStringLiteral("人事档案密码").toUtf8();
    QCOMPARE(Scramble(Scramble(every)), every);
    QVERIFY(Scramble(every) != every);
}

QTEST_GUILESS_MAIN(tst_Utils)
#include "tst_utils.moc"
