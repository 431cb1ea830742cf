#pragma once
// Small widgets the windows need beyond what Qt offers as it is.
#include <QSlider>
#include <QStyledItemDelegate>

namespace rq::qt {

// A horizontal slider that also reports the end of a scroll: when the mouse
// is released after a drag or a page click, and after each key step. The
// encoder's users expect the set command to run once more at that moment,
// with the thumb where it came to rest.
class TrackBarWidget : public QSlider {
    Q_OBJECT
public:
    explicit TrackBarWidget(QWidget* parent = nullptr);

    // Ends a press that a modal box is about to interrupt, so that the thumb
    // does not keep following the mouse once the box is closed.
    void CancelPress();

signals:
    void endScroll();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    bool pressed_ = false;
    QPointF lastPress_;
};

// Draws a thin bar behind a percentage cell: its length is the percentage of
// the cell's width (0 to 100), in a warning colour when the value is above
// 100. The cell's text is drawn unchanged on top.
class PercentBarDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

}  // namespace rq::qt
