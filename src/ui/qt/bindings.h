#pragma once
// Ties a Qt widget to its control model. Each Bind... function connects the
// user's input to the model and returns a syncer that mirrors the model into
// the widget with the widget's signals blocked, so that nothing the program
// sets is ever taken for the user's doing. A syncer skips a control whose
// model has not changed since its last run unless it is forced to look.
#include <QString>
#include <functional>

#include "model/controls.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace rq::qt {

class TrackBarWidget;

using CommandRunner = std::function<void(const std::function<void()>&)>;
using Syncer = std::function<void(bool force)>;

// A click runs the handler as a command; enabled state and caption follow the
// model. A caption without an "&" of its own is shown with its first
// `mnemonic` letter (any case) as the Alt+letter key, when it has that letter.
Syncer BindButton(QPushButton* widget, const Button& model, CommandRunner run, std::function<void()> handler,
                  char mnemonic = 0);
// The caption as a button shows it, with the mnemonic marked as above.
QString WithMnemonic(const QString& caption, char mnemonic);
// Typing changes the box's text; an edit box has no handler.
Syncer BindEdit(QLineEdit* widget, EditBox& model);
// An editable drop-down list: typing and picks are the user's changes, handed
// to userSetText as a command (the form's, which runs the selector's change
// handler when it has one).
Syncer BindSelector(QComboBox* widget, const ComboBox& model, CommandRunner run,
                    std::function<void(std::string)> userSetText);
Syncer BindLabel(QLabel* widget, const Label& model);
// Every user move of the thumb goes to userMove as a command (the form's,
// which runs the slider's handler). A press or key that leaves the thumb where
// it was sends nothing.
Syncer BindTrackBar(TrackBarWidget* widget, const TrackBar& model, CommandRunner run,
                    std::function<void(int)> userMove);

}  // namespace rq::qt
