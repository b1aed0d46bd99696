#include "ProgressExport.h"

#include "PickListMessages.h"
#include "files/FileUtils.h"
#include "parts/Face.h"

#include <ctime>

namespace kavelto {

namespace {

// Others at the bench may read the record.
constexpr mode_t kProgressMode = 0644;

std::string Cell(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

std::string UtcTime(std::int64_t seconds) {
    if (seconds <= 0)
        return {};
    const std::time_t time = static_cast<std::time_t>(seconds);
    std::tm utc{};
    char text[32];
    if (!gmtime_r(&time, &utc) || std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc) == 0)
        return {};
    return text;
}

const char* PlacedText(const PartRecord& part, bool notFitted) {
    if (notFitted)
        return "DNP";
    return part.placed ? "yes" : "no";
}

} // namespace

std::string ProgressCsv(const PartTable& table, const BomState& bom,
                        const std::vector<std::int64_t>& placedAt) {
    std::string text = "Designator,Face,Value,Package,Placed,Time placed\n";
    for (int i = 0; i < table.partCount(); ++i) {
        const PartRecord& part = table.part(i);
        const auto at = static_cast<std::size_t>(i);
        const bool notFitted = at < bom.notFittedFlags().size() && bom.isNotFitted(i);
        const bool timed = part.placed && !notFitted && at < placedAt.size();
        text += Cell(part.designator) + ',' +
                FaceName(IsOnFace(part.layer, Face::Bottom) ? Face::Bottom : Face::Top) + ',' +
                Cell(part.value) + ',' + Cell(part.package) + ',' + PlacedText(part, notFitted) +
                ',' + (timed ? UtcTime(placedAt[at]) : std::string()) + '\n';
    }
    return text;
}

Result<void> WriteProgressFile(const std::string& path, const std::string& text) {
    if (WriteFileAtomically(path, text, kProgressMode, Durability::OnDisk))
        return {};
    return CantWriteProgressMessage();
}

} // namespace kavelto
