#pragma once
// The encoder parameter dialog's form model: pass counts and width flags per item.
#include <functional>
#include <string>

#include "model/project_state.h"

namespace rq {

class TForm1;

// The dialog's own controls: a plain value, copied whole into every undo step.
// Its two VTS selectors live in the project state (Form2.ComboBox1 for
// passes, Form2.ComboBox2 for width), since the aggregation sets their text.
struct Form2Controls {
    ComboBox ComboBox3{"Half", {"Full", "Half"}};        // width: "Full" or "Half"
    ComboBox ComboBox4{"5", {"2", "3", "4", "5", "6"}};  // passes
    ComboBox ComboBox5{"5", {"2", "3", "4", "5", "6"}};  // passes below the threshold
    EditBox Edit3{"2000"};                               // the bitrate threshold
    bool operator==(const Form2Controls&) const = default;
};

class TForm2 : public Form2Controls {
public:
    explicit TForm2(TForm1& main);

    static constexpr const char* kCaption = "ECL Parameter Modifer";

    ComboBox& ComboBox1();  // passes: VTS
    ComboBox& ComboBox2();  // width: VTS
    Form2Controls& Controls() { return *this; }

    bool Visible() const { return visible_; }
    // The commands have a project to work on: the main window loaded one.
    bool CommandsEnabled() const;
    bool StayOnTop() const { return stayOnTop_; }
    // Showing runs FormShow when the dialog was hidden.
    void Show();
    void Hide();
    // Turns the dialog into a stay-on-top window; the change shows it anew.
    void MakeStayOnTop();

    // Handlers.
    void FormShow();
    // Rebuilds the two VTS lists from the main page's "Change" selector, "All"
    // on top; the selectors keep their texts.
    void RefreshLists();
    void Button8Click();  // width
    void Button1Click();  // passes
    void Button2Click();  // passes below a bitrate threshold
    void Button3Click();  // "&Close"

    // Window hooks: bring to front, raised whenever the dialog is shown or re-shown.
    std::function<void()> OnBringToFront;
    std::uint64_t Version() const { return version_; }

private:
    bool Matches(int row, const std::string& selector) const;
    // Writes text into one column of every item of the title set in selector ("All": every item).
    void SetItemColumn(int column, const std::string& selector, const std::string& text);
    TForm1& main_;
    bool visible_ = false;
    bool stayOnTop_ = false;
    std::uint64_t version_ = 1;
};

}  // namespace rq
