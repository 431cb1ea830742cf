#pragma once
// Fonts, sizes and the file-open dialog of the windows. The windows are laid
// out in pixels at 96 dots per inch; every position and size goes through Px
// so that they grow with the screen's logical resolution together with the
// fonts, which are given in points.
#include <QFont>
#include <QRect>
#include <QString>
#include <memory>

class QFileDialog;
class QFrame;
class QLabel;
class QWidget;

namespace rq::qt {

// The screen's logical dots per inch divided by 96.
double DpiScale();
int Px(int pixelsAt96Dpi);
QRect PxRect(int x, int y, int w, int h);

// "MS Sans Serif" 8 pt where it exists, else the platform's sans-serif at 8 pt.
QFont WindowFont();
// "Courier New" 8 pt where it exists as a fixed-pitch font, else the
// platform's monospace family at 8 pt: space-padded numbers must line up.
QFont FixedPitchFont();

// A recessed box (lowered inner bevel) that groups one command with its arguments.
QFrame* MakePanel(QWidget* parent, const char* name, QRect geometry);
// A fixed caption whose size follows its text, placed at x, y (96 dpi pixels);
// when it would reach rightLimit (the next control's left edge), it is moved
// left to end there.
QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, int x, int y, int rightLimit = -1);

// The load command's file-open dialog: "Open DVD-Rebuilder ECL/INF files",
// the project filter and "All Files"; file names match whatever their letter
// case, as they do where the encoder's projects come from.
std::unique_ptr<QFileDialog> MakeOpenProjectDialog(QWidget* parent, const QString& startDirectory);
// A local file whose extension is .ECL or .INF in any letter case.
bool IsProjectFileName(const QString& path);

}  // namespace rq::qt
