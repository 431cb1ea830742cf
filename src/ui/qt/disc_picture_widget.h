#pragma once
// The "Disc" page's picture of where the size goes: the core's picture and
// layout (views/disc_picture.h), painted with the window's font.
#include <QByteArray>
#include <QImage>
#include <QStaticText>
#include <QWidget>
#include <string>
#include <unordered_map>

#include "views/disc_picture.h"

namespace rq::qt {

class DiscPictureWidget : public QWidget {
    Q_OBJECT
public:
    explicit DiscPictureWidget(QWidget* parent = nullptr);

    // Takes the picture of the state as it stands; lays out and repaints only
    // when it changed, and lays out only once the widget is seen.
    void Follow(const ProjectState& s);
    const DiscPicture& Picture() const { return picture_; }

    // The picture as the page shows it, on white, at its whole size.
    QImage Render();
    // The same as PNG bytes; empty when the image could not be encoded.
    QByteArray RenderPng();

    // Where the parts, frames and texts lie, in the widget's pixels.
    const DiscLayout& Layout() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;

    void changeEvent(QEvent* event) override;

private:
    // Laid out when first needed after a change, with the widget's font.
    void FitToPicture();
    // Paints what lies in `area`: a screen's paint shows a few dozen rows of
    // a legend that may have 99.
    void Paint(QPainter& painter, const QRect& area) const;
    // A text's width in the widget's font, from each character's advance:
    // the legend's texts are digits, separators and letters of ASCII, which
    // the fonts set without kerning; anything else is measured whole.
    int TextWidth(std::string_view text, bool bold) const;
    // The texts as laid-out glyphs, kept while the font stays: most of the
    // legend (everything as loaded) is the same after every command.
    const QStaticText& Prepared(const std::string& text, bool bold) const;
    mutable std::unordered_map<std::string, QStaticText> prepared_[2];
    struct Advances {
        bool known = false;
        int lineHeight = 0;
        int ascent = 0;
        int plain[128] = {};
        int bold[128] = {};
    };
    mutable Advances advances_;
    DiscPictureMaker maker_;
    DiscPicture picture_;
    mutable DiscLayout layout_;
    mutable bool laidOut_ = false;
    bool sized_ = false;
};

}  // namespace rq::qt
