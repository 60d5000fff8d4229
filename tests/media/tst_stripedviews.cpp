#include "media/RowStripes.h"
#include "media/ui/ImageAndTextCell.h"
#include "media/ui/MyOutlineView.h"

#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QStyledItemDelegate>
#include <QTest>

namespace {

QList<int> tops(const QList<QRect> &rects)
{
    QList<int> list;
    for (const QRect &rect : rects)
        list << rect.y();
    return list;
}

QIcon squareIcon(const QColor &color)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(color);
    return QIcon(pixmap);
}

// A list of `rows` plain rows in a striped view, shown.
struct StripedView
{
    QStandardItemModel model;
    MyOutlineView view;

    explicit StripedView(int rows)
    {
        for (int row = 0; row < rows; ++row)
            model.appendRow(new QStandardItem(QStringLiteral("row %1").arg(row)));
        view.setModel(&model);
        view.setHeaderHidden(true);
        view.resize(300, 400);
        view.show();
        if (!QTest::qWaitForWindowExposed(&view))
            qWarning("the view was not shown");
    }

    // The colour well right of a row's text, where only the row's
    // background shows.
    QColor colourOfRow(const QImage &image, int row) const
    {
        const int height = view.fullRowHeight();
        return image.pixelColor(image.width() - 10, row * height + height / 2);
    }
};

} // namespace

class TestStripedViews : public QObject
{
    Q_OBJECT

private slots:
    void stripes_data()
    {
        QTest::addColumn<QRect>("area");
        QTest::addColumn<int>("fullRowHeight");
        QTest::addColumn<QList<int>>("stripeTops");
        // A row 17 high with 3 between rows: 20 in all.
        QTest::newRow("from the top") << QRect(0, 0, 200, 100) << 20 << QList<int> { 20, 60 };
        QTest::newRow("from an even row") << QRect(0, 40, 200, 60) << 20 << QList<int> { 60 };
        QTest::newRow("inside an even row") << QRect(0, 45, 200, 55) << 20 << QList<int> { 60 };
        QTest::newRow("inside an odd row") << QRect(0, 25, 200, 20) << 20 << QList<int> { 20 };
        QTest::newRow("ending on a stripe's top") << QRect(0, 0, 200, 60) << 20 << QList<int> { 20 };
        QTest::newRow("nothing to paint") << QRect(0, 0, 200, 0) << 20 << QList<int>();
    }

    void stripes()
    {
        QFETCH(QRect, area);
        QFETCH(int, fullRowHeight);
        QFETCH(QList<int>, stripeTops);
        const QList<QRect> stripes = RowStripes::stripeRects(area, fullRowHeight);
        QCOMPARE(tops(stripes), stripeTops);
        for (const QRect &stripe : stripes) {
            QCOMPARE(stripe.x(), area.x());
            QCOMPARE(stripe.width(), area.width());
            QCOMPARE(stripe.height(), fullRowHeight);
        }
        QCOMPARE(RowStripes::stripeColor(), QColor::fromRgbF(0.8901961f, 0.99607843f, 0.9019608f, 1.0f));
    }

    void aViewPaintsOddRowsGreenUnderTheSelection()
    {
        StripedView striped(5);
        striped.view.setCurrentIndex(striped.model.index(3, 0));
        const QImage image = striped.view.viewport()->grab().toImage();
        const QColor base = striped.view.palette().color(QPalette::Base);
        QCOMPARE(striped.colourOfRow(image, 0), base);
        QCOMPARE(striped.colourOfRow(image, 1), RowStripes::stripeColor());
        QCOMPARE(striped.colourOfRow(image, 2), base);
        QVERIFY(striped.colourOfRow(image, 3) != RowStripes::stripeColor());
        QVERIFY(striped.colourOfRow(image, 3) != base);
        // Below the last row the stripes go on.
        QCOMPARE(striped.colourOfRow(image, 7), RowStripes::stripeColor());
        QCOMPARE(striped.colourOfRow(image, 8), base);
    }

    void stripesFollowTheContentWhenScrolled()
    {
        StripedView striped(200);
        const int height = striped.view.fullRowHeight();
        striped.view.verticalScrollBar()->setValue(height);
        const QImage image = striped.view.viewport()->grab().toImage();
        // Row 1 is now at the top of the viewport.
        QCOMPARE(striped.colourOfRow(image, 0), RowStripes::stripeColor());
        QCOMPARE(striped.colourOfRow(image, 1), striped.view.palette().color(QPalette::Base));
    }

    void imageFrame_data()
    {
        QTest::addColumn<QRect>("cell");
        QTest::addColumn<QSize>("image");
        QTest::addColumn<QRect>("frame");
        QTest::newRow("odd leftover") << QRect(10, 20, 100, 17) << QSize(16, 16) << QRect(13, 21, 16, 16);
        QTest::newRow("even leftover") << QRect(0, 0, 100, 20) << QSize(16, 16) << QRect(3, 2, 16, 16);
        QTest::newRow("no image") << QRect(0, 0, 100, 20) << QSize() << QRect();
    }

    void imageFrame()
    {
        QFETCH(QRect, cell);
        QFETCH(QSize, image);
        QFETCH(QRect, frame);
        QCOMPARE(ImageAndTextCell::imageFrameForCellFrame(cell, image), frame);
    }

    void cellSizeMakesRoomForTheImage()
    {
        QStandardItemModel model;
        model.appendRow(new QStandardItem(QStringLiteral("Trips")));
        model.appendRow(new QStandardItem(squareIcon(Qt::blue), QStringLiteral("Trips")));
        QTreeView view;
        view.setModel(&model);
        QStyleOptionViewItem option;
        option.initFrom(&view);
        option.decorationSize = QSize(16, 16);
        ImageAndTextCell cell;
        QStyledItemDelegate plain;
        const QSize base = plain.sizeHint(option, model.index(0, 0));
        QCOMPARE(cell.sizeHint(option, model.index(0, 0)), QSize(base.width() + 3, base.height()));
        QCOMPARE(cell.sizeHint(option, model.index(1, 0)).width(), base.width() + 3 + 16);
    }

    void theImageSitsLeftAndTheEditorBesideIt()
    {
        QStandardItemModel model;
        model.appendRow(new QStandardItem(squareIcon(Qt::blue), QStringLiteral("Trips")));
        MyOutlineView view;
        view.setModel(&model);
        view.setItemDelegate(new ImageAndTextCell(&view));
        view.setRootIsDecorated(false);
        view.setHeaderHidden(true);
        view.resize(300, 200);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        const QRect cell = view.visualRect(model.index(0, 0));
        const QRect image = ImageAndTextCell::imageFrameForCellFrame(cell, QSize(16, 16));
        const QImage shot = view.viewport()->grab().toImage();
        QCOMPARE(shot.pixelColor(image.center()), QColor(Qt::blue));
        QVERIFY(shot.pixelColor(image.left() - 2, image.center().y()) != QColor(Qt::blue));

        view.edit(model.index(0, 0));
        auto *editor = view.findChild<QLineEdit *>();
        QVERIFY(editor);
        QVERIFY(editor->geometry().left() >= image.right());
        QCOMPARE(editor->selectedText(), QString("Trips"));
    }
};

QTEST_MAIN(TestStripedViews)
#include "tst_stripedviews.moc"
