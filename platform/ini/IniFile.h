#pragma once
// A small INI reader with the semantics the catalogue files were written for:
// sections and keys match without regard to letter case, anything missing
// (file, section or key) gives the caller's default, and every value is cut to
// the caller's buffer (size − 1 bytes). Values are returned as the bytes in
// the file: the catalogue files hold GBK texts.
//
// Reading rules, as the files in the field rely on them: a line "[name]"
// opens a section; "key=value" lines belong to the last section opened;
// blanks around names and values are dropped and a value wrapped in matching
// quotes loses them; lines starting with ';' are comments; a line without '='
// is a key with an empty value. The first section and the first key of a name
// win over later repeats. Nothing after the '=' is treated as a comment.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform {

// Buffer sizes the catalogue files are read with; part of their format.
inline constexpr std::size_t kIniIntBuffer = 10;
inline constexpr std::size_t kIniTextBuffer = 255;
inline constexpr std::size_t kIniPairBuffer = 12;
inline constexpr std::size_t kIniRectBuffer = 25;

struct IniPair {
    int first = 0;
    int second = 0;
    friend bool operator==(const IniPair&, const IniPair&) = default;
};

struct IniRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    friend bool operator==(const IniRect&, const IniRect&) = default;
};

class CIniFile {
public:
    // An empty file: every read gives the default.
    CIniFile() = default;

    // Reads a file. A missing or unreadable file gives an empty CIniFile.
    static CIniFile load(const std::filesystem::path& path);
    static CIniFile parse(std::string_view text);

    // True when the file was read (even if it held nothing).
    bool isLoaded() const { return m_loaded; }

    // The value of section/key, or `def` when there is none, cut to a buffer
    // of `bufferSize` bytes (at most bufferSize − 1, whole characters only).
    std::string getString(std::string_view section, std::string_view key, std::string_view def,
                          std::size_t bufferSize) const;

    // Catalogue helpers, each with its buffer size and default.
    // Integer: decimal value of the text (10-byte buffer); empty or missing is 0.
    int getInt(std::string_view section, std::string_view key) const;
    // Text: at most 254 bytes; missing is empty.
    std::string getText(std::string_view section, std::string_view key) const;
    // Pair "a,b" (12-byte buffer): the numbers before and after the first
    // comma. A value without a comma, and so a missing key, is absent.
    std::optional<IniPair> getPair(std::string_view section, std::string_view key) const;
    // Rectangle "left,top,right,bottom" (25-byte buffer), split at the commas
    // in that order; a part that is not there is 0, a missing key all zeros.
    IniRect getRect(std::string_view section, std::string_view key) const;

private:
    struct Section {
        std::string name;
        std::vector<std::pair<std::string, std::string>> entries;
    };

    const std::string* find(std::string_view section, std::string_view key) const;

    std::vector<Section> m_sections;
    bool m_loaded = false;
};

// One-shot read of a single value from a file, as the system call did it:
// the file is read on every call.
std::string readPrivateProfileString(std::string_view section, std::string_view key,
                                     std::string_view def, std::size_t bufferSize,
                                     const std::filesystem::path& path);

} // namespace platform
