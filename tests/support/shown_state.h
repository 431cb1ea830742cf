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
    std::vector<std::string> out;
    auto put = [&](const std::string& name, const std::string& what) { out.push_back(name + ": " + what); };
    const std::pair<const char*, const rq::TextGrid*> grids[] = {{"items", &s.StringGrid1},
                                                                 {"summary", &s.StringGrid2},
                                                                 {"main", &s.StringGrid3},
                                                                 {"item details", &s.StringGrid4},
                                                                 {"VTS details", &s.StringGrid5}};
    for (const auto& [name, g] : grids) {
        put(name, std::to_string(g->RowCount()) + " rows");
        for (int r = 0; r < g->RowCount(); ++r)
            for (int c = 0; c < g->ColCount(); ++c)
                put(std::string(name) + " " + std::to_string(c) + "," + std::to_string(r), g->Cell(c, r));
    }
    for (const auto& [name, list] : {std::pair{"ECL", &s.ListBox1}, std::pair{"INF", &s.ListBox2}})
        for (int i = 0; i < list->Count(); ++i)
            put(name, std::string((*list)[i]));
    for (int i = 0; i < s.CheckListBox1.Count(); ++i)
        put("lock " + s.CheckListBox1.Text(i), s.CheckListBox1.Checked(i) ? "checked" : "free");
    rq::TForm2& d = form.Form2();
    const std::pair<const char*, const rq::ComboBox*> selectors[] = {
        {"ComboBox1", &s.ComboBox1},   {"ComboBox3", &s.ComboBox3},          {"ComboBox4", &s.ComboBox4},
        {"ComboBox5", &s.ComboBox5},   {"ComboBox6", &s.ComboBox6},          {"passes VTS", &d.ComboBox1()},
        {"width VTS", &d.ComboBox2()}, {"width", &d.ComboBox3},              {"passes", &d.ComboBox4},
        {"passes below", &d.ComboBox5}};
    for (const auto& [name, c] : selectors) {
        std::string items;
        for (const std::string& item : c->Items())
            items += item + ";";
        put(name, c->Text() + " [" + items + "]");
    }
    const std::pair<const char*, const rq::EditBox*> boxes[] = {
        {"Edit1", &s.Edit1}, {"Edit2", &s.Edit2}, {"Edit5", &s.Edit5},   {"Edit7", &s.Edit7},
        {"Edit8", &s.Edit8}, {"Edit9", &s.Edit9}, {"Edit10", &s.Edit10}, {"Edit11", &s.Edit11}, {"Edit3", &d.Edit3}};
    for (const auto& [name, e] : boxes)
        put(name, e->Text());
    for (const auto& [name, t] : {std::pair{"TrackBar1", &s.TrackBar1}, std::pair{"TrackBar2", &s.TrackBar2}})
        put(name, std::to_string(t->Min()) + ".." + std::to_string(t->Max()) + " at " + std::to_string(t->Position()));
    put("Label2", s.Label2.Caption());
    put("Label25", s.Label25.Caption());
    const rq::Button* buttons[] = {&s.Button1, &s.Button2, &s.Button3, &s.Button4, &s.Button5,
                                   &s.Button7, &s.Button9, &s.Button10, &s.Button11};
    for (const rq::Button* b : buttons)
        put(b->Caption(), b->Enabled() ? "enabled" : "disabled");
    return out;
}

// The lines in which two shown states differ ("-" first, "+" second), so a
// failed comparison names the very cells.
inline std::vector<std::string> Differences(const std::vector<std::string>& a, const std::vector<std::string>& b)
{
    std::vector<std::string> out;
    for (size_t i = 0; i < std::max(a.size(), b.size()); ++i) {
        const std::string x = i < a.size() ? a[i] : "(none)";
        const std::string y = i < b.size() ? b[i] : "(none)";
        if (x != y)
            out.push_back("- " + x + " + " + y);
    }
    return out;
}
