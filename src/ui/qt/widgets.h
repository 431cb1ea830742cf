#pragma once
// Small widgets the windows need beyond what Qt offers as it is.
#include <QLabel>
#include <QSlider>
#include <QStyledItemDelegate>

namespace rq::qt {

// A horizontal slider that also reports each run of moves the user makes, so
// that a whole drag is one step to undo.
class TrackBarWidget : public QSlider {
    Q_OBJECT
public:
    explicit TrackBarWidget(QWidget* parent = nullptr);

    // Ends a press that a modal box is about to interrupt, so that the thumb
    // does not keep following the mouse once the box is closed.
    void CancelPress();

signals:
    // A run of moves the user makes in one go: from pressing the mouse button
    // to releasing it, or from the first step key to letting go of the keys.
    // Every stepRunStarted is followed by one stepRunEnded.
    void stepRunStarted();
    void stepRunEnded();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void EndRun();
    bool pressed_ = false;
    bool inRun_ = false;
    int keysDown_ = 0;
    QPointF lastPress_;
};

// The status bar's message: a text too long for its room ends in an ellipsis,
// and then the whole text is its tooltip. It asks for no width of its own, so
// a long message never widens the window.
class StatusLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
    void SetFullText(const QString& text);
    const QString& FullText() const { return full_; }
    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Elide();
    QString full_;
};

// Shows a column's cells right-aligned: numbers line up on their last digit.
class RightAlignedDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
};

// Draws a thin bar behind a percentage cell: its length is the percentage of
// the cell's width (0 to 100), in a warning colour when the value is above
// 100. The cell's text is drawn unchanged on top.
class PercentBarDelegate : public RightAlignedDelegate {
    Q_OBJECT
public:
    using RightAlignedDelegate::RightAlignedDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

}  // namespace rq::qt
