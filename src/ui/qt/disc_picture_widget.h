#pragma once
// The "Disc" page's picture of where the size goes: the core's picture and
// layout (views/disc_picture.h), painted with the window's font.
#include <QByteArray>
#include <QImage>
#include <QWidget>

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

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;

private:
    // Laid out when first needed after a change, with the widget's font.
    const DiscLayout& Layout() const;
    void FitToPicture();
    void Paint(QPainter& painter) const;
    DiscPictureMaker maker_;
    DiscPicture picture_;
    mutable DiscLayout layout_;
    mutable bool laidOut_ = false;
    bool sized_ = false;
};

}  // namespace rq::qt
