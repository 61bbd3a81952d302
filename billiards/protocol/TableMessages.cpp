#include "billiards/protocol/TableMessages.h"

namespace protocol {

void CMagic_Action::SetText(std::string_view gbk) {
    m_nTextLength = int16_t(platform::gbk::copyToField(m_sText, gbk));
}

} // namespace protocol
