#pragma once

#include "document/PrintPreviewDialog.h"

#include <QChartView>
#include <QColor>
#include <QImage>

class QMenu;

// The charts' colours: Okabe and Ito's palette, which reads for the common kinds of colour
// blindness, picked so that each chart's colours also differ in lightness for a greyscale
// print. Bars carry a dark outline, so the light ones stand out from white paper.
namespace chartcolors {
inline const QColor blue{0x00, 0x72, 0xB2};
inline const QColor green{0x00, 0x9E, 0x73};
inline const QColor orange{0xE6, 0x9F, 0x00};
inline const QColor lightGrey{0xD0, 0xD0, 0xD0};
inline const QColor outline{0x33, 0x33, 0x33};
} // namespace chartcolors

class ChartView;
class QAbstractBarSeries;
class QBarSet;

// A bar set of one colour, outlined.
QBarSet *coloredBarSet(const QString &name, const QColor &color, const QList<qreal> &values);

// A chart of bars over `categories` (beside the bars of a horizontal series, beneath the
// others, with `categoryTitle` when given) against a value axis from zero in four round steps;
// `whole` counts things, so its steps are whole numbers. It has the program's look: the
// Chinese font for labels and legend, a white background, no animation. Labels may hold
// simple HTML (<br>, <small>). Its title is the view's, kept off the screen to leave the
// bars their room.
QChart *barChart(QAbstractBarSeries *series, const QStringList &categories, bool whole,
                 const QString &categoryTitle = {});

// Lays a panel of charts out: a row of `controls` above `view`, `trailing` at the row's end.
void layOutChartPanel(QWidget &panel, const QList<QWidget *> &controls, ChartView &view,
                      const QList<QWidget *> &trailing = {});

// A chart on screen, with a right-click menu that copies it as a picture, saves it as a PNG
// picture and prints it, each with the chart's title and the day it was made.
class ChartView : public QChartView
{
    Q_OBJECT
public:
    explicit ChartView(QWidget *parent = nullptr);

    // Shows `chart` under `title`, owned from now on; the chart shown before is deleted.
    void showChart(QChart *chart, const QString &title);
    QString title() const { return m_title; }

    // "制表日期：yyyy-MM-dd", for today.
    static QString dateLine();
    // The chart as the menu hands it on: the title above the chart as shown, the date line
    // beneath, at twice the pixels.
    QImage picture() const;
    // Paints that picture into `target`, scaled to fit.
    void paintPicture(QPainter &painter, const QRectF &target) const;

    void copyPicture();
    void savePicture();
    void printPicture();

    QMenu *m_menu;

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    QSizeF pictureSize() const;

    QString m_title;
};

// The print preview of one chart on one page.
class ChartPreviewDialog : public PrintPreviewDialog
{
    Q_OBJECT
public:
    explicit ChartPreviewDialog(const ChartView &view, QWidget *parent = nullptr);

protected:
    void layOutPages() override;
    void paintPages(QPrinter *printer) override;

private:
    const ChartView &m_view;
};
