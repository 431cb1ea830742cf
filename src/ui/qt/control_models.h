#pragma once
// Qt item models over the toolkit-free tables. A view asks only for the cells
// it paints, so a grid or a text buffer of any length costs nothing to show.
//
// Each model keeps the row count the view was last told about and changes it
// only in Sync(), with the proper begin/end notifications. Between two syncs
// (for instance while a load processes pending events) the table underneath
// may grow or shrink; cells are read bounds-checked, so a repaint in between
// shows at worst a half-updated picture, never reads past the end.
#include <QAbstractListModel>
#include <QAbstractTableModel>
#include <string>
#include <string_view>
#include <vector>
#include <QString>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "model/controls.h"

namespace rq::qt {

// Project texts are bytes as the files held them: UTF-8 when they are valid
// UTF-8, otherwise read as Latin-1 so that no character is lost from sight.
QString ToQt(std::string_view text);
std::string ToStd(const QString& text);

// The row count a view was last told about. SyncRowCount() is the one place
// it changes, with the begin/end notifications a view needs to stay in step.
template <typename Base>
class RowCountedModel : public Base {
public:
    using Base::Base;

protected:
    // Whether the control changed since the last sync (or a sync is forced);
    // remembers the version it saw.
    bool Changed(std::uint64_t version, bool force)
    {
        if (!force && version == seen_)
            return false;
        seen_ = version;
        return true;
    }
    // Shown cells can be selected, never edited.
    static Qt::ItemFlags ReadOnlyFlags(const QModelIndex& index)
    {
        return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
    }
    void SyncRowCount(int wanted)
    {
        if (wanted > rows_) {
            this->beginInsertRows({}, rows_, wanted - 1);
            rows_ = wanted;
            this->endInsertRows();
        } else if (wanted < rows_) {
            this->beginRemoveRows({}, wanted, rows_ - 1);
            rows_ = wanted;
            this->endRemoveRows();
        }
    }
    int rows_ = 0;
    std::uint64_t seen_ = 0;
};

// A text grid whose row 0 is the header row: the horizontal header shows it,
// model row r is grid row r + 1. Cells can be selected, not edited. A view
// grid's text may be recorded and not written yet: writePending (when given)
// writes it before a cell is read.
class TextGridModel : public RowCountedModel<QAbstractTableModel> {
    Q_OBJECT
public:
    TextGridModel(const TextGrid& grid, int shownColumns, std::function<void()> writePending = {},
                  QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Tells the views what changed since the last sync; nothing when the
    // grid's version is unchanged and force is false.
    void Sync(bool force = false);

    // A line that explains a column: the tip of its cells, and of its header
    // below the header's whole text.
    void SetColumnTip(int column, QString tip);

private:
    const TextGrid& grid_;
    int cols_;
    std::function<void()> writePending_;
    std::vector<std::string> header_;  // the header texts last shown
    std::vector<QString> tips_;        // by column; empty for none
};

// A text buffer, one line per row.
class TextListModel : public RowCountedModel<QAbstractListModel> {
    Q_OBJECT
public:
    explicit TextListModel(const TextList& list, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    void Sync(bool force = false);

private:
    const TextList& list_;
};

// The lock list. The view never changes a check mark itself: a user's toggle
// is handed to onUserToggle, which runs the command; the new state shows after
// the next Sync. Marks set by the program are silent.
class CheckListModel : public RowCountedModel<QAbstractListModel> {
    Q_OBJECT
public:
    CheckListModel(const CheckList& list, std::function<void(int)> onUserToggle, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    void Sync(bool force = false);

private:
    const CheckList& list_;
    std::function<void(int)> onUserToggle_;
};

}  // namespace rq::qt
