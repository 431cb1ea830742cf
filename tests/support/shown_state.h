#pragma once
// Everything the windows show of a project, one line per cell, line, entry or
// control, so that two states can be compared whole.
#include <algorithm>
#include <string>
#include <vector>

#include "ui/form1.h"
#include "ui/form2.h"

inline std::vector<std::string> ShownState(rq::TForm1& form)
{
    rq::ProjectState& s = form.s;
    rq::TForm2& d = form.Form2();
    std::vector<std::string> out;
    for (const rq::TextGrid* g : {&s.StringGrid1, &s.StringGrid2, &s.StringGrid3, &s.StringGrid4, &s.StringGrid5}) {
        out.push_back(std::to_string(g->RowCount()) + " rows");
        for (int r = 0; r < g->RowCount(); ++r)
            for (int c = 0; c < g->ColCount(); ++c)
                out.push_back(std::to_string(c) + "," + std::to_string(r) + ": " + g->Cell(c, r));
    }
    for (const rq::TextList* list : {&s.ListBox1, &s.ListBox2})
        for (int i = 0; i < list->Count(); ++i)
            out.emplace_back((*list)[i]);
    for (int i = 0; i < s.CheckListBox1.Count(); ++i)
        out.push_back(s.CheckListBox1.Text(i) + (s.CheckListBox1.Checked(i) ? " locked" : " free"));
    for (const rq::ComboBox* c : {&s.ComboBox1, &s.ComboBox3, &s.ComboBox4, &s.ComboBox5, &s.ComboBox6, &d.ComboBox1(),
                                  &d.ComboBox2(), &d.ComboBox3, &d.ComboBox4, &d.ComboBox5}) {
        out.push_back(c->Text() + " of");
        for (const std::string& item : c->Items())
            out.back() += " " + item;
    }
    for (const rq::EditBox* e :
         {&s.Edit1, &s.Edit2, &s.Edit5, &s.Edit7, &s.Edit8, &s.Edit9, &s.Edit10, &s.Edit11, &d.Edit3})
        out.push_back(e->Text());
    for (const rq::TrackBar* t : {&s.TrackBar1, &s.TrackBar2})
        out.push_back(std::to_string(t->Min()) + ".." + std::to_string(t->Max()) + " at " +
                      std::to_string(t->Position()));
    out.push_back(s.Label2.Caption() + " " + s.Label25.Caption());
    for (const rq::Button* b : {&s.Button1, &s.Button2, &s.Button3, &s.Button4, &s.Button5, &s.Button7, &s.Button9,
                                &s.Button10, &s.Button11})
        out.push_back(b->Caption() + (b->Enabled() ? " enabled" : " disabled"));
    return out;
}

// The lines in which two shown states differ, so a failed comparison names the very cells.
inline std::vector<std::string> Differences(const std::vector<std::string>& a, const std::vector<std::string>& b)
{
    std::vector<std::string> out;
    for (size_t i = 0; i < std::max(a.size(), b.size()); ++i) {
        const std::string x = i < a.size() ? a[i] : "(none)", y = i < b.size() ? b[i] : "(none)";
        if (x != y)
            out.push_back(std::to_string(i) + ": " + x + " | " + y);
    }
    return out;
}
