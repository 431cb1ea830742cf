#include "ui/form2.h"

#include "model/numbers.h"
#include "ui/form1.h"
#include "ui/history.h"
#include "ui/status.h"
#include "views/grid_views.h"

namespace rq {

TForm2::TForm2(TForm1& main) : main_(main) {}

ComboBox& TForm2::ComboBox1() { return main_.s.Form2.ComboBox1; }
ComboBox& TForm2::ComboBox2() { return main_.s.Form2.ComboBox2; }

void TForm2::Show()
{
    if (!visible_) {
        visible_ = true;
        ++version_;
        FormShow();
    }
    if (OnBringToFront)
        OnBringToFront();
}

void TForm2::Hide()
{
    if (!visible_)
        return;
    visible_ = false;
    ++version_;
}

void TForm2::MakeStayOnTop()
{
    if (stayOnTop_)
        return;
    stayOnTop_ = true;
    visible_ = true;
    ++version_;
    // Changing the kind of window shows it anew.
    FormShow();
    if (OnBringToFront)
        OnBringToFront();
}

void TForm2::FormShow() { RefreshLists(); }

void TForm2::RefreshLists()
{
    std::vector<std::string> items = main_.s.ComboBox1.Items();
    items.insert(items.begin(), "All");
    ComboBox1().SetItems(items);
    ComboBox2().SetItems(items);
}

bool TForm2::Matches(int row, const std::string& selector) const
{
    if (selector == "All")
        return true;
    return main_.s.StringGrid1.Cell(kColTitle, row).substr(0, 3) == selector;
}

void TForm2::SetItemColumn(int column, const std::string& selector, const std::string& text)
{
    const StepScope step(main_);
    ProjectState& s = main_.s;
    for (int r = 1; r < s.StringGrid1.RowCount(); ++r)
        if (Matches(r, selector))
            s.StringGrid1.SetCell(column, r, text);
    UpdateVTSDataToStringGrid(s);
}

void TForm2::Button8Click()
{
    const StepScope step(main_);
    main_.NameStep("Set the width of " + ComboBox2().Text() + " to " + ComboBox3.Text());
    SetItemColumn(kColHalfWidth, ComboBox2().Text(), ComboBox3.Text() == "Full" ? "0" : "1");
}

void TForm2::Button1Click()
{
    const StepScope step(main_);
    main_.NameStep("Set the passes of " + ComboBox1().Text() + " to " + ComboBox4.Text());
    SetItemColumn(kColPass, ComboBox1().Text(), ComboBox4.Text());
}

void TForm2::Button2Click()
{
    const StepScope step(main_);
    main_.NameStep("Set the passes below " + GroupedNumber(Edit3.Text()) + " kbit/s to " + ComboBox5.Text());
    ProjectState& s = main_.s;
    main_.ReadingNumbers({{Edit3, "Bitrates below (ECL Parameter Modifer)", false, true}}, [&] {
        for (int r = 1; r < s.StringGrid1.RowCount(); ++r) {
            const Extended b = ParseReal(s.StringGrid1.Cell(kColBitrate, r));
            const std::int32_t t = ParseInteger(Edit3.Text());
            if (b < t)
                s.StringGrid1.SetCell(kColPass, r, ComboBox5.Text());
        }
    });
    UpdateVTSDataToStringGrid(s);
}

bool TForm2::CommandsEnabled() const { return main_.s.Button11.Enabled(); }

void TForm2::Button3Click()
{
    Hide();
    main_.SetPageIndex(0);
}

}  // namespace rq
