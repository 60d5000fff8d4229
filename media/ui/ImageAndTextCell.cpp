#include "media/ui/ImageAndTextCell.h"

#include <QApplication>
#include <QLineEdit>
#include <QPainter>

ImageAndTextCell::ImageAndTextCell(QObject *parent)
    : QStyledItemDelegate(parent)
{ }

QRect ImageAndTextCell::imageFrameForCellFrame(const QRect &cellFrame, const QSize &imageSize)
{
    if (imageSize.isEmpty())
        return QRect();
    const int top = cellFrame.y() + (cellFrame.height() - imageSize.height() + 1) / 2;
    return QRect(QPoint(cellFrame.x() + kImageMargin, top), imageSize);
}

QRect ImageAndTextCell::textFrameForCellFrame(const QRect &cellFrame, const QSize &imageSize)
{
    const int imageWidth = imageSize.isEmpty() ? 0 : imageSize.width();
    return cellFrame.adjusted(kImageMargin + imageWidth, 0, 0, 0);
}

QStyleOptionViewItem ImageAndTextCell::textOption(
    const QStyleOptionViewItem &option, const QModelIndex &index, QIcon *icon, QSize *imageSize) const
{
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    *icon = opt.icon;
    *imageSize = icon->isNull() ? QSize() : icon->actualSize(opt.decorationSize);
    opt.icon = QIcon();
    opt.features &= ~QStyleOptionViewItem::HasDecoration;
    opt.decorationSize = QSize();
    return opt;
}

void ImageAndTextCell::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QIcon icon;
    QSize imageSize;
    QStyleOptionViewItem opt = textOption(option, index, &icon, &imageSize);
    QStyle *style = opt.widget ? opt.widget->style() : QApplication::style();

    // Background and selection across the whole cell, under the image.
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &opt, painter, opt.widget);
    if (!icon.isNull()) {
        const QIcon::Mode mode = !(opt.state & QStyle::State_Enabled) ? QIcon::Disabled
            : (opt.state & QStyle::State_Selected)                    ? QIcon::Selected
                                                                      : QIcon::Normal;
        icon.paint(painter, imageFrameForCellFrame(opt.rect, imageSize), Qt::AlignCenter, mode);
    }
    opt.rect = textFrameForCellFrame(opt.rect, imageSize);
    opt.backgroundBrush = Qt::NoBrush;
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);
}

QSize ImageAndTextCell::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QIcon icon;
    QSize imageSize;
    const QStyleOptionViewItem opt = textOption(option, index, &icon, &imageSize);
    const QStyle *style = opt.widget ? opt.widget->style() : QApplication::style();
    QSize size = style->sizeFromContents(QStyle::CT_ItemViewItem, &opt, QSize(), opt.widget);
    if (imageSize.isEmpty()) {
        size.rwidth() += kImageMargin;
    } else {
        size.rwidth() += kImageMargin + imageSize.width();
        size.setHeight(qMax(size.height(), imageSize.height()));
    }
    return size;
}

void ImageAndTextCell::updateEditorGeometry(
    QWidget *editor, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QIcon icon;
    QSize imageSize;
    QStyleOptionViewItem opt = textOption(option, index, &icon, &imageSize);
    opt.rect = textFrameForCellFrame(opt.rect, imageSize);
    const QStyle *style = opt.widget ? opt.widget->style() : QApplication::style();
    editor->setGeometry(style->subElementRect(QStyle::SE_ItemViewItemText, &opt, opt.widget));
}

void ImageAndTextCell::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    QStyledItemDelegate::setEditorData(editor, index);
    if (auto *line = qobject_cast<QLineEdit *>(editor))
        line->selectAll();
}
