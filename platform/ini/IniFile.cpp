#include "platform/ini/IniFile.h"

#include "platform/text/Bounded.h"
#include "platform/text/GbkBytes.h"

#include <fstream>
#include <iterator>

namespace platform {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

// Letter case is folded only on single-byte characters: the trail byte of a
// GBK character may look like an ASCII letter and must compare exactly.
bool equalNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    std::size_t i = 0;
    while (i < a.size()) {
        const std::size_t len = gbk::charLength(a, i);
        if (len == 2) {
            if (a.substr(i, 2) != b.substr(i, 2))
                return false;
        } else {
            auto fold = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
            if (fold(a[i]) != fold(b[i]))
                return false;
        }
        i += len;
    }
    return true;
}

std::string_view unquote(std::string_view v) {
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        return v.substr(1, v.size() - 2);
    return v;
}

} // namespace

CIniFile CIniFile::parse(std::string_view text) {
    CIniFile file;
    file.m_loaded = true;
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);

    Section* current = nullptr;
    while (!text.empty()) {
        const std::size_t eol = text.find('\n');
        std::string_view line = text.substr(0, eol);
        text.remove_prefix(eol == std::string_view::npos ? text.size() : eol + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        line = trim(line);
        if (line.empty() || line.front() == ';')
            continue;

        if (line.front() == '[') {
            std::string_view name = line.substr(1);
            if (const std::size_t close = name.find(']'); close != std::string_view::npos)
                name = name.substr(0, close);
            file.m_sections.push_back({std::string(trim(name)), {}});
            current = &file.m_sections.back();
            continue;
        }
        if (current == nullptr)
            continue; // keys before any section can never be asked for
        const std::size_t eq = line.find('=');
        const std::string_view key = trim(line.substr(0, eq));
        const std::string_view value =
            eq == std::string_view::npos ? std::string_view{} : unquote(trim(line.substr(eq + 1)));
        current->entries.emplace_back(std::string(key), std::string(value));
    }
    return file;
}

CIniFile CIniFile::load(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return {};
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad())
        return {};
    return parse(text);
}

const std::string* CIniFile::find(std::string_view section, std::string_view key) const {
    for (const Section& s : m_sections) {
        if (!equalNoCase(s.name, section))
            continue;
        // Only the first section of a name is searched, as the system did.
        for (const auto& [k, v] : s.entries)
            if (equalNoCase(k, key))
                return &v;
        return nullptr;
    }
    return nullptr;
}

std::string CIniFile::getString(std::string_view section, std::string_view key,
                                std::string_view def, std::size_t bufferSize) const {
    const std::string* value = find(section, key);
    return std::string(boundedText(value ? std::string_view(*value) : def, bufferSize));
}

int CIniFile::getInt(std::string_view section, std::string_view key) const {
    return decimalValue(getString(section, key, "", kIniIntBuffer));
}

std::string CIniFile::getText(std::string_view section, std::string_view key) const {
    return getString(section, key, "", kIniTextBuffer);
}

std::optional<IniPair> CIniFile::getPair(std::string_view section, std::string_view key) const {
    const std::string text = getString(section, key, "", kIniPairBuffer);
    const std::size_t comma = text.find(',');
    if (comma == std::string::npos)
        return std::nullopt;
    const std::string_view view(text);
    return IniPair{decimalValue(view.substr(0, comma)), decimalValue(view.substr(comma + 1))};
}

IniRect CIniFile::getRect(std::string_view section, std::string_view key) const {
    const std::string text = getString(section, key, "", kIniRectBuffer);
    std::string_view rest(text);
    int parts[4] = {0, 0, 0, 0};
    for (int& part : parts) {
        if (rest.empty())
            break;
        const std::size_t comma = rest.find(',');
        part = decimalValue(rest.substr(0, comma));
        rest.remove_prefix(comma == std::string_view::npos ? rest.size() : comma + 1);
    }
    return {parts[0], parts[1], parts[2], parts[3]};
}

std::string readPrivateProfileString(std::string_view section, std::string_view key,
                                     std::string_view def, std::size_t bufferSize,
                                     const std::filesystem::path& path) {
    return CIniFile::load(path).getString(section, key, def, bufferSize);
}

} // namespace platform
