// The "Disc" page through the real widgets: it follows the commands as they
// run, explains bits per pixel, and "Save Picture..." writes a whole PNG or,
// on failure, nothing.
#include <QAction>
#include <QFileDialog>
#include <QHelpEvent>
#include <QImage>
#include <QScrollArea>
#include <QToolTip>
#include <QTabWidget>

#include "qt_test_support.h"
#include "ui/qt/disc_picture_widget.h"

using namespace rq::testing;

namespace {

// Answers the next save dialog with path.
void AnswerSaveDialog(const QString& path, QString* title)
{
    WhenModal([path, title](QWidget* modal) {
        if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
            *title = dialog->windowTitle();
            dialog->selectFile(path);
            static_cast<QDialog*>(dialog)->accept();  // as the Save button does
        }
    });
}

}  // namespace

class DiscPageTest : public QObject {
    Q_OBJECT
private slots:
    void followsEveryCommandAndSavesTheShownPictureAsPng()
    {
        QTemporaryDir dir;
        const QString project = CopyExample(dir);
        QVERIFY(!project.isEmpty());
        Window w;
        auto* pages = w.Find<QTabWidget>("PageControl1");
        QCOMPARE(pages->count(), 6);
        QCOMPARE(pages->tabText(rq::TForm1::kDiscPage), QStringLiteral("Disc"));
        QCOMPARE(pages->tabText(rq::TForm1::kAboutPage), QStringLiteral("About"));
        auto* picture = w.Find<rq::qt::DiscPictureWidget>("DiscPicture");
        auto* save = w.Find<QPushButton>("SavePicture");
        QVERIFY(!save->isEnabled());  // nothing to show yet

        w.window->show();
        w.Load(project);
        pages->setCurrentIndex(rq::TForm1::kDiscPage);
        QCOMPARE(w.form.PageIndex(), rq::TForm1::kDiscPage);
        const rq::DiscPicture loaded = picture->Picture();
        QVERIFY(loaded == rq::MakeDiscPicture(w.form.s));
        QVERIFY(loaded.parts.size() > 1);
        QVERIFY(save->isEnabled());
        QVERIFY(picture->toolTip().contains(QStringLiteral("352")));
        // Below a short picture the page stays as white as the picture.
        QWidget* view = w.Find<QScrollArea>("DiscPictureArea")->viewport();
        QCOMPARE(view->grab().toImage().pixel(view->width() - 1, view->height() - 1), 0xffffffffu);

        // A command run on the main page shows here; Undo run from here too.
        pages->setCurrentIndex(0);
        TypeInto(w.Find<QComboBox>("ComboBox5"), QStringLiteral("v02"));
        w.Press("Button10");
        pages->setCurrentIndex(rq::TForm1::kDiscPage);
        const rq::DiscPicture moved = picture->Picture();
        QVERIFY(moved == rq::MakeDiscPicture(w.form.s));
        QCOMPARE(moved.parts[1].name, std::string("v02"));
        QVERIFY(moved.parts[1].nowKBytes > moved.parts[1].loadedKBytes);
        QCOMPARE(picture->size(), picture->sizeHint());
        // Pointing at v02's part of "Now" names its figures; elsewhere, the rule of bits per pixel.
        QRect part;
        std::string tip;
        auto findPart = [&] {
            part = QRect();
            for (const rq::PlacedRect& r : picture->Layout().rects)
                if (r.tip.rfind("v02 now: ", 0) == 0) {
                    part = QRect(r.box.x, r.box.y, r.box.w, r.box.h);
                    tip = r.tip;
                }
            QVERIFY(!part.isEmpty());
        };
        findPart();
        QHelpEvent pointed(QEvent::ToolTip, part.center(), picture->mapToGlobal(part.center()));
        QApplication::sendEvent(picture, &pointed);
        QCOMPARE(QToolTip::text(), QString::fromStdString(tip));
        QHelpEvent elsewhere(QEvent::ToolTip, QPoint(1, 1), picture->mapToGlobal(QPoint(1, 1)));
        QApplication::sendEvent(picture, &elsewhere);
        QCOMPARE(QToolTip::text(), QString::fromUtf8(rq::kBitsPerPixelRule));
        // A larger font lays the picture out again at once.
        const QSize small = picture->size();
        const QFont original = picture->font();
        QFont larger = original;
        larger.setPointSize(larger.pointSize() + 4);
        picture->setFont(larger);
        QVERIFY(picture->width() > small.width());
        QCOMPARE(picture->size(), picture->sizeHint());
        // And when the font changes while another page is shown, on showing this one.
        pages->setCurrentIndex(0);
        picture->setFont(original);
        pages->setCurrentIndex(rq::TForm1::kDiscPage);
        QCOMPARE(picture->size(), small);
        w.window->findChild<QAction*>(QStringLiteral("actionUndo"))->trigger();
        QVERIFY(picture->Picture() == loaded);

        // The PNG holds the picture as shown, and nothing else is left.
        const QString png = dir.filePath(QStringLiteral("disc.png"));
        QString title;
        AnswerSaveDialog(png, &title);
        w.Press("SavePicture");
        QCOMPARE(title, QStringLiteral("Save Picture"));
        QVERIFY(w.errors.empty());
        const QImage saved = QImage(png).convertToFormat(QImage::Format_RGB32);
        QCOMPARE(saved, picture->Render());
        findPart();
        QCOMPARE(saved.pixel(part.center()), 0xff000000u | rq::DiscColour(2));
        // Each bar's frame: its first and last pixels.
        for (const rq::PlacedRect& r : picture->Layout().rects)
            if (r.outline)
                for (const QPoint corner : {QPoint(r.box.x, r.box.y), QPoint(r.box.x + r.box.w - 1, r.box.y + r.box.h - 1)})
                    QCOMPARE(saved.pixel(corner), 0xff000000u | r.fill);
        const QStringList files = {"REBUILDER.ECL", "REBUILDER.INF", "disc.png"};
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name), files);

        // A place that takes no file: the error box, and nothing written.
        AnswerSaveDialog(QDir(project).filePath(QStringLiteral("disc.png")), &title);
        w.Press("SavePicture");
        QCOMPARE(w.errors.size(), std::size_t{1});
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name), files);
    }
};

QTEST_MAIN(DiscPageTest)
#include "disc_page_test.moc"
