#pragma once
// The resource directory the host names before the desk is initialised, and
// the paths of the files under it. Paths stay in the file system's encoding.
//
// The desk keeps picture paths in fixed fields of 250 bytes. A directory so
// long that one of its picture paths would not fit is refused as a whole:
// nothing is loaded from it, rather than some files from a cut-off path.

#include <optional>
#include <string>
#include <string_view>

namespace desk::media {

class CMediaDirectory {
public:
    // Bytes of a path field, terminating zero included.
    static constexpr std::size_t kPathField = 250;

    // Stores dir (given without a trailing slash). Returns false and leaves
    // the directory unset when dir is empty or too long for the path fields.
    bool Set(std::string_view dir);
    void Clear() { m_sDir.clear(); }

    bool IsSet() const { return !m_sDir.empty(); }
    const std::string& Dir() const { return m_sDir; }

    // "<dir>/image/<file>"; nothing when the directory is unset or the path
    // would not fit its field.
    std::optional<std::string> ImagePath(std::string_view file) const;
    // "<dir>/wav" and "<dir>/wav/<file>".
    std::optional<std::string> SoundDir() const;
    std::optional<std::string> SoundPath(std::string_view file) const;

    // Length of the longest picture path a directory of dirLength bytes gives.
    static std::size_t LongestImagePath(std::size_t dirLength);

private:
    std::optional<std::string> Join(std::string_view folder, std::string_view file) const;

    std::string m_sDir;
};

} // namespace desk::media
