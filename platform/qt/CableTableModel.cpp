#include "platform/qt/CableTableModel.h"

#include "platform/Windowing.h"
#include "platform/qt/LocaleCodec.h"

#include <QScopedValueRollback>

#include <algorithm>

namespace {

constexpr int kLvcfmtRight = 1;
constexpr int kLvcfmtCenter = 2;

}  // namespace

CCableTableModel::CCableTableModel(const CLocaleCodec& codec, QObject* parent)
    : QAbstractTableModel(parent), m_codec(codec) {}

CCableTableModel::~CCableTableModel() {
    if (m_table) m_table->SetObserver(nullptr);
}

void CCableTableModel::SetTable(IListSource* table) {
    if (m_table) m_table->SetObserver(nullptr);
    m_table = table;
    if (m_table) m_table->SetObserver(this);
    ResetRows();
}

void CCableTableModel::InsertColumn(int column, const QString& heading, int format) {
    column = std::clamp(column, 0, static_cast<int>(m_columns.size()));
    beginInsertColumns(QModelIndex(), column, column);
    m_columns.insert(m_columns.begin() + column, SColumn{heading, format});
    endInsertColumns();
}

void CCableTableModel::SetSelectionListener(std::function<void(int)> listener) {
    m_selectionListener = std::move(listener);
}

int CCableTableModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : m_rowCount; }

int CCableTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_columns.size());
}

QVariant CCableTableModel::data(const QModelIndex& index, int role) const {
    if (!m_table || !index.isValid()) return {};
    if (role == Qt::TextAlignmentRole) return Alignment(index.column());
    if (role != Qt::DisplayRole) return {};
    // During a removal the views may still ask for a row the table no longer has.
    if (index.row() >= m_table->GetItemCount() || index.column() >= m_table->GetColumnCount()) return {};
    return ShownText(m_table->GetCellTextView(index.row(), index.column()));
}

QString CCableTableModel::ShownText(std::string_view cell) const {
    bool cut = false;
    QString shown = m_codec.ToQString(cell, kMaxShownCellChars, cut);
    if (cut) shown.append(QChar(0x2026));  // an ellipsis
    return shown;
}

QVariant CCableTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount()) return {};
    if (role == Qt::DisplayRole) return m_columns[static_cast<std::size_t>(section)].heading;
    if (role == Qt::TextAlignmentRole) return Alignment(section);
    return {};
}

Qt::ItemFlags CCableTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

void CCableTableModel::OnTableReset() { ResetRows(); }

void CCableTableModel::OnRowInserted(int row) {
    if (row < 0 || row > m_rowCount) return ResetRows();
    {
        const QScopedValueRollback changing(m_changingRows, true);
        beginInsertRows(QModelIndex(), row, row);
        ++m_rowCount;
        endInsertRows();
    }
    TellSelection();
}

void CCableTableModel::OnRowDeleted(int row) {
    if (row < 0 || row >= m_rowCount) return ResetRows();
    {
        const QScopedValueRollback changing(m_changingRows, true);
        beginRemoveRows(QModelIndex(), row, row);
        --m_rowCount;
        endRemoveRows();
    }
    TellSelection();
}

void CCableTableModel::OnCellChanged(int row, int column) {
    if (row < 0 || row >= m_rowCount || column < 0 || column >= columnCount()) return;
    const QModelIndex cell = index(row, column);
    emit dataChanged(cell, cell);
}

void CCableTableModel::OnSelectionChanged(int) { TellSelection(); }

void CCableTableModel::ResetRows() {
    {
        const QScopedValueRollback changing(m_changingRows, true);
        beginResetModel();
        m_rowCount = m_table ? m_table->GetItemCount() : 0;
        endResetModel();
    }
    TellSelection();
}

void CCableTableModel::TellSelection() {
    if (m_selectionListener) m_selectionListener(m_table ? m_table->GetSelectedRow() : -1);
}

QVariant CCableTableModel::Alignment(int column) const {
    const int format = column < columnCount() ? m_columns[static_cast<std::size_t>(column)].format : kLvcfmtLeft;
    const Qt::Alignment horizontal = format == kLvcfmtRight    ? Qt::AlignRight
                                     : format == kLvcfmtCenter ? Qt::AlignHCenter
                                                               : Qt::AlignLeft;
    return QVariant::fromValue(horizontal | Qt::AlignVCenter);
}
