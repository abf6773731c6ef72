#pragma once

#include <QDialog>
#include <QPrinter>
#include <QTextDocument>

class QComboBox;
class QLabel;
class QPrintPreviewWidget;
class QPushButton;

// Shows a saved document page by page as it will print, and prints it.
class TfrmPreviewDocExd : public QDialog
{
    Q_OBJECT
    // Declared before the controls: the preview area is built over the print job.
    QPrinter m_printer;
    QTextDocument m_document;

public:
    explicit TfrmPreviewDocExd(QWidget *parent = nullptr);
    ~TfrmPreviewDocExd() override;

    // Reads the file (native when its name holds ".rvf" in any case, RTF otherwise) and
    // shows its first page; false only when there is no such file.
    bool loadFile(const QString &fileName);

    // An empty document has no pages: it previews as an empty area and shows "0 / 0".
    int pageCount() const;
    int currentPage() const;

    // Applies the zoom list's text: a fitting mode or a percentage from 10 to 500.
    void applyZoom();
    // Prints one copy; without any printer, into a PDF file the user names.
    void print();

    QComboBox *cmb;
    QPushButton *Button1;
    QPushButton *Button2;
    QPushButton *Button3;
    QPushButton *Button4;
    QLabel *Label1;
    QPushButton *Button5;
    QPushButton *Button6;
    QPrintPreviewWidget *preview;

private:
    void layOutPages();
    void goToPage(int page);
    void showPagePosition();
};

// The modal preview of a document file; opens nothing when the file does not exist.
void ShowDocPreview(const QString &fileName);
