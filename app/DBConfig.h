#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QStackedWidget;
class TConfiger;

// The connection dialog, shown whenever connecting fails: one page of
// parameters per way of reaching the database. OK copies the controls into
// the configuration and saves it, and closes only when both succeeded, so the
// next attempt always runs with what the user sees. The configuration is the
// caller's and must outlive the dialog.
class TDBConfigFrm : public QDialog
{
    Q_OBJECT
public:
    explicit TDBConfigFrm(TConfiger &configer, QWidget *parent = nullptr);

    // Fills every control from the configuration.
    void LoadControls();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void ComboBox1Change(int index);
    void jetDefaultCheckBox1Click();
    void jetFileButton1Click();
    void Button1Click();

    TConfiger &m_configer;
    QComboBox *ComboBox1;
    QStackedWidget *Notebook1;
    QLineEdit *mssqlServerEdit1;
    QLineEdit *mssqlPortEdit1;
    QLineEdit *mssqlDbEdit1;
    QLineEdit *mssqlUserEdit1;
    QLineEdit *mssqlPwEdit1;
    QLineEdit *jetfileEdit1;
    QPushButton *jetFileButton1;
    QCheckBox *jetDefaultCheckBox1;
    QLineEdit *edtVizUrl1;
    QLineEdit *edtVizUser1;
    QPushButton *Button1;
    QPushButton *Button2;
};
