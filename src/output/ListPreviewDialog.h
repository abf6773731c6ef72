#pragma once

#include "document/PrintPreviewDialog.h"
#include "output/GridPrint.h"

class DataGrid;

// The print preview of a list, page by page as it prints.
class ListPreviewDialog : public PrintPreviewDialog
{
    Q_OBJECT
public:
    explicit ListPreviewDialog(QWidget *parent = nullptr);

    // Takes the title, the grid's columns and the rows of its result set.
    void loadList(const QString &title, const DataGrid &grid);
    const GridPrintData &data() const { return m_data; }

protected:
    void layOutPages() override;
    void paintPages(QPrinter *printer) override;

private:
    GridPrintData m_data;
};

// Shows the modal print preview of what the list shows.
void previewList(const QString &title, const DataGrid &grid);
