#include "ui/qt/disc_picture_widget.h"

#include <QBuffer>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QPaintEvent>
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

int DiscPictureWidget::TextWidth(std::string_view text, bool bold) const
{
    if (!advances_.known) {
        const QFontMetrics plainMetrics(font());
        const QFontMetrics boldMetrics(Bold(font()));
        for (int c = 32; c < 127; ++c) {
            advances_.plain[c] = plainMetrics.horizontalAdvance(QChar(c));
            advances_.bold[c] = boldMetrics.horizontalAdvance(QChar(c));
        }
        advances_.lineHeight = plainMetrics.height() + 2;
        advances_.ascent = plainMetrics.ascent();
        advances_.known = true;
        prepared_[0].clear();
        prepared_[1].clear();
    }
    const int* advance = bold ? advances_.bold : advances_.plain;
    int width = 0;
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 32 || u >= 127) {
            const QString whole = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
            return QFontMetrics(bold ? Bold(font()) : font()).horizontalAdvance(whole);
        }
        width += advance[u];
    }
    return width;
}

const QStaticText& DiscPictureWidget::Prepared(const std::string& text, bool bold) const
{
    auto& texts = prepared_[bold ? 1 : 0];
    if (const auto found = texts.find(text); found != texts.end())
        return found->second;
    // Figures of earlier commands go once they would fill the memory.
    if (texts.size() > 20000)
        texts.clear();
    QStaticText prepared(QString::fromStdString(text));
    prepared.setTextFormat(Qt::PlainText);
    prepared.setPerformanceHint(QStaticText::AggressiveCaching);
    prepared.prepare(QTransform(), bold ? Bold(font()) : font());
    return texts.emplace(text, std::move(prepared)).first->second;
}

const DiscLayout& DiscPictureWidget::Layout() const
{
    if (!laidOut_) {
        TextWidth({}, false);  // the font's advances and line height
        layout_ = LayOutDiscPicture(
            picture_, [this](std::string_view text, bool isBold) { return TextWidth(text, isBold); },
            advances_.lineHeight);
        laidOut_ = true;
    }
    return layout_;
}

void DiscPictureWidget::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange) {
        advances_.known = false;
        laidOut_ = false;
        sized_ = false;
        if (isVisible())
            FitToPicture();
    }
    QWidget::changeEvent(event);
}

QSize DiscPictureWidget::sizeHint() const
{
    const DiscLayout& layout = Layout();
    return {layout.width, layout.height};
}

void DiscPictureWidget::Paint(QPainter& painter, const QRect& area) const
{
    const DiscLayout& layout = Layout();
    for (const PlacedRect& r : layout.rects) {
        const QRect box(r.box.x, r.box.y, r.box.w, r.box.h);
        if (!box.intersects(area))
            continue;
        if (r.outline) {
            painter.setPen(Colour(r.fill));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(box.adjusted(0, 0, -1, -1));
        } else {
            painter.fillRect(box, Colour(r.fill));
        }
    }
    const int line = advances_.lineHeight;
    painter.setFont(font());
    const QFont bold = Bold(font());
    std::uint32_t pen = 0x1000000;  // none yet
    bool isBold = false;
    for (const PlacedText& t : layout.texts) {
        if (t.baseline + line < area.top() || t.baseline - line > area.bottom())
            continue;
        const int w = TextWidth(t.text, t.bold);
        const int x = t.align == Align::Left ? t.x : t.align == Align::Centre ? t.x - w / 2 : t.x - w;
        if (x > area.right() || x + w < area.left())
            continue;
        if (t.bold != isBold) {
            painter.setFont(t.bold ? bold : font());
            isBold = t.bold;
        }
        if (t.colour != pen) {
            painter.setPen(Colour(t.colour));
            pen = t.colour;
        }
        painter.drawStaticText(QPoint(x, t.baseline - advances_.ascent), Prepared(t.text, t.bold));
    }
}

void DiscPictureWidget::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    Paint(painter, event->rect());
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
    Paint(painter, image.rect());
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
