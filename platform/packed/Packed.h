#pragma once
// Records that cross between the program and its plugins are plain packed
// little-endian structs handed over by address. Every such record states its
// size and the offset of every field with the macros below, so a layout slip
// is a compile error rather than a silent mismatch between deliverables.

#include <bit>
#include <cstddef>
#include <cstring>
#include <span>
#include <type_traits>

static_assert(std::endian::native == std::endian::little,
              "the shared records are little-endian in memory");

#define PACKED_RECORD_SIZE(T, n)                                                                   \
    static_assert(sizeof(T) == (n), #T " must be " #n " bytes");                                   \
    static_assert(alignof(T) == 1, #T " must be packed");                                          \
    static_assert(std::is_trivially_copyable_v<T>, #T " must be trivially copyable");              \
    static_assert(std::is_standard_layout_v<T>, #T " must be standard layout")

#define PACKED_FIELD_AT(T, field, off)                                                             \
    static_assert(offsetof(T, field) == (off), #T "::" #field " must be at offset " #off)

namespace platform {

// Copies exactly out.size() records from raw bytes. Returns false, leaving
// `out` untouched, when the bytes are too few.
template <class T> bool readRecords(std::span<const std::byte> bytes, std::span<T> out) {
    static_assert(std::is_trivially_copyable_v<T>);
    if (bytes.size() < out.size_bytes())
        return false;
    std::memcpy(out.data(), bytes.data(), out.size_bytes());
    return true;
}

// Copies the records into raw bytes. Returns false, writing nothing, when the
// destination is too small.
template <class T> bool writeRecords(std::span<const T> in, std::span<std::byte> out) {
    static_assert(std::is_trivially_copyable_v<T>);
    if (out.size() < in.size_bytes())
        return false;
    std::memcpy(out.data(), in.data(), in.size_bytes());
    return true;
}

} // namespace platform
