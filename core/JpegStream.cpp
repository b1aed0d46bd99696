#include "JpegStream.h"

namespace kavelto {

namespace {
constexpr std::string_view kStartOfImage("\xFF\xD8", 2);
constexpr std::string_view kStartOfScan("\xFF\xDA", 2);
constexpr std::string_view kEndOfImage("\xFF\xD9", 2);
} // namespace

bool IsCompleteJpeg(std::string_view data) {
    if (data.substr(0, 2) != kStartOfImage)
        return true;
    // Scan data escapes every 0xFF byte, so the end marker after the last scan is the real one.
    const std::size_t lastScan = data.rfind(kStartOfScan);
    if (lastScan == std::string_view::npos)
        return true;
    return data.find(kEndOfImage, lastScan + kStartOfScan.size()) != std::string_view::npos;
}

} // namespace kavelto
