#include "ui/qt/control_models.h"

#include <QStringDecoder>
#include <algorithm>

namespace rq::qt {

QString ToQt(std::string_view text)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString decoded = utf8.decode(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
    if (!utf8.hasError())
        return decoded;
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

std::string ToStd(const QString& text) { return text.toStdString(); }

// ---------------------------------------------------------------- TextGridModel

TextGridModel::TextGridModel(const TextGrid& grid, int shownColumns, std::function<void()> writePending,
                             QObject* parent)
    : RowCountedModel(parent),
      grid_(grid),
      cols_(std::min(shownColumns, grid.ColCount())),
      writePending_(std::move(writePending))
{
    Sync(true);
}

int TextGridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int TextGridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : cols_; }

QVariant TextGridModel::data(const QModelIndex& index, int role) const
{
    if (index.isValid() && role == Qt::ToolTipRole && static_cast<size_t>(index.column()) < tips_.size() &&
        !tips_[static_cast<size_t>(index.column())].isEmpty())
        return tips_[static_cast<size_t>(index.column())];
    if (!index.isValid() || role != Qt::DisplayRole)
        return {};
    if (writePending_)
        writePending_();
    return ToQt(grid_.Cell(index.column(), index.row() + 1));
}

QVariant TextGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    // Narrow columns cut their headers; the tip shows the whole text.
    if (orientation != Qt::Horizontal || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return {};
    const QString title = ToQt(grid_.Cell(section, 0));
    if (role == Qt::ToolTipRole && section >= 0 && static_cast<size_t>(section) < tips_.size() &&
        !tips_[static_cast<size_t>(section)].isEmpty())
        return title.isEmpty() ? tips_[static_cast<size_t>(section)]
                               : title + QLatin1Char('\n') + tips_[static_cast<size_t>(section)];
    return title;
}

void TextGridModel::SetColumnTip(int column, QString tip)
{
    if (column < 0)
        return;
    if (tips_.size() <= static_cast<size_t>(column))
        tips_.resize(static_cast<size_t>(column) + 1);
    tips_[static_cast<size_t>(column)] = std::move(tip);
}

Qt::ItemFlags TextGridModel::flags(const QModelIndex& index) const
{
    return ReadOnlyFlags(index);
}

void TextGridModel::Sync(bool force)
{
    if (!Changed(grid_.Version(), force))
        return;
    SyncRowCount(std::max(grid_.RowCount() - 1, 0));
    // A header that has not changed is not announced: the view would lay its
    // header out again and paint a second time.
    // Header texts are read raw: reading a view's cells would make the text of
    // every row, which a hidden page never needs.
    bool headerChanged = force || header_.size() != static_cast<size_t>(cols_);
    header_.resize(static_cast<size_t>(cols_));
    for (int c = 0; c < cols_; ++c) {
        const std::string_view text = grid_.Cell(c, 0);
        if (header_[static_cast<size_t>(c)] != text) {
            header_[static_cast<size_t>(c)] = text;
            headerChanged = true;
        }
    }
    if (cols_ > 0 && headerChanged)
        emit headerDataChanged(Qt::Horizontal, 0, cols_ - 1);
    if (rows_ > 0 && cols_ > 0)
        emit dataChanged(index(0, 0), index(rows_ - 1, cols_ - 1), {Qt::DisplayRole});
}

// ---------------------------------------------------------------- TextListModel

TextListModel::TextListModel(const TextList& list, QObject* parent) : RowCountedModel(parent), list_(list)
{
    Sync(true);
}

int TextListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

QVariant TextListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || role != Qt::DisplayRole || index.row() >= list_.Count())
        return {};
    return ToQt(list_[index.row()]);
}

Qt::ItemFlags TextListModel::flags(const QModelIndex& index) const
{
    return ReadOnlyFlags(index);
}

void TextListModel::Sync(bool force)
{
    if (!Changed(list_.Version(), force))
        return;
    SyncRowCount(list_.Count());
    if (rows_ > 0)
        emit dataChanged(index(0), index(rows_ - 1), {Qt::DisplayRole});
}

// ---------------------------------------------------------------- CheckListModel

CheckListModel::CheckListModel(const CheckList& list, std::function<void(int)> onUserToggle, QObject* parent)
    : RowCountedModel(parent), list_(list), onUserToggle_(std::move(onUserToggle))
{
    Sync(true);
}

int CheckListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

QVariant CheckListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= list_.Count())
        return {};
    if (role == Qt::DisplayRole)
        return ToQt(list_.Text(index.row()));
    if (role == Qt::CheckStateRole)
        return list_.Checked(index.row()) ? Qt::Checked : Qt::Unchecked;
    return {};
}

bool CheckListModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || role != Qt::CheckStateRole || index.row() >= list_.Count())
        return false;
    const bool wanted = value.toInt() == Qt::Checked;
    if (wanted == list_.Checked(index.row()))
        return false;
    if (onUserToggle_)
        onUserToggle_(index.row());
    return true;
}

Qt::ItemFlags CheckListModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable : Qt::NoItemFlags;
}

void CheckListModel::Sync(bool force)
{
    if (!Changed(list_.Version(), force))
        return;
    SyncRowCount(list_.Count());
    if (rows_ > 0)
        emit dataChanged(index(0), index(rows_ - 1), {Qt::DisplayRole, Qt::CheckStateRole});
}

}  // namespace rq::qt
