#include "ui/qt/look.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFrame>
#include <QLabel>
#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <cmath>
#include <initializer_list>

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

namespace {

// The first of the families that is installed, or an empty text.
QString FirstInstalled(std::initializer_list<const char*> families)
{
    for (const char* family : families)
        if (QFontDatabase::hasFamily(QLatin1String(family)))
            return QLatin1String(family);
    return {};
}

}  // namespace

QFont WindowFont()
{
    // After the window font itself, the families that share Arial's widths:
    // close enough to it that the captions fit their buttons and labels,
    // which the wider default sans-serif of many desktops does not.
    QFont font;
    const QString family = FirstInstalled(
        {"MS Sans Serif", "Microsoft Sans Serif", "Liberation Sans", "Arimo", "Arial", "Nimbus Sans", "Helvetica"});
    if (family.isEmpty())
        font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    else
        font.setFamily(family);
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(8);
    return font;
}

QFont FixedPitchFont()
{
    // "Courier New", or a family with its widths, or the platform's monospace.
    QFont font;
    const QString family = FirstInstalled({"Courier New", "Liberation Mono", "Cousine"});
    if (family.isEmpty())
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    else
        font.setFamily(family);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSize(8);
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

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, int x, int y, int rightLimit)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->move(Px(x), Px(y));
    label->adjustSize();
    // A font wider than the window font would run the caption into the
    // control it introduces: then it ends just before that control instead.
    if (rightLimit >= 0 && label->geometry().right() >= Px(rightLimit))
        label->move(std::max(0, Px(rightLimit) - label->width()), Px(y));
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
