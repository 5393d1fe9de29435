#include "Error.h"
#include "qmCtrls.h"
#include "qmDateTimePicker.h"
#include "qmImageBox.h"

#include <QBuffer>
#include <QCheckBox>
#include <QClipboard>
#include <QDialog>
#include <QPushButton>
#include <QVBoxLayout>
#include <QtTest>

Q_DECLARE_METATYPE(TEditType)

namespace {

// A shown, active window holding the given controls in a column, so focus
// and key events behave as in a real form.
class Form : public QWidget
{
public:
    explicit Form(std::initializer_list<QWidget *> controls)
    {
        auto *layout = new QVBoxLayout(this);
        for (QWidget *c : controls)
            layout->addWidget(c);
        show();
        activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(this));
    }
};

QByteArray encode(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

QImage sample(int w = 40, int h = 30)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(QColor(200, 30, 30));
    return image;
}

void commitText(QWidget *target, const QString &text)
{
    QInputMethodEvent event;
    event.setCommitString(text);
    QApplication::sendEvent(target, &event);
}

} // namespace

class tst_QmCtrls : public QObject
{
    Q_OBJECT
private slots:
    void editInputRules_data();
    void editInputRules();
    void typedReaders_data();
    void typedReaders();
    void typedWriters();
    void valuesTheRulesRefuseSurviveTheEdit();
    void focusColours();
    void enterMovesFocus();
    void comboBox();
    void datePickerNullDate();
    void datePickerUserActionsTickTheBox();
    void popupMenuItems();
    void picturesFromBytes_data();
    void picturesFromBytes();
    void photoFitsPictureIntoFrame_data();
    void photoFitsPictureIntoFrame();
    void imageFitsParent();
    void imageBoxTilesAndSelection();
    void imageBoxRemoveAndClear();
};

void tst_QmCtrls::editInputRules_data()
{
    QTest::addColumn<TEditType>("type");
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("cursor"); // -1: at the end
    QTest::addColumn<QString>("how"); // type, paste, insert, ime, backspace
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("after");

    const auto n = TEditType::etNumber, i = TEditType::etInteger, f = TEditType::etFree;
    QTest::newRow("number: point after digits") << n << "12" << -1 << "type"
                                                << "."
                                                << "12.";
    QTest::newRow("number: second point refused") << n << "12." << -1 << "type"
                                                  << "."
                                                  << "12.";
    QTest::newRow("number: point into the middle") << n << "125" << 1 << "type"
                                                   << "."
                                                   << "1.25";
    QTest::newRow("number: point before digits refused") << n << "5" << 0 << "type"
                                                         << "."
                                                         << "5";
    QTest::newRow("number: point into empty refused") << n << "" << -1 << "type"
                                                      << "."
                                                      << "";
    QTest::newRow("number: zero after lone zero refused") << n << "0" << -1 << "type"
                                                          << "0"
                                                          << "0";
    QTest::newRow("number: digit after lone zero replaces it") << n << "0" << -1 << "type"
                                                               << "5"
                                                               << "5";
    QTest::newRow("number: zeros after the point") << n << "0." << -1 << "type"
                                                   << "00"
                                                   << "0.00";
    QTest::newRow("number: zero ends a number") << n << "1" << -1 << "type"
                                                << "0"
                                                << "10";
    QTest::newRow("number: minus refused") << n << "" << -1 << "type"
                                           << "-"
                                           << "";
    QTest::newRow("number: minus before digits refused") << n << "12" << 0 << "type"
                                                         << "-"
                                                         << "12";
    QTest::newRow("number: letters refused") << n << "1" << -1 << "type"
                                             << "e"
                                             << "1";
    QTest::newRow("number: space refused") << n << "1" << -1 << "type"
                                           << " "
                                           << "1";
    QTest::newRow("number: Chinese from input method refused") << n << "1" << -1 << "ime"
                                                               << "五"
                                                               << "1";
    QTest::newRow("number: full-width digits refused") << n << "" << -1 << "ime"
                                                       << "１２"
                                                       << "";
    QTest::newRow("number: pasted number") << n << "" << -1 << "paste"
                                           << "3.25"
                                           << "3.25";
    QTest::newRow("number: pasted negative refused") << n << "" << -1 << "paste"
                                                     << "-3"
                                                     << "";
    QTest::newRow("number: pasted second point refused") << n << "1.5" << -1 << "paste"
                                                         << ".2"
                                                         << "1.5";
    QTest::newRow("number: pasted Chinese refused") << n << "7" << -1 << "paste"
                                                    << "七"
                                                    << "7";
    QTest::newRow("number: pasted leading zeros dropped") << n << "" << -1 << "paste"
                                                          << "007.5"
                                                          << "7.5";
    QTest::newRow("number: inserted by code held to the rules") << n << "1" << -1 << "insert"
                                                                << "x"
                                                                << "1";
    QTest::newRow("number: backspace to empty") << n << "5" << -1 << "backspace"
                                                << ""
                                                << "";
    QTest::newRow("integer: digits") << i << "12" << -1 << "type"
                                     << "3"
                                     << "123";
    QTest::newRow("integer: point refused") << i << "12" << -1 << "type"
                                            << "."
                                            << "12";
    QTest::newRow("integer: minus refused") << i << "" << -1 << "type"
                                            << "-"
                                            << "";
    QTest::newRow("integer: plus refused") << i << "4" << 0 << "type"
                                           << "+"
                                           << "4";
    QTest::newRow("integer: Chinese refused") << i << "5" << -1 << "ime"
                                              << "五"
                                              << "5";
    QTest::newRow("integer: pasted digits") << i << "" << -1 << "paste"
                                            << "0042"
                                            << "0042";
    QTest::newRow("integer: pasted decimal refused") << i << "" << -1 << "paste"
                                                     << "4.2"
                                                     << "";
    QTest::newRow("free: anything typed") << f << "" << -1 << "type"
                                          << "-1.5e"
                                          << "-1.5e";
    QTest::newRow("free: Chinese") << f << "" << -1 << "ime"
                                   << "张三"
                                   << "张三";
    QTest::newRow("free: pasted") << f << "a" << -1 << "paste"
                                  << "-.."
                                  << "a-..";
}

void tst_QmCtrls::editInputRules()
{
    QFETCH(TEditType, type);
    QFETCH(QString, before);
    QFETCH(int, cursor);
    QFETCH(QString, how);
    QFETCH(QString, input);
    QFETCH(QString, after);

    auto *edit = new TqmEdit;
    edit->SetEditType(type);
    Form form{edit};
    edit->setFocus();
    edit->setText(before);
    edit->setCursorPosition(cursor < 0 ? before.size() : cursor);
    if (how == QLatin1String("type")) {
        QTest::keyClicks(edit, input);
    } else if (how == QLatin1String("paste")) {
        QGuiApplication::clipboard()->setText(input);
        QTest::keySequence(edit, QKeySequence::Paste);
    } else if (how == QLatin1String("insert")) {
        edit->insert(input);
    } else if (how == QLatin1String("ime")) {
        commitText(edit, input);
    } else {
        QTest::keyClick(edit, Qt::Key_Backspace);
    }
    QCOMPARE(edit->text(), after);
}

void tst_QmCtrls::typedReaders_data()
{
    QTest::addColumn<TEditType>("type");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("reader");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("error");

    const auto n = TEditType::etNumber, i = TEditType::etInteger, f = TEditType::etFree;
    const QString none;
    QTest::newRow("double of empty is 0") << n << ""
                                          << "double" << QVariant(0.0) << none;
    QTest::newRow("double with a trailing point") << n << "12."
                                                  << "double" << QVariant(12.0) << none;
    QTest::newRow("double of a fraction") << n << "0.25"
                                          << "double" << QVariant(0.25) << none;
    QTest::newRow("double of a word") << f << "abc"
                                      << "double" << QVariant() << "\"abc\" 不是有效的数字.";
    QTest::newRow("double of infinity") << f << "inf"
                                        << "double" << QVariant() << "\"inf\" 不是有效的数字.";
    QTest::newRow("integer of empty is 0") << i << ""
                                           << "integer" << QVariant(0) << none;
    QTest::newRow("integer with leading zeros") << i << "007"
                                                << "integer" << QVariant(7) << none;
    QTest::newRow("integer of a fraction") << n << "1.5"
                                           << "integer" << QVariant() << "\"1.5\" 不是有效的整数.";
    QTest::newRow("integer too large")
        << i << "9999999999"
        << "integer" << QVariant() << "\"9999999999\" 不是有效的整数.";
    QTest::newRow("date of empty is null") << f << ""
                                           << "date" << QVariant() << none;
    QTest::newRow("date") << f << "2024-02-29"
                          << "date" << QVariant(QDateTime(QDate(2024, 2, 29), QTime(0, 0))) << none;
    QTest::newRow("date with short parts")
        << f << "2024-3-5"
        << "date" << QVariant(QDateTime(QDate(2024, 3, 5), QTime(0, 0))) << none;
    QTest::newRow("date drops the time")
        << f << "2024-03-05 08:30:00"
        << "date" << QVariant(QDateTime(QDate(2024, 3, 5), QTime(0, 0))) << none;
    QTest::newRow("month 13") << f << "2024-13-01"
                              << "date" << QVariant() << "\"2024-13-01\" 不是有效的日期.";
    QTest::newRow("no leap day") << f << "2023-02-29"
                                 << "date" << QVariant() << "\"2023-02-29\" 不是有效的日期.";
    QTest::newRow("date in another order")
        << f << "05/03/2024"
        << "date" << QVariant() << "\"05/03/2024\" 不是有效的日期.";
    QTest::newRow("date-time") << f << "2024-03-05 08:30:15"
                               << "datetime"
                               << QVariant(QDateTime(QDate(2024, 3, 5), QTime(8, 30, 15))) << none;
    QTest::newRow("date-time without seconds")
        << f << "2024-03-05 8:30"
        << "datetime" << QVariant(QDateTime(QDate(2024, 3, 5), QTime(8, 30))) << none;
    QTest::newRow("date-time at hour 24")
        << f << "2024-03-05 24:00:00"
        << "datetime" << QVariant() << "\"2024-03-05 24:00:00\" 不是有效的日期.";
    QTest::newRow("variant of empty is null") << n << ""
                                              << "variant" << QVariant() << none;
    QTest::newRow("variant of a number edit") << n << "2.5"
                                              << "variant" << QVariant(2.5) << none;
    QTest::newRow("variant of an integer edit") << i << "42"
                                                << "variant" << QVariant(42) << none;
    QTest::newRow("variant of a free edit") << f << "42"
                                            << "variant" << QVariant(QStringLiteral("42")) << none;
}

void tst_QmCtrls::typedReaders()
{
    QFETCH(TEditType, type);
    QFETCH(QString, text);
    QFETCH(QString, reader);
    QFETCH(QVariant, value);
    QFETCH(QString, error);

    TqmEdit edit;
    edit.SetEditType(type);
    edit.setText(text);
    try {
        QVariant got;
        if (reader == QLatin1String("double"))
            got = edit.AsDouble();
        else if (reader == QLatin1String("integer"))
            got = edit.AsInteger();
        else if (reader == QLatin1String("date"))
            got = edit.AsDate();
        else if (reader == QLatin1String("datetime"))
            got = edit.AsDateTime();
        else
            got = edit.AsVariant();
        QVERIFY2(error.isEmpty(), "expected an error");
        QCOMPARE(got.isNull(), value.isNull());
        QCOMPARE(got, value);
    } catch (const QmError &e) {
        QCOMPARE(e.message(), error);
    }
}

void tst_QmCtrls::typedWriters()
{
    TqmEdit edit;
    edit.setText(QStringLiteral("x"));
    edit.SetAsInteger(0);
    QCOMPARE(edit.text(), QString());
    edit.SetAsInteger(-12);
    QCOMPARE(edit.text(), QStringLiteral("-12"));
    edit.SetAsDouble(0);
    QCOMPARE(edit.text(), QString());
    edit.SetAsDouble(0.1 + 0.2);
    QCOMPARE(edit.text(), QStringLiteral("0.30000000000000004"));
    edit.SetAsDouble(1e20);
    QCOMPARE(edit.text(), QStringLiteral("100000000000000000000"));
    for (double v : {2.5, 1.0 / 3.0, 123456.789, 1e-7}) {
        edit.SetAsDouble(v);
        QCOMPARE(edit.AsDouble(), v);
    }

    const QDateTime moment(QDate(2024, 3, 5), QTime(13, 4, 5));
    edit.SetAsDate(moment);
    QCOMPARE(edit.text(), QStringLiteral("2024-03-05"));
    edit.SetAsDateTime(moment);
    QCOMPARE(edit.text(), QStringLiteral("2024-03-05 13:04:05"));
    QCOMPARE(edit.AsDateTime(), QVariant(moment));
    edit.SetAsDate(QVariant());
    QCOMPARE(edit.text(), QString());
    QVERIFY(edit.AsDate().isNull());
    edit.SetAsDate(QVariant(QDateTime()));
    QCOMPARE(edit.text(), QString());
    try {
        edit.SetAsDate(QStringLiteral("明天"));
        QFAIL("a text that is no date was taken");
    } catch (const QmError &e) {
        QCOMPARE(e.message(), QStringLiteral("\"明天\" 不是有效的日期."));
    }

    edit.SetEditType(TEditType::etInteger);
    edit.SetAsVariant(2.5);
    QCOMPARE(edit.text(), QStringLiteral("2"));
    edit.SetAsVariant(QVariant());
    QVERIFY(edit.AsVariant().isNull());
}

// A zero or a negative number is a value, not "nothing": through AsVariant
// it must come back as it went in, or saving the window changes the record.
void tst_QmCtrls::valuesTheRulesRefuseSurviveTheEdit()
{
    TqmEdit edit;
    edit.SetEditType(TEditType::etNumber);
    edit.SetAsVariant(0.0);
    QCOMPARE(edit.AsVariant(), QVariant(0.0));
    edit.SetAsVariant(-3.5);
    QCOMPARE(edit.text(), QStringLiteral("-3.5"));
    QCOMPARE(edit.AsVariant(), QVariant(-3.5));
    edit.SetEditType(TEditType::etInteger);
    edit.SetAsVariant(-7);
    QCOMPARE(edit.AsVariant(), QVariant(-7));
}

void tst_QmCtrls::focusColours()
{
    auto *edit = new TqmEdit;
    auto *readOnly = new TqmEdit;
    readOnly->setReadOnly(true);
    auto *parentColour = new TqmEdit;
    parentColour->SetParentColor(true);
    auto *combo = new TqmComboBox;
    combo->addItems({QStringLiteral("甲"), QStringLiteral("乙")});
    auto *memo = new TqmMemo;
    auto *readOnlyMemo = new TqmMemo;
    readOnlyMemo->setReadOnly(true);
    auto *picker = new TqmDateTimePicker;
    auto *plain = new QLineEdit;
    // The edit gives back the background it had, whatever that was.
    const QColor own(240, 240, 200);
    QmColors::SetBackground(edit, own);
    Form form{edit, readOnly, parentColour, combo, memo, readOnlyMemo, picker, plain};

    struct Case
    {
        QWidget *control;
        QColor focused;
        QColor left;
    } cases[] = {
        {edit, QmColors::Aqua, own},
        {readOnly, QmColors::Yellow, QmColors::Background(readOnly)},
        {parentColour, QmColors::Background(parentColour), QmColors::Background(parentColour)},
        {combo, QmColors::Aqua, QmColors::White},
        {memo, QmColors::Aqua, QmColors::White},
        {readOnlyMemo, QmColors::Yellow, QmColors::White},
        {picker, QmColors::Aqua, QmColors::White},
    };
    for (const Case &c : cases) {
        c.control->setFocus(Qt::TabFocusReason);
        QVERIFY(c.control->hasFocus());
        QCOMPARE(QmColors::Background(c.control), c.focused);
        // A second focus-in must not take the focus colour for the own one.
        QFocusEvent again(QEvent::FocusIn, Qt::OtherFocusReason);
        QApplication::sendEvent(c.control, &again);
        plain->setFocus(Qt::TabFocusReason);
        QCOMPARE(QmColors::Background(c.control), c.left);
    }
}

void tst_QmCtrls::enterMovesFocus()
{
    QDialog dialog;
    auto *first = new TqmEdit;
    auto *second = new TqmEdit;
    auto *combo = new TqmComboBox;
    combo->setEditable(true);
    auto *last = new TqmEdit;
    last->SetTabOnEnter(false);
    auto *ok = new QPushButton(QStringLiteral("确定"));
    ok->setDefault(true);
    auto *layout = new QVBoxLayout(&dialog);
    for (QWidget *w : {static_cast<QWidget *>(first), static_cast<QWidget *>(second),
             static_cast<QWidget *>(combo), static_cast<QWidget *>(last),
             static_cast<QWidget *>(ok)})
        layout->addWidget(w);
    QSignalSpy accepted(&dialog, &QDialog::accepted);
    dialog.show();
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));

    first->setFocus();
    QTest::keyClick(first, Qt::Key_Return);
    QVERIFY(second->hasFocus());
    QTest::keyClick(second, Qt::Key_Enter, Qt::KeypadModifier);
    QVERIFY(combo->hasFocus());
    QTest::keyClicks(combo, QStringLiteral("abc"));
    QTest::keyClick(combo, Qt::Key_Return);
    QVERIFY(last->hasFocus());
    QCOMPARE(combo->count(), 0); // Enter does not add the typed text as an item
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Return, Qt::ShiftModifier);
    QVERIFY(second->hasFocus());
    // Enter moved the focus; it did not also press the default button.
    QCOMPARE(accepted.count(), 0);

    // Without TabOnEnter the key is the edit's own again.
    last->setFocus();
    QSignalSpy returned(last, &QLineEdit::returnPressed);
    QTest::keyClick(last, Qt::Key_Return);
    QCOMPARE(returned.count(), 1);
    QVERIFY(last->hasFocus());
}

void tst_QmCtrls::comboBox()
{
    auto *list = new TqmComboBox;
    list->addItems({QStringLiteral("男"), QStringLiteral("女")});
    auto *editable = new TqmComboBox;
    editable->setEditable(true);
    editable->addItems({QStringLiteral("Beijing"), QStringLiteral("Shanghai")});
    Form form{list, editable};
    QVERIFY(editable->completer() == nullptr);

    list->setCurrentIndex(1);
    list->setFocus();
    QSignalSpy changed(list, &QComboBox::currentIndexChanged);
    QTest::keyClick(list, Qt::Key_Delete);
    QCOMPARE(list->currentIndex(), -1);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.first().first().toInt(), -1);

    // In an editable box Delete edits the text; completion does not fill in.
    editable->setFocus();
    QVERIFY(editable->completer() == nullptr);
    editable->setEditText(QString());
    QTest::keyClicks(editable, QStringLiteral("B"));
    QCOMPARE(editable->currentText(), QStringLiteral("B"));
    QTest::keyClick(editable, Qt::Key_Home);
    QTest::keyClick(editable, Qt::Key_Delete);
    QCOMPARE(editable->currentText(), QString());
}

void tst_QmCtrls::datePickerNullDate()
{
    const QDate today = QDate::currentDate();
    TqmDateTimePicker withBox;
    withBox.SetShowCheckbox(true);
    QVERIFY(!withBox.Checked());
    QVERIFY(withBox.AsDate().isNull());
    QVERIFY(withBox.AsDateTime().isNull());
    QVERIFY(withBox.AsTime().isNull());
    QVERIFY(qAbs(withBox.date().daysTo(today)) <= 1);

    const QDateTime moment(QDate(2012, 1, 30), QTime(9, 15, 0));
    withBox.SetAsDate(moment);
    QVERIFY(withBox.Checked());
    QCOMPARE(withBox.AsDate(), QVariant(QDateTime(QDate(2012, 1, 30), QTime(0, 0))));
    QCOMPARE(withBox.text(), QStringLiteral("2012-01-30"));

    withBox.SetAsTime(QTime(9, 15));
    QCOMPARE(withBox.AsDateTime(), QVariant(moment));
    QCOMPARE(withBox.AsTime(), QVariant(QTime(9, 15)));

    // No date in: unticked, and the picker shows today again.
    withBox.SetAsDate(QVariant());
    QVERIFY(!withBox.Checked());
    QVERIFY(withBox.AsDate().isNull());
    QVERIFY(qAbs(withBox.date().daysTo(today)) <= 1);

    withBox.SetAsDateTime(moment);
    QCOMPARE(withBox.AsDateTime(), QVariant(moment));
    withBox.SetAsTime(QVariant());
    QVERIFY(withBox.AsDateTime().isNull());
    withBox.SetAsDateTime(moment);
    withBox.Clear();
    QVERIFY(withBox.AsDate().isNull());

    try {
        withBox.SetAsDate(QStringLiteral("2024-13-01"));
        QFAIL("an impossible date was taken");
    } catch (const QmError &e) {
        QCOMPARE(e.message(), QStringLiteral("\"2024-13-01\" 不是有效的日期."));
    }

    // Without a check box there is always a date.
    TqmDateTimePicker withoutBox;
    QVERIFY(!withoutBox.AsDate().isNull());
    withoutBox.SetAsDate(moment);
    withoutBox.SetAsDate(QVariant());
    QCOMPARE(withoutBox.AsDate(), QVariant(today.startOfDay()));
    withoutBox.SetAsDate(moment);
    withoutBox.SetAsTime(QVariant());
    QCOMPARE(withoutBox.date(), today);
}

void tst_QmCtrls::datePickerUserActionsTickTheBox()
{
    auto *picker = new TqmDateTimePicker;
    picker->SetShowCheckbox(true);
    auto *other = new QLineEdit;
    Form form{picker, other};
    QSignalSpy ticked(picker, &TqmDateTimePicker::checkedChanged);

    QCheckBox *box = picker->CheckBox();
    QVERIFY(box->isVisible());
    QTest::mouseClick(box, Qt::LeftButton);
    QVERIFY(picker->Checked());
    QCOMPARE(picker->AsDate(), QVariant(picker->date().startOfDay()));
    QTest::mouseClick(box, Qt::LeftButton);
    QVERIFY(picker->AsDate().isNull());

    // Stepping the date of an unticked picker gives it that date.
    picker->setFocus();
    const QDate shown = picker->date();
    picker->setCurrentSection(QDateTimeEdit::DaySection);
    QTest::keyClick(picker, Qt::Key_Up);
    QVERIFY(picker->Checked());
    QCOMPARE(picker->AsDate(), QVariant(shown.addDays(1).startOfDay()));

    QTest::keyClick(picker, Qt::Key_Space);
    QVERIFY(!picker->Checked());
    QCOMPARE(ticked.count(), 4);

    picker->setReadOnly(true);
    QVERIFY(!box->isEnabled());
    QTest::keyClick(picker, Qt::Key_Space);
    QVERIFY(!picker->Checked());
}

void tst_QmCtrls::popupMenuItems()
{
    TqmPopupMenu menu;
    QAction shared(QStringLiteral("导出"));
    QObject *heard = nullptr;
    int calls = 0;
    QObject sender;

    menu.AddCommandItem(
        QStringLiteral("b"), false,
        [&](QObject *s) {
            heard = s;
            ++calls;
        },
        &sender);
    menu.AddCommandItem(QStringLiteral("a"), true, [](QObject *) {});
    menu.AddActionItem(&shared, 1);
    menu.AddSeparator(-1);
    auto *sub = new TqmMenuItem(QStringLiteral("子菜单"), &menu);
    menu.addMenu(sub);
    sub->AddActionItem(&shared);
    sub->AddSeparator();
    menu.AddSeparator(0, sub);

    QStringList texts;
    for (QAction *a : menu.actions())
        texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
    QCOMPARE(texts, (QStringList{"a", "导出", "b", "-", "子菜单"}));
    QCOMPARE(sub->actions().size(), 3);
    QVERIFY(sub->actions().first()->isSeparator());

    menu.actions().at(2)->trigger();
    QCOMPARE(calls, 1);
    QCOMPARE(heard, &sender);

    QPointer<QAction> made = menu.actions().at(0);
    QPointer<TqmMenuItem> guardedSub = sub;
    menu.ClearItems();
    QVERIFY(menu.actions().isEmpty());
    QVERIFY(made.isNull());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(guardedSub.isNull());
    // The bound action belongs to its window and survives.
    QCOMPARE(shared.text(), QStringLiteral("导出"));
}

void tst_QmCtrls::picturesFromBytes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("format");
    QTest::addColumn<bool>("decodes");

    const QByteArray png = encode(sample(), "PNG");
    QTest::newRow("png") << png << "png" << true;
    QTest::newRow("bmp") << encode(sample(), "BMP") << "bmp" << true;
    QTest::newRow("jpeg") << encode(sample(), "JPEG") << "jpg" << true;
    // Qt reads GIF but does not write it: a 1 x 1 picture made by hand.
    const QByteArray gif
        = QByteArray::fromHex("47494638396101000100800000FFFFFF00000021F90401000000002C00000000"
                              "010001000002024401003B");
    QTest::newRow("gif") << gif << "gif" << true;
    QTest::newRow("icon") << encode(sample(32, 32), "ICO") << "ico" << true;
    QTest::newRow("garbage") << QByteArray("not a picture at all, just text") << "" << false;
    QTest::newRow("cut-off png") << png.left(40) << "png" << false;
    QTest::newRow("bytes with a zero") << QByteArray("\x00\x01\x02\xFF", 4) << "" << false;
    QTest::newRow("empty") << QByteArray() << "" << false;
}

// A picture that cannot be shown gets the icon on screen, but its bytes stay
// exactly as they came, so storing the tile's picture again keeps them.
void tst_QmCtrls::picturesFromBytes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, format);
    QFETCH(bool, decodes);

    QCOMPARE(QmPicture::Format(bytes), format);
    QCOMPARE(!QmPicture::Decode(bytes).isNull(), decodes);

    TqmImageBox box;
    TqmPhoto *photo = box.AddPhoto(bytes, QStringLiteral("身份证"), 7, QStringLiteral(".jpg"));
    QCOMPARE(photo->PictureDecoded(), decodes);
    QVERIFY(!photo->Image()->pixmap().isNull());
    QCOMPARE(photo->Picture(), bytes);
    QCOMPARE(photo->Caption(), QStringLiteral("身份证"));
    QCOMPARE(photo->Tag(), QVariant(7));
    QCOMPARE(photo->Ext(), QStringLiteral(".jpg"));
    if (decodes)
        QCOMPARE(photo->Image()->pixmap().size(), QmPicture::Decode(bytes).size());
}

void tst_QmCtrls::photoFitsPictureIntoFrame_data()
{
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QRect>("shown");
    // In the 120 x 100 frame there is room for 104 x 84.
    QTest::newRow("exactly the room") << QSize(104, 84) << QRect(8, 8, 104, 84);
    QTest::newRow("wide") << QSize(400, 100) << QRect(8, 37, 104, 26);
    QTest::newRow("slightly wider than the room stays inside")
        << QSize(150, 100) << QRect(8, 16, 104, 69);
    QTest::newRow("tall") << QSize(50, 200) << QRect(50, 8, 21, 84);
    QTest::newRow("small is enlarged") << QSize(10, 10) << QRect(18, 8, 84, 84);
}

void tst_QmCtrls::photoFitsPictureIntoFrame()
{
    QFETCH(QSize, picture);
    QFETCH(QRect, shown);
    TqmPhoto photo;
    photo.SetPicture(encode(sample(picture.width(), picture.height()), "PNG"));
    QCOMPARE(photo.Image()->geometry(), shown);
    QVERIFY(photo.Image()->hasScaledContents());
    QVERIFY(photo.Frame()->geometry().contains(photo.Image()->geometry()));

    // A wider frame refits the picture and the caption strip follows it.
    photo.SetWidth(200);
    QCOMPARE(photo.Frame()->width(), 200);
    QCOMPARE(photo.CaptionLabel()->geometry(), QRect(1, 99, 198, TqmPhoto::CaptionHeight));
    QVERIFY(photo.Frame()->geometry().contains(photo.Image()->geometry()));
}

void tst_QmCtrls::imageFitsParent()
{
    QWidget parent;
    parent.resize(200, 100);
    auto *image = new TqmImage(&parent);
    image->setPixmap(QPixmap::fromImage(sample(400, 100)));
    image->FitToParent();
    QCOMPARE(image->geometry(), QRect(2, 2, 190, 40));
    image->setPixmap(QPixmap::fromImage(sample(100, 100)));
    image->FitToParent();
    QCOMPARE(image->geometry(), QRect(2, 2, 90, 90));
    QVERIFY(image->Stretch());
}

void tst_QmCtrls::imageBoxTilesAndSelection()
{
    auto *box = new TqmImageBox;
    box->setMinimumSize(600, 200);
    Form form{box};
    QSignalSpy changed(box, &TqmImageBox::changed);
    const QByteArray png = encode(sample(), "PNG");
    QList<TqmPhoto *> tiles;
    for (int i = 0; i < 3; ++i)
        tiles << box->AddPhoto(png, QString::number(i), i);
    QVERIFY(!tiles[0]->isVisible());
    box->LayoutTiles();
    QCOMPARE(tiles[0]->Left(), 10);
    QCOMPARE(tiles[1]->Left(), 150);
    QCOMPARE(tiles[2]->Left(), 290);
    for (TqmPhoto *tile : tiles) {
        QCOMPARE(tile->Top(), 10);
        QVERIFY(tile->isVisible());
    }
    QVERIFY(box->SelectedPhoto() == nullptr);

    changed.clear();
    QTest::mousePress(tiles[1], Qt::LeftButton, {}, QPoint(60, 50));
    QCOMPARE(box->SelectedPhoto(), tiles[1]);
    QCOMPARE(changed.count(), 1);
    // Pressing the selected tile again changes nothing.
    QTest::mousePress(tiles[1], Qt::LeftButton, {}, QPoint(60, 50));
    QCOMPARE(changed.count(), 1);

    box->TileMenu()->addAction(QStringLiteral("重命名"));
    QTest::mousePress(tiles[2], Qt::RightButton, {}, QPoint(30, 30));
    QCOMPARE(box->SelectedPhoto(), tiles[2]);
    QVERIFY(!tiles[1]->Selected());
    QVERIFY(box->TileMenu()->isVisible());
    QCOMPARE(box->TileMenu()->pos(), tiles[2]->mapToGlobal(QPoint(40, 45)));
    box->TileMenu()->hide();

    QSignalSpy opened(box, &TqmImageBox::photoDoubleClicked);
    QTest::mouseDClick(tiles[0], Qt::LeftButton, {}, QPoint(60, 50));
    QCOMPARE(opened.count(), 1);
    QCOMPARE(opened.first().first().value<TqmPhoto *>(), tiles[0]);

    changed.clear();
    QTest::mousePress(box->Content(), Qt::LeftButton, {}, QPoint(500, 150));
    QVERIFY(box->SelectedPhoto() == nullptr);
    QCOMPARE(changed.count(), 1);

    box->SelectAll(true);
    QCOMPARE(box->SelectedPhoto(), tiles[0]);
    QVERIFY(tiles[2]->Selected());
}

void tst_QmCtrls::imageBoxRemoveAndClear()
{
    TqmImageBox box;
    const QByteArray png = encode(sample(), "PNG");
    QList<QPointer<TqmPhoto>> tiles;
    for (int i = 0; i < 3; ++i)
        tiles << box.AddPhoto(png, QString::number(i));
    box.LayoutTiles();
    QSignalSpy changed(&box, &TqmImageBox::changed);

    QVERIFY(box.RemovePhoto(tiles[1]));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(box.Count(), 2);
    QCOMPARE(tiles[2]->Left(), 150);
    QVERIFY(!box.RemovePhoto(tiles[1]));
    TqmPhoto stranger;
    QVERIFY(!box.RemovePhoto(&stranger));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(tiles[1].isNull());

    box.Clear();
    QCOMPARE(box.Count(), 0);
    QCOMPARE(changed.count(), 2);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(tiles[0].isNull() && tiles[2].isNull());
}

QTEST_MAIN(tst_QmCtrls)
#include "tst_qmctrls.moc"
