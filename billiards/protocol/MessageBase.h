#pragma once
// What every message class shares. A message describes its body once, in a
// static Fields(self, io) function listing its fields in wire order; the same
// description converts the fields to big-endian bytes (Build) and back
// (Parse), so the two directions can never disagree about a layout.

#include "desk/model/SphereRecord.h"
#include "platform/text/GbkBytes.h"
#include "platform/wire/BodyReader.h"
#include "platform/wire/BodyWriter.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace protocol {

// Marks "no message" in the type table.
struct CNone {};

// A ball array on the wire: always sixteen records.
using SphereArray = std::array<SphereRecord, kSphereRecordCount>;
inline constexpr std::size_t kSphereWireSize = 68;
inline constexpr std::size_t kSphereArrayWireSize = kSphereWireSize * kSphereRecordCount; // 1088

// Writes fields to a body.
class CFieldWriter {
public:
    void u16(uint16_t v) { m_w.u16(v); }
    void i16(int16_t v) { m_w.i16(v); }
    void u32(uint32_t v) { m_w.u32(v); }
    void i32(int32_t v) { m_w.i32(v); }
    void pad(std::size_t n) { m_w.pad(n); }
    template <std::size_t N> void text(const char (&field)[N]) {
        m_w.text(platform::gbk::fieldText(field), N);
    }
    void sphere(const SphereRecord& s);
    void spheres(const SphereArray& a) {
        for (const auto& s : a)
            sphere(s);
    }

    platform::CBodyWriter& writer() { return m_w; }
    std::vector<uint8_t> take() { return m_w.take(); }

private:
    platform::CBodyWriter m_w;
};

// Reads fields from a body; every read is bounded by the body.
class CFieldReader {
public:
    explicit CFieldReader(std::span<const uint8_t> body) : m_r(body) {}
    void u16(uint16_t& v) { v = m_r.u16(); }
    void i16(int16_t& v) { v = m_r.i16(); }
    void u32(uint32_t& v) { v = m_r.u32(); }
    void i32(int32_t& v) { v = m_r.i32(); }
    void pad(std::size_t n) { m_r.skip(n); }
    // A fixed text field of N bytes; the copy is always terminated even when
    // the sender filled the field to the last byte.
    template <std::size_t N> void text(char (&field)[N]) { m_r.text(field, N); }
    void sphere(SphereRecord& s);
    void spheres(SphereArray& a) {
        for (auto& s : a)
            sphere(s);
    }

    platform::CBodyReader& reader() { return m_r; }
    bool ok() const { return m_r.ok(); }

private:
    platform::CBodyReader m_r;
};

// Base of the messages whose body has a fixed size. A received body shorter
// than that size is refused; bytes beyond it are ignored.
template <class Derived, uint16_t Type, std::size_t BodySize> struct CFixedMessage {
    static constexpr uint16_t kType = Type;
    static constexpr std::size_t kBodySize = BodySize;
    static constexpr std::size_t kMinBodySize = BodySize;

    std::vector<uint8_t> Build() const {
        CFieldWriter w;
        Derived::Fields(static_cast<const Derived&>(*this), w);
        return w.take();
    }

    bool Parse(std::span<const uint8_t> body) {
        if (body.size() < kBodySize)
            return false;
        CFieldReader r(body.first(kBodySize));
        Derived::Fields(static_cast<Derived&>(*this), r);
        return r.ok();
    }
};

// Copies the first `num` records of a desk ball array, leaving the rest
// zero. `num` outside 0 … 16 is clamped.
SphereArray SpheresFromDesk(int num, const SphereRecord* info);

} // namespace protocol
