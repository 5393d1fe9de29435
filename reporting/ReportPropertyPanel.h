#pragma once

#include <QWidget>
#include <functional>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QStackedWidget;
class ReportData;
class ReportTemplate;

// The designer's property editor: the page setup when nothing is selected,
// a band's settings, or an object's position, text, font, frame and picture.
// Every edit goes straight into the template and is announced by changed().
class ReportPropertyPanel : public QWidget
{
    Q_OBJECT
public:
    ReportPropertyPanel(ReportTemplate &report, const ReportData &data, QWidget *parent = nullptr);

    // Shows the properties of object (band -1: the page; object -1: the band).
    void ShowFor(int band, int object);
    // Puts the focus into the text of the object shown.
    void FocusText();
    // Keeps the picture file's bytes in the image object shown; false when
    // it cannot be read (the user is told).
    bool EmbedImageFile(const QString &path);

    // The file-open dialog of "嵌入图片..."; returns the chosen path or an
    // empty text. Replaceable for tests (nullptr restores the dialog).
    using ImageFileAsker = std::function<QString(QWidget *parent)>;
    static ImageFileAsker SetImageFileAsker(ImageFileAsker asker);

    // Page
    QLineEdit *NameEdit1;
    QComboBox *PaperBox1;
    QDoubleSpinBox *PaperWidth1;
    QDoubleSpinBox *PaperHeight1;
    QComboBox *OrientationBox1;
    QDoubleSpinBox *MarginLeft1;
    QDoubleSpinBox *MarginTop1;
    QDoubleSpinBox *MarginRight1;
    QDoubleSpinBox *MarginBottom1;
    QComboBox *FontFamilyBox1;
    QDoubleSpinBox *FontSize1;
    // Band
    QLabel *BandType1;
    QDoubleSpinBox *BandHeight1;
    QComboBox *DataSetBox1;
    QLineEdit *KeyFieldEdit1;
    QLineEdit *MasterFieldEdit1;
    QLineEdit *ConditionEdit1;
    QCheckBox *NewPageCheck1;
    QCheckBox *RepeatCheck1;
    QCheckBox *FirstPageCheck1;
    // Object
    QLabel *ObjectType1;
    QDoubleSpinBox *LeftEdit1;
    QDoubleSpinBox *TopEdit1;
    QDoubleSpinBox *WidthEdit1;
    QDoubleSpinBox *HeightEdit1;
    QPlainTextEdit *TextEdit1;
    QDoubleSpinBox *ObjectFontSize1;
    QCheckBox *BoldCheck1;
    QCheckBox *ItalicCheck1;
    QCheckBox *UnderlineCheck1;
    QComboBox *AlignBox1;
    QComboBox *VAlignBox1;
    QCheckBox *WrapCheck1;
    QCheckBox *GrowCheck1;
    QCheckBox *FrameLeft1;
    QCheckBox *FrameTop1;
    QCheckBox *FrameRight1;
    QCheckBox *FrameBottom1;
    QDoubleSpinBox *LineWidth1;
    QLineEdit *ColorEdit1;
    QLineEdit *FillEdit1;
    QComboBox *ImageFieldBox1;
    QLineEdit *ImageFileEdit1;
    QPushButton *ImageEmbedBtn1;
    QCheckBox *KeepAspectCheck1;

signals:
    void changed();

private:
    void buildPage(QWidget *page);
    void buildBand(QWidget *page);
    void buildObject(QWidget *page);
    void load();
    void apply();
    void embedImage();

    ReportTemplate &m_report;
    const ReportData &m_data;
    QStackedWidget *m_stack;
    QFormLayout *m_objectForm = nullptr;
    int m_band = -1;
    int m_object = -1;
    bool m_loading = false;
};
