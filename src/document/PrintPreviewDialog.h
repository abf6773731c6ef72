#pragma once

#include <QDialog>
#include <QPrinter>

class QComboBox;
class QLabel;
class QPrintPreviewWidget;
class QPushButton;

// A window that shows pages as they will print: a zoom list, page buttons, "打印" and
// "关闭" over Qt's preview. Subclasses say how the pages are laid out and painted.
class PrintPreviewDialog : public QDialog
{
    Q_OBJECT
protected:
    // Declared before the controls: the preview area is built over the print job.
    QPrinter m_printer;

public:
    explicit PrintPreviewDialog(QWidget *parent = nullptr);
    ~PrintPreviewDialog() override;

    // Nothing to print has no pages: it previews as an empty area and shows "0 / 0".
    int pageCount() const;
    int currentPage() const;

    // Applies the zoom list's text: a fitting mode or a percentage from 10 to 500.
    void applyZoom();
    // Prints one copy; without any printer, into a PDF file the user names.
    void print();

    QComboBox *m_zoomCombo;
    QPushButton *m_firstPageButton;
    QPushButton *m_previousPageButton;
    QPushButton *m_nextPageButton;
    QPushButton *m_lastPageButton;
    QLabel *m_pageLabel;
    QPushButton *m_printButton;
    QPushButton *m_closeButton;
    QPrintPreviewWidget *m_preview;

protected:
    // Sets the page up on m_printer before every preview and print.
    virtual void layOutPages() = 0;
    // Paints every page on the printer; nothing at all when there is nothing to print.
    virtual void paintPages(QPrinter *printer) = 0;
    // Lays the pages out again and shows the first.
    void showFirstPage();

private:
    void goToPage(int page);
    void showPagePosition();
};
