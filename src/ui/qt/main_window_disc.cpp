// The "Disc" page: the picture of where the size goes, following every
// command, and "Save Picture..." for a PNG of it.
#include <QScrollArea>

#include "model/errors.h"
#include "project/save.h"
#include "ui/qt/disc_picture_widget.h"
#include "ui/qt/main_window_impl.h"

namespace rq::qt {

void MainWindow::Impl::BuildDiscPage(QWidget* page)
{
    auto* area = new QScrollArea(page);
    area->setObjectName(QStringLiteral("DiscPictureArea"));
    area->setGeometry(PxRect(0, 0, 681, 441));
    area->setBackgroundRole(QPalette::Base);
    area->setFrameShape(QFrame::NoFrame);
    discPicture = new DiscPictureWidget;
    area->setWidget(discPicture);
    Anchored(area, kNone, kNone, kAll, kAll);
    Anchored(MakeLabel(page, "DiscHint",
                       QStringLiteral("Point at a bar's part for its figures, elsewhere for how bits per pixel are judged."),
                       0, 454, 544),
             kNone, kAll);
    savePicture = new QPushButton(QStringLiteral("Save &Picture..."), page);
    savePicture->setObjectName(QStringLiteral("SavePicture"));
    savePicture->setGeometry(PxRect(560, 448, 121, 25));
    QObject::connect(savePicture, &QPushButton::clicked, &q, [this] { SavePicture(); });
    Anchored(savePicture, kAll, kAll);
}

void MainWindow::Impl::SyncDiscPage()
{
    discPicture->Follow(s);
    savePicture->setEnabled(!discPicture->Picture().parts.empty());
}

void MainWindow::Impl::SavePicture()
{
    if (Busy())
        return;
    // Beside the project, named after it: REBUILDER-disc.png.
    const QFileInfo project(ToQt(s.ProjectPath));
    const QString start = s.ProjectPath.empty() ? QStringLiteral("disc.png")
                                                : project.absoluteDir().filePath(project.completeBaseName() +
                                                                                 QStringLiteral("-disc.png"));
    QFileDialog picker(&q, QStringLiteral("Save Picture"), start);
    picker.setObjectName(QStringLiteral("SavePictureDialog"));
    picker.setOption(QFileDialog::DontUseNativeDialog, true);
    picker.setAcceptMode(QFileDialog::AcceptSave);
    picker.setFileMode(QFileDialog::AnyFile);
    picker.setNameFilters({QStringLiteral("PNG image (*.png)")});
    picker.setDefaultSuffix(QStringLiteral("png"));
    picker.selectFile(start);
    if (picker.exec() != QDialog::Accepted || picker.selectedFiles().isEmpty())
        return;
    const std::string path = ToStd(QDir::toNativeSeparators(picker.selectedFiles().constFirst()));
    q.RunCommand([this, path] {
        const QByteArray png = discPicture->RenderPng();
        if (png.isEmpty())
            throw AppError("The picture could not be made", path);
        WriteWholeFile(path, std::string_view(png.constData(), static_cast<std::size_t>(png.size())));
        message = "Saved the picture as " + path;
    });
}

}  // namespace rq::qt
