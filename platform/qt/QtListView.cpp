#include "platform/qt/QtListView.h"

#include "platform/ColumnWidths.h"
#include "platform/Windowing.h"
#include "res/Layout.h"

#include <QHeaderView>
#include <QScopedValueRollback>
#include <QScrollBar>

#include <algorithm>

CQtListView::CQtListView(const SControlLayout& layout, const CLocaleCodec& codec, QWidget* parent)
    : QTableView(parent), m_model(codec, this) {
    setModel(&m_model);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSortingEnabled(false);
    setTabKeyNavigation(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setShowGrid(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    if (!(layout.style & kCsBorder)) setFrameShape(QFrame::NoFrame);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setVisible((layout.style & kCsReport) != 0);
    UseFixedRowHeight();
    if (!(layout.style & kCsShowSelAlways)) ShowSelectionOnlyWithFocus();
    m_model.SetSelectionListener([this](int row) { ShowTableSelection(row); });
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { OnViewSelectionChanged(); });
}

void CQtListView::AttachTable(IListSource& table) { m_model.SetTable(&table); }

void CQtListView::InsertColumn(int column, const QString& heading, int format, int width) {
    m_model.InsertColumn(column, heading, format);
    const int inserted = std::clamp(column, 0, m_model.columnCount() - 1);
    m_columnWidths.insert(m_columnWidths.begin() + std::min<std::size_t>(inserted, m_columnWidths.size()), width);
    FitColumns(m_columnWidths);
    // A selection made while there were no columns to show it in shows now.
    if (const IListSource* table = m_model.GetTable()) ShowTableSelection(table->GetSelectedRow());
}

void CQtListView::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    std::vector<int> shown;
    for (int column = 0; column < m_model.columnCount(); ++column) shown.push_back(columnWidth(column));
    FitColumns(shown);
}

void CQtListView::FitColumns(const std::vector<int>& widths) {
    std::vector<int> needs;
    for (int column = 0; column < m_model.columnCount(); ++column) {
        needs.push_back(horizontalHeader()->sectionSizeHint(column));
    }
    // Room is kept for the scroll bar that a longer list shows.
    const int room = width() - 2 * frameWidth() - verticalScrollBar()->sizeHint().width();
    const std::vector<int> fitted = FitColumnWidths(widths, needs, room);
    for (std::size_t column = 0; column < fitted.size(); ++column) {
        setColumnWidth(static_cast<int>(column), fitted[column]);
    }
}

void CQtListView::SetExtendedStyle(unsigned styles) {
    m_extendedStyle = styles;
    setShowGrid((styles & kLvsExGridLines) != 0);
}

void CQtListView::ScrollRowIntoView(int row) {
    if (row < 0 || row >= m_model.rowCount() || m_model.columnCount() == 0) return;
    scrollTo(m_model.index(row, 0), QAbstractItemView::EnsureVisible);
}

void CQtListView::keyboardSearch(const QString&) {}

void CQtListView::ShowSelectionOnlyWithFocus() {
    QPalette colours = palette();
    colours.setColor(QPalette::Inactive, QPalette::Highlight, colours.color(QPalette::Inactive, QPalette::Base));
    colours.setColor(QPalette::Inactive, QPalette::HighlightedText, colours.color(QPalette::Inactive, QPalette::Text));
    setPalette(colours);
}

void CQtListView::UseFixedRowHeight() {
    QHeaderView* rows = verticalHeader();
    rows->setVisible(false);
    rows->setMinimumSectionSize(1);
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(fontMetrics().height() + 4);
}

void CQtListView::OnViewSelectionChanged() {
    IListSource* table = m_model.GetTable();
    if (m_showingTableSelection || m_model.IsChangingRows() || !table) return;
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    const int row = selected.isEmpty() ? -1 : selected.first().row();
    if (row >= table->GetItemCount() || row == table->GetSelectedRow()) return;
    try {
        table->SelectRow(row);
    } catch (...) {
        // The row was checked above; nothing may leave a toolkit slot.
    }
}

void CQtListView::ShowTableSelection(int row) {
    const QScopedValueRollback showing(m_showingTableSelection, true);
    if (row < 0 || row >= m_model.rowCount() || m_model.columnCount() == 0) {
        selectionModel()->clearSelection();
        return;
    }
    selectionModel()->setCurrentIndex(m_model.index(row, 0),
                                      QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}
