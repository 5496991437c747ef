#include "cable/CharLengthTable.h"

#include <map>
#include <mutex>

CCharLengthTable::CCharLengthTable() { m_leads.fill(ELead::Single); }

void CCharLengthTable::AddPair(unsigned char lead, unsigned char trail) {
    m_leads[lead] = ELead::Pair;
    m_trails[lead - 0x80].set(trail);
    m_anyTrail.set(trail);
}

void CCharLengthTable::SetOther(unsigned char lead) {
    m_leads[lead] = ELead::Other;
    m_hasOther = true;
}

bool CCharLengthTable::AlwaysBeginsChar(char c) const {
    return !m_hasOther && !m_anyTrail.test(static_cast<unsigned char>(c));
}

std::shared_ptr<const CCharLengthTable> CCharLengthTable::ForCharset(const std::string& name,
                                                                     const std::function<CCharLengthTable()>& build) {
    static std::mutex guard;
    static std::map<std::string, std::shared_ptr<const CCharLengthTable>> tables;
    const std::lock_guard<std::mutex> lock(guard);
    std::shared_ptr<const CCharLengthTable>& table = tables[name];
    if (table == nullptr) {
        table = std::make_shared<const CCharLengthTable>(build());
    }
    return table;
}
