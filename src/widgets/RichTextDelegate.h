#pragma once

#include <QStyledItemDelegate>

// Draws an item's short HTML (bold and colour only, one line) where the item has some in
// `kHtmlRole`, and the plain text otherwise; the plain text stays in the display role for
// copying and for screen readers.
class RichTextDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    static constexpr int kHtmlRole = Qt::UserRole + 100;

    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};
