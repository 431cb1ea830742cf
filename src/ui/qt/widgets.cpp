#include "ui/qt/widgets.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <algorithm>

#include "model/numbers.h"
#include "ui/qt/control_models.h"

namespace rq::qt {

TrackBarWidget::TrackBarWidget(QWidget* parent) : QSlider(Qt::Horizontal, parent)
{
    setTickPosition(QSlider::TicksBelow);
    setTracking(true);
}

namespace {

bool IsStepKey(int key)
{
    switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End: return true;
    default: return false;
    }
}

}  // namespace

void TrackBarWidget::EndRun()
{
    keysDown_ = 0;
    if (!inRun_)
        return;
    inRun_ = false;
    emit stepRunEnded();
}

void TrackBarWidget::CancelPress()
{
    if (!pressed_)
        return;
    QMouseEvent release(QEvent::MouseButtonRelease, lastPress_, mapToGlobal(lastPress_), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QSlider::mouseReleaseEvent(&release);
    pressed_ = false;
    EndRun();
}

void TrackBarWidget::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && !inRun_) {
        inRun_ = true;
        emit stepRunStarted();
    }
    QSlider::mousePressEvent(event);
    if (event->button() == Qt::LeftButton) {
        pressed_ = true;
        lastPress_ = event->position();
    }
}

void TrackBarWidget::mouseReleaseEvent(QMouseEvent* event)
{
    QSlider::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton)
        pressed_ = false;
    if (event->button() == Qt::LeftButton && keysDown_ == 0)
        EndRun();
}

void TrackBarWidget::keyPressEvent(QKeyEvent* event)
{
    if (IsStepKey(event->key()) && !event->isAutoRepeat()) {
        ++keysDown_;
        if (!inRun_) {
            inRun_ = true;
            emit stepRunStarted();
        }
    }
    QSlider::keyPressEvent(event);
}

void TrackBarWidget::keyReleaseEvent(QKeyEvent* event)
{
    QSlider::keyReleaseEvent(event);
    if (event->isAutoRepeat() || !IsStepKey(event->key()))
        return;
    if (keysDown_ > 0 && --keysDown_ == 0 && !pressed_)
        EndRun();
}

void TrackBarWidget::focusOutEvent(QFocusEvent* event)
{
    // Keys let go in another window never reach this one.
    QSlider::focusOutEvent(event);
    if (!pressed_)
        EndRun();
}

void RightAlignedDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    option->displayAlignment = Qt::AlignRight | Qt::AlignVCenter;
}

void StatusLabel::SetFullText(const QString& text)
{
    if (text == full_)
        return;
    full_ = text;
    Elide();
}

QSize StatusLabel::minimumSizeHint() const { return {0, QLabel::minimumSizeHint().height()}; }
QSize StatusLabel::sizeHint() const { return {0, QLabel::sizeHint().height()}; }

void StatusLabel::resizeEvent(QResizeEvent* event)
{
    QLabel::resizeEvent(event);
    Elide();
}

void StatusLabel::Elide()
{
    const QString shown = fontMetrics().elidedText(full_, Qt::ElideRight, std::max(0, contentsRect().width()));
    setText(shown);
    setToolTip(shown == full_ ? QString() : full_);
}

void PercentBarDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    Extended percent = 0;
    const std::string text = ToStd(index.data(Qt::DisplayRole).toString());
    if (!text.empty() && TryParseReal(text, percent) && percent > 0) {
        const bool over = percent > 100;
        const double fraction = over ? 1.0 : static_cast<double>(percent) / 100.0;
        QRect bar = option.rect.adjusted(1, 3, -1, -3);
        bar.setWidth(std::max(1, static_cast<int>(bar.width() * fraction)));
        QColor colour = over ? QColor(0xe0, 0x4a, 0x1a) : option.palette.color(QPalette::Highlight);
        colour.setAlpha(over ? 110 : 70);
        painter->fillRect(bar, colour);
    }
    RightAlignedDelegate::paint(painter, option, index);
}

}  // namespace rq::qt
