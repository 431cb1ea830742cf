#include "ui/qt/bindings.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

#include "ui/qt/control_models.h"
#include "ui/qt/widgets.h"

namespace rq::qt {

QString WithMnemonic(const QString& caption, char mnemonic)
{
    if (mnemonic == 0 || caption.contains(QLatin1Char('&')))
        return caption;
    const qsizetype at = caption.indexOf(QLatin1Char(mnemonic), 0, Qt::CaseInsensitive);
    if (at < 0)
        return caption;
    QString marked = caption;
    marked.insert(at, QLatin1Char('&'));
    return marked;
}

Syncer BindButton(QPushButton* widget, const Button& model, CommandRunner run, std::function<void()> handler,
                  char mnemonic)
{
    QObject::connect(widget, &QPushButton::clicked, widget,
                     [run, handler = std::move(handler)] { run(handler); });
    return [widget, &model, mnemonic, seen = std::uint64_t{0}](bool force) mutable {
        if (!force && model.Version() == seen)
            return;
        seen = model.Version();
        widget->setText(WithMnemonic(ToQt(model.Caption()), mnemonic));
        widget->setEnabled(model.Enabled());
    };
}

Syncer BindEdit(QLineEdit* widget, EditBox& model)
{
    QObject::connect(widget, &QLineEdit::textEdited, widget,
                     [&model](const QString& text) { model.SetText(ToStd(text)); });
    return [widget, &model](bool) {
        // Compared, not versioned: the user's typing changes the model first,
        // and an equal text must not be set again (it would move the cursor).
        const QString text = ToQt(model.Text());
        if (widget->text() != text) {
            const QSignalBlocker block(widget);
            widget->setText(text);
        }
    };
}

Syncer BindSelector(QComboBox* widget, const ComboBox& model, CommandRunner run,
                    std::function<void(std::string)> userSetText)
{
    widget->setEditable(true);
    widget->setInsertPolicy(QComboBox::NoInsert);
    // The text shown must be the text typed: inline completion would show a
    // longer name than the command will read.
    widget->setCompleter(nullptr);
    widget->setMaxVisibleItems(20);
    QObject::connect(widget->lineEdit(), &QLineEdit::textEdited, widget,
                     [run, userSetText](const QString& text) { run([userSetText, t = ToStd(text)] { userSetText(t); }); });
    QObject::connect(widget, &QComboBox::activated, widget, [run, widget, &model, userSetText](int index) {
        // Confirming a typed name that is in the list also "activates" it;
        // the typing already ran the handler, and nothing changes.
        std::string text = ToStd(widget->itemText(index));
        if (text == model.Text())
            return;
        run([userSetText, t = std::move(text)] { userSetText(t); });
    });
    return [widget, &model, seen = std::uint64_t{0}](bool force) mutable {
        if (!force && model.Version() == seen)
            return;
        seen = model.Version();
        const QSignalBlocker block(widget);
        const QSignalBlocker blockEdit(widget->lineEdit());
        QStringList items;
        items.reserve(static_cast<qsizetype>(model.Items().size()));
        for (const std::string& item : model.Items())
            items.append(ToQt(item));
        bool same = widget->count() == items.size();
        for (int i = 0; same && i < items.size(); ++i)
            same = widget->itemText(i) == items[i];
        const QString text = ToQt(model.Text());
        if (!same) {
            widget->clear();
            widget->addItems(items);
        }
        if (!same || widget->currentText() != text) {
            widget->setCurrentIndex(widget->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive));
            if (widget->lineEdit()->text() != text)
                widget->setEditText(text);
        }
    };
}

Syncer BindLabel(QLabel* widget, const Label& model)
{
    return [widget, &model, seen = std::uint64_t{0}](bool force) mutable {
        if (!force && model.Version() == seen)
            return;
        seen = model.Version();
        widget->setText(ToQt(model.Caption()));
        widget->adjustSize();
    };
}

Syncer BindTrackBar(TrackBarWidget* widget, const TrackBar& model, CommandRunner run,
                    std::function<void(int)> userMove)
{
    QObject::connect(widget, &QSlider::valueChanged, widget,
                     [run, userMove](int value) { run([userMove, value] { userMove(value); }); });
    return [widget, &model, seen = std::uint64_t{0}](bool force) mutable {
        // A refused drag leaves the thumb elsewhere than the model: compare.
        if (!force && model.Version() == seen && widget->value() == model.Position())
            return;
        seen = model.Version();
        const QSignalBlocker block(widget);
        widget->setRange(model.Min(), model.Max());
        widget->setPageStep(model.PageSize());
        widget->setSingleStep(1);
        widget->setTickInterval(model.Frequency());
        widget->setValue(model.Position());
    };
}

}  // namespace rq::qt

