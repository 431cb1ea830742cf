#include "ui/qt/disc_picture_widget.h"

#include <QBuffer>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

namespace rq::qt {

namespace {

QColor Colour(std::uint32_t rgb) { return QColor(static_cast<QRgb>(0xff000000u | rgb)); }

QFont Bold(QFont font)
{
    font.setBold(true);
    return font;
}

}  // namespace

DiscPictureWidget::DiscPictureWidget(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("DiscPicture"));
    // Anywhere but over a bar's part, which names its own figures.
    setToolTip(QString::fromUtf8(kBitsPerPixelRule));
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
}

void DiscPictureWidget::Follow(const ProjectState& s)
{
    const DiscPicture& now = maker_.Make(s);
    if (now == picture_ && sized_)
        return;
    picture_ = now;
    laidOut_ = false;
    sized_ = false;
    if (isVisible())
        FitToPicture();
}

void DiscPictureWidget::FitToPicture()
{
    updateGeometry();
    resize(sizeHint());
    sized_ = true;
    update();
}

void DiscPictureWidget::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!sized_)
        FitToPicture();
}

const DiscLayout& DiscPictureWidget::Layout() const
{
    if (!laidOut_) {
        const QFontMetrics plain(font());
        const QFontMetrics bold(Bold(font()));
        layout_ = LayOutDiscPicture(
            picture_,
            [&](std::string_view text, bool isBold) {
                const QString t = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
                return (isBold ? bold : plain).horizontalAdvance(t);
            },
            plain.height() + 2);
        laidOut_ = true;
    }
    return layout_;
}

QSize DiscPictureWidget::sizeHint() const
{
    const DiscLayout& layout = Layout();
    return {layout.width, layout.height};
}

void DiscPictureWidget::Paint(QPainter& painter) const
{
    const DiscLayout& layout = Layout();
    for (const PlacedRect& r : layout.rects) {
        const QRect box(r.box.x, r.box.y, r.box.w, r.box.h);
        if (r.outline) {
            painter.setPen(Colour(r.fill));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(box.adjusted(0, 0, -1, -1));
        } else {
            painter.fillRect(box, Colour(r.fill));
        }
    }
    const QFont plain = font();
    const QFont bold = Bold(font());
    const QFontMetrics plainMetrics(plain), boldMetrics(bold);
    for (const PlacedText& t : layout.texts) {
        const QString text = QString::fromStdString(t.text);
        painter.setFont(t.bold ? bold : plain);
        painter.setPen(Colour(t.colour));
        const int w = (t.bold ? boldMetrics : plainMetrics).horizontalAdvance(text);
        const int x = t.align == Align::Left ? t.x : t.align == Align::Centre ? t.x - w / 2 : t.x - w;
        painter.drawText(QPoint(x, t.baseline), text);
    }
}

void DiscPictureWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    Paint(painter);
}

bool DiscPictureWidget::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        const QPoint at = static_cast<QHelpEvent*>(event)->pos();
        for (const PlacedRect& r : Layout().rects)
            if (!r.tip.empty() && QRect(r.box.x, r.box.y, r.box.w, r.box.h).contains(at)) {
                QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), QString::fromStdString(r.tip), this);
                return true;
            }
    }
    return QWidget::event(event);
}

QImage DiscPictureWidget::Render()
{
    const DiscLayout& layout = Layout();
    QImage image(layout.width, layout.height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing);
    Paint(painter);
    return image;
}

QByteArray DiscPictureWidget::RenderPng()
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!Render().save(&buffer, "PNG"))
        return {};
    return bytes;
}

}  // namespace rq::qt
