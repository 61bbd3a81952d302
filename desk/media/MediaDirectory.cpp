#include "desk/media/MediaDirectory.h"

#include "desk/media/MediaFiles.h"

#include <algorithm>

namespace desk::media {

namespace {

std::size_t longestImageName() {
    std::size_t longest = kCueFile.size();
    for (const PictureSheet& sheet : pictureSheets())
        longest = std::max(longest, sheet.file.size());
    for (int i = 0; i < kBallCount; ++i)
        longest = std::max(longest, ballFile(i).size());
    return longest;
}

} // namespace

std::size_t CMediaDirectory::LongestImagePath(std::size_t dirLength) {
    return dirLength + 1 + kImageFolder.size() + 1 + longestImageName();
}

bool CMediaDirectory::Set(std::string_view dir) {
    m_sDir.clear();
    // A zero byte would end the path early on the way to the file system.
    if (dir.empty() || dir.find('\0') != std::string_view::npos)
        return false;
    if (LongestImagePath(dir.size()) > kPathField - 1)
        return false;
    m_sDir.assign(dir);
    return true;
}

std::optional<std::string> CMediaDirectory::Join(std::string_view folder,
                                                 std::string_view file) const {
    if (m_sDir.empty())
        return std::nullopt;
    std::string path = m_sDir;
    path += '/';
    path += folder;
    if (!file.empty()) {
        path += '/';
        path += file;
    }
    if (path.size() > kPathField - 1)
        return std::nullopt;
    return path;
}

std::optional<std::string> CMediaDirectory::ImagePath(std::string_view file) const {
    if (file.empty())
        return std::nullopt;
    return Join(kImageFolder, file);
}

std::optional<std::string> CMediaDirectory::SoundDir() const {
    return Join(kSoundFolder, {});
}

std::optional<std::string> CMediaDirectory::SoundPath(std::string_view file) const {
    if (file.empty())
        return std::nullopt;
    return Join(kSoundFolder, file);
}

} // namespace desk::media
