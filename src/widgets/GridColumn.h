#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

// One column of a list: which field it shows and how. Exports and printouts read the same
// definitions, so a list prints and exports what it shows.
struct GridColumn {
    QString field = {};
    QString title = {};
    int width = 0;                  // pixels; 0 fits the title
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    bool visible = true;
    QString dateFormat = {};        // the value is a stored date shown in this format; empty dates blank
    int decimals = -1;              // 0 or more: a number shown with that many decimals
    QStringList keys = {};          // a stored value found here is shown as the pick at the same place
    QStringList picks = {};
    // The footer row under the rows, where a list has one: a fixed text (centred), or the sum
    // of the column's values over the rows shown, with `footerDecimals` decimals.
    enum class Footer { None, Text, Sum };
    Footer footer = Footer::None;
    QString footerText = {};
    int footerDecimals = 2;
};

// The text a column shows for a stored value.
QString displayText(const GridColumn &column, const QVariant &value);
