#include "ui/qt/encoder_dialog.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

#include "ui/form1.h"
#include "ui/qt/look.h"
#include "ui/qt/main_window.h"

namespace rq::qt {

EncoderDialog::EncoderDialog(TForm2& form, MainWindow& main) : QWidget(nullptr, Qt::Window), form_(form), main_(main)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QString::fromUtf8(TForm2::kCaption));
    setFont(WindowFont());
    resize(Px(248), Px(264));
    setWindowOpacity(240.0 / 255.0);
    // Closing the main window ends the program even while this one is open.
    setAttribute(Qt::WA_QuitOnClose, false);

    const CommandRunner run = [this](const std::function<void()>& command) { main_.RunCommand(command); };
    auto button = [&](QWidget* parent, const char* name, const char* text, QRect r, std::function<void()> handler) {
        auto* b = new QPushButton(QString::fromUtf8(text), parent);
        b->setObjectName(QLatin1String(name));
        b->setGeometry(r);
        QObject::connect(b, &QPushButton::clicked, b, [run, handler = std::move(handler)] { run(handler); });
        return b;
    };
    auto selector = [&](QWidget* parent, const char* name, ComboBox& model, QRect r) {
        auto* c = new QComboBox(parent);
        c->setObjectName(QLatin1String(name));
        c->setGeometry(r);
        // The dialog's selectors have no change handler: the user's text is all.
        syncers_.push_back(BindSelector(c, model, run, [&model](std::string text) { model.SetText(std::move(text)); }));
        return c;
    };

    // Width of one title set's segments, or of all.
    QFrame* panel1 = MakePanel(this, "Panel1", PxRect(8, 8, 225, 57));
    commands_.push_back(button(panel1, "Button8", "Set", PxRect(8, 8, 75, 25),
                               main_.Described(Step::EncoderWidth, [this] { form_.Button8Click(); })));
    MakeLabel(panel1, "Label7", QStringLiteral("Width in"), 104, 8, 150);
    selector(panel1, "ComboBox2", form_.ComboBox2(), PxRect(152, 8, 65, 21));
    MakeLabel(panel1, "Label8", QStringLiteral("to"), 136, 32, 150);
    selector(panel1, "ComboBox3", form_.ComboBox3, PxRect(152, 32, 49, 21));

    // Pass count of one title set's segments, or of all.
    QFrame* panel2 = MakePanel(this, "Panel2", PxRect(8, 72, 225, 57));
    commands_.push_back(button(panel2, "Button1", "Set", PxRect(8, 8, 75, 25),
                               main_.Described(Step::EncoderPasses, [this] { form_.Button1Click(); })));
    MakeLabel(panel2, "Label1", QStringLiteral("vbr Passes in"), 88, 8, 150);
    selector(panel2, "ComboBox1", form_.ComboBox1(), PxRect(152, 8, 65, 21));
    MakeLabel(panel2, "Label2", QStringLiteral("to"), 136, 32, 150);
    selector(panel2, "ComboBox4", form_.ComboBox4, PxRect(152, 32, 49, 21));

    // Pass count of every segment below a bitrate.
    QFrame* panel3 = MakePanel(this, "Panel3", PxRect(7, 136, 225, 57));
    QPushButton* change = button(panel3, "Button2", "Change", PxRect(8, 8, 75, 25),
                                 main_.Described(Step::EncoderPassesBelow, [this] { form_.Button2Click(); }));
    commands_.push_back(change);
    MakeLabel(panel3, "Label5", QStringLiteral("Bitrates below"), 96, 8, 166);
    auto* edit3 = new QLineEdit(panel3);
    edit3->setObjectName(QStringLiteral("Edit3"));
    edit3->setGeometry(PxRect(168, 8, 49, 21));
    syncers_.push_back(BindEdit(edit3, form_.Edit3));
    // Return in the threshold box runs "Change" beside it.
    QObject::connect(edit3, &QLineEdit::returnPressed, change, [change] { change->click(); });
    MakeLabel(panel3, "Label6", QStringLiteral("to vbr Passes"), 96, 32, 166);
    selector(panel3, "ComboBox5", form_.ComboBox5, PxRect(168, 32, 49, 21));

    button(this, "Button3", "&Close", PxRect(88, 200, 75, 25), [this] { form_.Button3Click(); });

    SyncFromModel(true);
}

EncoderDialog::~EncoderDialog() = default;

void EncoderDialog::SyncFromModel(bool force)
{
    for (const Syncer& sync : syncers_)
        sync(force);
    // Without a project the commands would only write into the empty row.
    for (QWidget* command : commands_)
        command->setEnabled(form_.CommandsEnabled());
    if (form_.StayOnTop() && !stayOnTop_) {
        // Changing the kind of window hides it; the visibility below shows it anew.
        stayOnTop_ = true;
        setWindowFlag(Qt::WindowStaysOnTopHint, true);
    }
    if (form_.Visible() && !isVisible()) {
        if (!placed_)
            PlaceBesideMainWindow();
        show();
    } else if (!form_.Visible() && isVisible()) {
        hide();
    }
}

void EncoderDialog::BringToFront()
{
    SyncFromModel();
    if (isVisible()) {
        raise();
        activateWindow();
    }
}

void EncoderDialog::closeEvent(QCloseEvent* event)
{
    // The close box hides the dialog and leaves the main window's page alone.
    form_.Hide();
    event->accept();
}

void EncoderDialog::PlaceBesideMainWindow()
{
    placed_ = true;
    // The frame's size is known once the system has a window for it.
    create();
    // The main window may not be on screen yet: go by where it will be. The
    // dialog goes to its right, else to its left, and stays on the screen;
    // only a screen too small for both puts it over the main window.
    const QRect area = main_.frameGeometry();
    const QSize size = frameGeometry().size();
    const QScreen* screen = main_.screen();
    const QRect room = screen ? screen->availableGeometry() : QRect(area.topLeft(), area.size() + size);
    const int gap = Px(8);
    int x = area.right() + 1 + gap;
    if (x + size.width() > room.right() + 1) {
        const int left = area.left() - gap - size.width();
        if (left >= room.left())
            x = left;
        else if (room.right() - area.right() < area.left() - room.left())
            x = room.left();
    }
    x = std::clamp(x, room.left(), std::max(room.left(), room.right() + 1 - size.width()));
    const int y = std::clamp(area.top(), room.top(), std::max(room.top(), room.bottom() + 1 - size.height()));
    move(x, y);
}

}  // namespace rq::qt
