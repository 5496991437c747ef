#pragma once
// The item model through which a list view displays a list source: it reads cells from the source
// on demand and keeps no rows of its own, only the number of rows it has announced to its views.
// As the source's observer it turns each change into the model's signals.

#include "platform/ListSource.h"

#include <QAbstractTableModel>
#include <QString>

#include <functional>
#include <string_view>
#include <vector>

class CLocaleCodec;

class CCableTableModel final : public QAbstractTableModel, public IListObserver {
public:
    CCableTableModel(const CLocaleCodec& codec, QObject* parent);
    ~CCableTableModel() override;

    // Displays table (becoming its observer) instead of the table shown so far; nullptr shows none.
    void SetTable(IListSource* table);
    IListSource* GetTable() const { return m_table; }
    // Inserts display column column (0..count) with heading and alignment format (kLvcfmtLeft...);
    // display column n shows the table's column n.
    void InsertColumn(int column, const QString& heading, int format);
    // listener is called with the table's selected row after each change of the rows or the selection.
    void SetSelectionListener(std::function<void(int)> listener);
    // True while rows are being inserted, removed or reset: selection moves that views make
    // meanwhile are their own, not the user's.
    bool IsChangingRows() const { return m_changingRows; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    void OnTableReset() override;
    void OnRowInserted(int row) override;
    void OnRowDeleted(int row) override;
    void OnCellChanged(int row, int column) override;
    void OnSelectionChanged(int row) override;

private:
    struct SColumn {
        QString heading;
        int format;
    };

    // What the view shows of cell: its first kMaxShownCellChars characters, and an ellipsis when
    // there are more.
    QString ShownText(std::string_view cell) const;
    void ResetRows();
    void TellSelection();
    QVariant Alignment(int column) const;

    const CLocaleCodec& m_codec;
    IListSource* m_table = nullptr;
    std::vector<SColumn> m_columns;
    int m_rowCount = 0;
    bool m_changingRows = false;
    std::function<void(int)> m_selectionListener;
};
