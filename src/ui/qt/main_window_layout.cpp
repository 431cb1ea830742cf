// The main window's layout: the controls at the specified size, each bound
// to its model, and how they follow a larger window.
#include "ui/qt/main_window_impl.h"

namespace rq::qt {

void MainWindow::Impl::Anchored(QWidget* widget, Share moveX, Share moveY, Share growW, Share growH)
{
    anchors.push_back(Anchor{widget, widget->geometry(), moveX, moveY, growW, growH});
}

// At the specified size every control is where it was built; a larger
// window gives the grids, the lock list and the text buffers more room.
void MainWindow::Impl::Relayout()
{
    const int dw = std::max(0, client->width() - Px(kClientWidth));
    const int dh = std::max(0, client->height() - Px(kClientHeight));
    pages->setGeometry(PxRect(8, 8, 697, 505).adjusted(0, 0, dw, dh));
    for (const Anchor& a : anchors) {
        const QPoint at = a.base.topLeft() + QPoint(Part(dw, a.moveX), Part(dh, a.moveY));
        if (a.growW == kNone && a.growH == kNone)
            a.widget->move(at);  // a label keeps the size its text gives it
        else
            a.widget->setGeometry(QRect(at, a.base.size() + QSize(Part(dw, a.growW), Part(dh, a.growH))));
    }
    // A wider grid gives each column its share of the extra width, in
    // proportion to its width; the last one takes what the rounding leaves.
    for (const Columns& set : columnSets) {
        const int extra = std::max(0, set.view->width() - set.baseWidth);
        int total = 0;
        for (int w : set.widths)
            total += w;
        int given = 0;
        for (size_t c = 0; c < set.widths.size(); ++c) {
            const int share = c + 1 == set.widths.size() ? extra - given : extra * set.widths[c] / std::max(total, 1);
            given += share;
            set.view->setColumnWidth(static_cast<int>(c), set.widths[c] + share);
        }
    }
}

// Return in a number box runs the command beside it. The typing it used
// is then no longer the box's own to undo: Ctrl+Z undoes the command.
void MainWindow::Impl::ReturnRuns(QLineEdit* edit, QPushButton* button)
{
    QObject::connect(edit, &QLineEdit::returnPressed, button, [edit, button] {
        if (!button->isEnabled())
            return;
        button->click();
        const QSignalBlocker block(edit);
        const int cursor = edit->cursorPosition();
        edit->setText(edit->text());
        edit->setCursorPosition(cursor);
    });
}

QWidget* MainWindow::Impl::AddPage(const char* name, const char* caption)
{
    auto* page = new QWidget;
    page->setObjectName(QLatin1String(name));
    pages->addTab(page, QString::fromUtf8(caption));
    return page;
}

QPushButton* MainWindow::Impl::AddButton(QWidget* parent, const char* name, const Button& model, QRect r, std::function<void()> handler, char mnemonic)
{
    auto* button = new QPushButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(r);
    syncers.push_back(BindButton(button, model, Runner(), std::move(handler), mnemonic));
    return button;
}

QLineEdit* MainWindow::Impl::AddEdit(QWidget* parent, const char* name, EditBox& model, QRect r)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setGeometry(r);
    syncers.push_back(BindEdit(edit, model));
    return edit;
}

QComboBox* MainWindow::Impl::AddSelector(QWidget* parent, const char* name, ComboBox& model, QRect r)
{
    auto* selector = new QComboBox(parent);
    selector->setObjectName(QLatin1String(name));
    selector->setGeometry(r);
    syncers.push_back(BindSelector(selector, model, Runner(), [this, &model](std::string text) {
        const StatusBefore before = StatusBeforeOf(s);
        form.UserSetSelectorText(model, std::move(text));
        // Only the set-percentage selector runs anything: it fits the slider,
        // and that puts the title sets back to their sizes as loaded. A reset
        // stays in sight while the user goes on typing the name.
        if (&model == &s.ComboBox4)
            if (std::string said = SelectorText(before, s); IsResetText(said) || !IsResetText(message))
                message = std::move(said);
    }));
    return selector;
}

QLabel* MainWindow::Impl::AddLabel(QWidget* parent, const char* name, const Label& model, int x, int y)
{
    QLabel* label = MakeLabel(parent, name, QString(), x, y);
    syncers.push_back(BindLabel(label, model));
    return label;
}

TrackBarWidget* MainWindow::Impl::AddTrackBar(QWidget* parent, const char* name, TrackBar& model, QRect r, Step step)
{
    auto* slider = new TrackBarWidget(parent);
    slider->setObjectName(QLatin1String(name));
    slider->setGeometry(r);
    // The status bar says what came of each move of the thumb.
    syncers.push_back(BindTrackBar(slider, model, Runner(), [this, &model, step](int position) {
        const StatusBefore before = StatusBeforeOf(s);
        const int was = model.Position();
        form.UserMoveSlider(model, position);
        if (model.Position() != was)
            message = ResultText(before, s, step);
    }));
    sliders.push_back(slider);
    // A whole drag or keyboard run of the slider is one step to undo.
    QObject::connect(slider, &TrackBarWidget::stepRunStarted, slider, [this] { form.BeginStepGroup(); });
    QObject::connect(slider, &TrackBarWidget::stepRunEnded, slider, [this] {
        form.EndStepGroup();
        SyncActions();
    });
    return slider;
}

QTableView* MainWindow::Impl::AddGrid(QWidget* parent, const char* name, const TextGrid& grid, int shownColumns, QRect r, const std::vector<int>& widths, bool fixedPitch)
{
    auto* view = new QTableView(parent);
    view->setObjectName(QLatin1String(name));
    view->setGeometry(r);
    if (fixedPitch)
        view->setFont(FixedPitchFont());
    auto* model = new TextGridModel(grid, shownColumns, [this, &grid] { WritePendingView(s, grid); }, view);
    grids.push_back(model);
    view->setModel(model);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setSelectionBehavior(QAbstractItemView::SelectItems);
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view->setWordWrap(false);
    view->setTextElideMode(Qt::ElideNone);
    view->setCornerButtonEnabled(false);
    // Tab leaves a grid for the next control; the arrows move within it.
    view->setTabKeyNavigation(false);
    view->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    view->verticalHeader()->hide();
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setMinimumSectionSize(Px(15));
    view->verticalHeader()->setDefaultSectionSize(Px(15));
    QHeaderView* header = view->horizontalHeader();
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setHighlightSections(false);
    header->setStretchLastSection(false);
    header->setMinimumSectionSize(Px(8));
    header->setFixedHeight(Px(15));
    header->setTextElideMode(Qt::ElideNone);
    Columns columns{view, r.width(), {}};
    for (int c = 0; c < static_cast<int>(widths.size()) && c < shownColumns; ++c) {
        columns.widths.push_back(Px(widths[static_cast<size_t>(c)]));
        view->setColumnWidth(c, columns.widths.back());
    }
    columnSets.push_back(std::move(columns));
    return view;
}

QListView* MainWindow::Impl::AddList(QWidget* parent, const char* name, const TextList& list, QRect r)
{
    auto* view = new QListView(parent);
    view->setObjectName(QLatin1String(name));
    view->setGeometry(r);
    // A project's text can run to hundreds of thousands of lines.
    view->setUniformItemSizes(true);
    view->setLayoutMode(QListView::SinglePass);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    auto* model = new TextListModel(list, view);
    lists.push_back(model);
    view->setModel(model);
    return view;
}

}  // namespace rq::qt
