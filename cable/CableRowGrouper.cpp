#include "cable/CableRowGrouper.h"

void CCableRowGrouper::KeepCells() {
    for (; m_keptCount < m_cellCount; ++m_keptCount) {
        m_kept[m_keptCount].assign(m_cells[m_keptCount]);
        m_cells[m_keptCount] = m_kept[m_keptCount];
    }
}
