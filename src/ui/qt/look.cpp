#include "ui/qt/look.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFrame>
#include <QLabel>
#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace rq::qt {

double DpiScale()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return 1.0;
    const double dpi = screen->logicalDotsPerInch();
    return dpi > 0 ? dpi / 96.0 : 1.0;
}

int Px(int pixelsAt96Dpi) { return static_cast<int>(std::lround(pixelsAt96Dpi * DpiScale())); }

QRect PxRect(int x, int y, int w, int h) { return QRect(Px(x), Px(y), Px(w), Px(h)); }

QFont WindowFont()
{
    QFont font;
    if (QFontDatabase::hasFamily(QStringLiteral("MS Sans Serif")))
        font.setFamily(QStringLiteral("MS Sans Serif"));
    else
        font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(8);
    return font;
}

QFont FixedPitchFont()
{
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setPointSize(8);
    if (!QFontDatabase::hasFamily(QStringLiteral("Courier New")) || !QFontInfo(font).fixedPitch()) {
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        font.setStyleHint(QFont::TypeWriter);
        font.setPointSize(8);
    }
    return font;
}

QFrame* MakePanel(QWidget* parent, const char* name, QRect geometry)
{
    auto* panel = new QFrame(parent);
    panel->setObjectName(QLatin1String(name));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setLineWidth(1);
    panel->setGeometry(geometry);
    return panel;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, int x, int y)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->move(Px(x), Px(y));
    label->adjustSize();
    return label;
}

std::unique_ptr<QFileDialog> MakeOpenProjectDialog(QWidget* parent, const QString& startDirectory)
{
    auto dialog = std::make_unique<QFileDialog>(parent, QStringLiteral("Open DVD-Rebuilder ECL/INF files"), startDirectory);
    // Qt's own dialog on every platform: it matches the filter without regard
    // to letter case once the case-sensitive flag is dropped, which native
    // dialogs on Linux would not do.
    dialog->setOption(QFileDialog::DontUseNativeDialog, true);
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setNameFilters({QStringLiteral("REBUILDER.ECL/.INF (*.ECL *.INF)"), QStringLiteral("All Files (*)")});
    dialog->setFilter(dialog->filter() & ~QDir::CaseSensitive);
    dialog->setSizeGripEnabled(true);
    return dialog;
}

bool IsProjectFileName(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix();
    return suffix.compare(QLatin1String("ecl"), Qt::CaseInsensitive) == 0 ||
           suffix.compare(QLatin1String("inf"), Qt::CaseInsensitive) == 0;
}

}  // namespace rq::qt
