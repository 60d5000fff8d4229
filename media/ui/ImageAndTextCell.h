#pragma once

#include <QStyledItemDelegate>

// A cell that draws the row's icon a few pixels from its left edge and the
// text beside it; the editor covers only the text, so a rename leaves the
// icon in view. The icon is the model's decoration.
class ImageAndTextCell : public QStyledItemDelegate
{
    Q_OBJECT

public:
    static constexpr int kImageMargin = 3;

    explicit ImageAndTextCell(QObject *parent = nullptr);

    // Where the image sits in a cell: kImageMargin from the left, centred
    // vertically (an odd leftover pixel goes above). Empty without image.
    static QRect imageFrameForCellFrame(const QRect &cellFrame, const QSize &imageSize);
    // The part of a cell left for the text.
    static QRect textFrameForCellFrame(const QRect &cellFrame, const QSize &imageSize);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void updateEditorGeometry(
        QWidget *editor, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;

private:
    // The option as the base cell would see it, without its icon; `imageSize`
    // receives the size the icon is drawn at (empty when there is none).
    QStyleOptionViewItem textOption(
        const QStyleOptionViewItem &option, const QModelIndex &index, QIcon *icon, QSize *imageSize) const;
};
