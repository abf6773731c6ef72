#pragma once

#include "document/PrintPreviewDialog.h"

#include <QTextDocument>

// Shows a saved document page by page as it will print, and prints it.
class DocumentPreviewDialog : public PrintPreviewDialog
{
    Q_OBJECT
    QTextDocument m_document;

public:
    explicit DocumentPreviewDialog(QWidget *parent = nullptr);

    // Reads the file (native when its name holds ".rvf" in any case, RTF otherwise) and
    // shows its first page; false only when there is no such file.
    bool loadFile(const QString &fileName);

protected:
    void layOutPages() override;
    void paintPages(QPrinter *printer) override;
};

// The modal preview of a document file; opens nothing when the file does not exist.
void previewDocument(const QString &fileName);
