#pragma once

#include <QDialog>
#include <QPoint>
#include <QRect>
#include <QSize>

class QAction;
class QLabel;
class QListWidget;
class QPushButton;
class QToolBar;
class TRep;

// The catalogue window "打印": the templates of one report group by title,
// preview of the chosen one, and (with the design right) adding, renaming,
// deleting and designing templates. The host (Reper) is the caller's and
// must outlive the window.
class TReporterFrm : public QDialog
{
    Q_OBJECT
public:
    explicit TReporterFrm(QWidget *parent = nullptr);

    int GroupId() const { return m_groupId; }
    // Stores the group and fills the list.
    void SetGroupId(int group);
    TRep *Reper() const { return m_reper; }
    void SetReper(TRep *reper) { m_reper = reper; }
    // Enables or disables the four tool bar buttons together.
    void SetCanDesign(bool can);

    void ReloadList();
    // False (after telling the user) when no entry is selected.
    bool SelectedReport(QString *title, int *id);

    // Where the window goes for a mouse pointer at cursor on screen.
    static QPoint PlacementFor(const QPoint &cursor, const QSize &size, const QRect &screen);

    QLabel *Label1;
    QListWidget *ListBox1;
    QPushButton *Button4;
    QToolBar *ToolBar1;
    QAction *tbNew1;
    QAction *tbDelete1;
    QAction *tbRename1;
    QAction *tbDesign1;

public slots:
    void Button4Click();
    void Button3Click();
    void Button1Click();
    void Button5Click();
    void Button2Click();

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    int m_groupId = 0;
    TRep *m_reper = nullptr;
    bool m_placed = false;
};
