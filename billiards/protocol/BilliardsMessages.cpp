#include "billiards/protocol/BilliardsMessages.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace protocol {

namespace {

// The rotation of a packed record sits at an odd address for the compiler:
// reach its entries by copying, never through a reference or pointer.
int32_t rotationAt(const SphereRecord& s, int k) {
    int32_t v;
    std::memcpy(
        &v, reinterpret_cast<const unsigned char*>(&s) + offsetof(SphereRecord, rotation) + 4 * k,
        4);
    return v;
}

void setRotationAt(SphereRecord& s, int k, int32_t v) {
    std::memcpy(reinterpret_cast<unsigned char*>(&s) + offsetof(SphereRecord, rotation) + 4 * k, &v,
                4);
}

constexpr int kRotationEntries = 12;

} // namespace

void CFieldWriter::sphere(const SphereRecord& s) {
    m_w.i16(s.index);
    m_w.pad(2);
    m_w.i32(s.m_nX);
    m_w.i32(s.m_nY);
    m_w.i32(s.m_nZ);
    m_w.i16(s.m_nStatus);
    m_w.pad(2);
    for (int k = 0; k < kRotationEntries; ++k)
        m_w.i32(rotationAt(s, k));
}

void CFieldReader::sphere(SphereRecord& s) {
    s.index = m_r.i16();
    m_r.skip(2);
    s.reserved0 = 0;
    s.m_nX = m_r.i32();
    s.m_nY = m_r.i32();
    s.m_nZ = m_r.i32();
    s.m_nStatus = m_r.i16();
    m_r.skip(2);
    s.reserved1 = 0;
    for (int k = 0; k < kRotationEntries; ++k)
        setRotationAt(s, k, m_r.i32());
}

SphereArray SpheresFromDesk(int num, const SphereRecord* info) {
    SphereArray out{};
    const int n = info ? std::clamp(num, 0, kSphereRecordCount) : 0;
    for (int i = 0; i < n; ++i) {
        // Field by field: the desk's reserved halves are not ours to forward.
        SphereRecord& s = out[std::size_t(i)];
        s.index = info[i].index;
        s.m_nX = info[i].m_nX;
        s.m_nY = info[i].m_nY;
        s.m_nZ = info[i].m_nZ;
        s.m_nStatus = info[i].m_nStatus;
        for (int k = 0; k < kRotationEntries; ++k)
            setRotationAt(s, k, rotationAt(info[i], k));
    }
    return out;
}

CCrash_End_InStart CCrash_End_InStart::FromDesk(uint16_t seat, int num, const SphereRecord* info,
                                                const JudgeRecord& jg) {
    CCrash_End_InStart m;
    m.m_nSeatNo = seat;
    m.m_Sphere = SpheresFromDesk(num, info);
    m.m_nFirst_Gone = jg.m_nFirst_Gone;
    m.m_nNum_TouchDesk = jg.m_nNum_TouchDesk;
    return m;
}

CCrash_End_InPlay CCrash_End_InPlay::FromDesk(uint16_t seat, int num, const SphereRecord* info,
                                              const JudgeRecord& jg) {
    CCrash_End_InPlay m;
    m.m_nSeatNo = seat;
    m.m_Sphere = SpheresFromDesk(num, info);
    m.m_bIsTouch_Nothing = jg.m_bIsTouch_Nothing;
    // The server wants "touched own group first", the desk reports the
    // opposite fact; only the exact value 1 means "touched another first".
    m.m_bIsTouch_MySelf = jg.m_bIsTouch_Other == 1 ? 0 : 1;
    m.m_bIsTouch_No_Desk = jg.m_bIsTouch_No_Desk;
    return m;
}

} // namespace protocol
