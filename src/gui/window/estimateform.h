#pragma once

#include "core/sheet/headerfields.h"
#include "core/sheet/twips.h"

#include <QWidget>

#include <array>

class CellEditor;
class Document;
class GridView;
class HelpTips;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

// The main window's client area as it was designed, in twips: the owner's name and the
// property address in the "Location" frame, the builder in the "Builder" frame, the logo,
// the sheet with its cell editor and tab trap, and the tip box. It keeps the header fields
// and the document's header texts the same, and gives the grid the window's size.
class EstimateForm : public QWidget
{
    Q_OBJECT

public:
    // The client area's design size, the toolbar along its top edge included.
    static constexpr int DesignWidth = 9885;
    static constexpr int DesignHeight = 7950;
    static constexpr int DesignToolBarHeight = 420;

    explicit EstimateForm(Document &document, QWidget *parent = nullptr);

    // The grid's natural row height for the sheet's font, which the sheet is built with.
    static int naturalRowHeight();

    GridView *grid() const { return grdMain; }
    CellEditor &cellEditor() const { return *m_cellEditor; }
    // The text boxes and the grid, which take the menus' shortcuts before their own.
    QList<QWidget *> textControls() const;
    // The controls with the menu of editing commands: the sheet, its editor and the header
    // fields.
    QList<QWidget *> editingControls() const;
    // Hands on the change typed into the header field that has the focus, as leaving it does.
    void finishHeaderEdit();
    // F1: the current cell's advice beside it; false when it has none.
    bool showAdvice();

    // The layout rule, for the window's outer size, frame and menu bar included: the grid
    // takes what the header fields and the lines below the form leave, each dimension only
    // above 3000 twips.
    void fitGridToWindow(const QSize &outerPixels, int pixelsBelow);
    // The window's outer size that shows the whole sheet with its header fields.
    QSize outerSizeForWholeSheet(int pixelsBelow) const;

    // Draws the form, its fonts, its controls and their places, larger by factor.
    void setZoom(qreal factor);
    // How the design's twips become the form's pixels: every size and place of the form
    // and its sheet goes through it.
    Twips::Scale scale() const { return Twips::Scale::of(*this).zoomed(m_zoom); }

signals:
    void resized();
    // A header field was left, or finished, holding another text than when it was entered.
    void headerEdited(HeaderFields::Field field, const QString &before, const QString &after, const QString &fieldName);

private:
    void createControls();
    void createBuilderFrame();
    void createLocationFrame();
    void placeControls();
    void setTabOrder();
    void describeControls();
    void bindHeaderFields();
    void showHeaderText(HeaderFields::Field field);
    QWidget *headerBox(HeaderFields::Field field) const;
    void finishHeaderEdit(HeaderFields::Field field);
    void place(QWidget *widget, int left, int top, int width, int height) const;
    void placeInClient(QWidget *widget, int left, int top, int width, int height) const;

    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool focusNextPrevChild(bool next) override;

    Document &m_document;
    QLabel *lblLogo = nullptr;
    QLineEdit *txtTemp = nullptr;
    QGroupBox *fraBuilder = nullptr;
    QLineEdit *txtBuilder = nullptr;
    GridView *grdMain = nullptr;
    QGroupBox *fraLocation = nullptr;
    QLineEdit *txtName = nullptr;
    QPlainTextEdit *txtAddress = nullptr;
    QLineEdit *txtCell = nullptr;
    QPlainTextEdit *txtHelp = nullptr;
    CellEditor *m_cellEditor = nullptr;
    HelpTips *m_helpTips = nullptr;
    QLabel *lblBuilder = nullptr;
    QLabel *lblName = nullptr;
    QLabel *lblAddress = nullptr;
    qreal m_zoom = 1;
    // What each header field held when it was entered, or last finished.
    std::array<QString, 3> m_headerTextsEntered;
};
