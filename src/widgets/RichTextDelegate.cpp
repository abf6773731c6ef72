#include "widgets/RichTextDelegate.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QPainter>
#include <QTextDocument>

namespace {

void prepare(QTextDocument &document, const QStyleOptionViewItem &option, const QString &html)
{
    document.setDefaultFont(option.font);
    document.setDocumentMargin(2);
    document.setHtml(html);
}

} // namespace

void RichTextDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const QString html = index.data(kHtmlRole).toString();
    if (html.isEmpty()) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    item.text.clear();
    const QStyle *style = item.widget ? item.widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &item, painter, item.widget);

    QTextDocument document;
    prepare(document, item, html);
    const QRect textRect = style->subElementRect(QStyle::SE_ItemViewItemText, &item, item.widget);
    QAbstractTextDocumentLayout::PaintContext context;
    const bool selected = item.state & QStyle::State_Selected;
    context.palette.setColor(QPalette::Text, item.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    painter->save();
    painter->translate(textRect.left(), textRect.top() + (textRect.height() - document.size().height()) / 2);
    painter->setClipRect(textRect.translated(-textRect.topLeft()));
    document.documentLayout()->draw(painter, context);
    painter->restore();
}

QSize RichTextDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const QString html = index.data(kHtmlRole).toString();
    if (html.isEmpty())
        return QStyledItemDelegate::sizeHint(option, index);
    QTextDocument document;
    prepare(document, option, html);
    const QSize plain = QStyledItemDelegate::sizeHint(option, index);
    return {int(document.idealWidth()) + 8, std::max(plain.height(), int(document.size().height()))};
}
