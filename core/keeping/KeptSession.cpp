#include "keeping/KeptSession.h"

#include <algorithm>
#include <charconv>
#include <sstream>
#include <sys/stat.h>

namespace kavelto {

namespace {

constexpr char kMagic[] = "kavelto-session";
constexpr int kVersion = 1;
// More points than anyone presses; a larger count is damage.
constexpr std::size_t kMaxAddedPoints = 1000;

// Paths keep every byte; only the line feed and the escape itself are escaped.
std::string Escaped(const std::string& text) {
    std::string out;
    for (const char c : text) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return out;
}

std::optional<std::string> Unescaped(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out += text[i];
            continue;
        }
        if (++i == text.size())
            return std::nullopt;
        if (text[i] == 'n')
            out += '\n';
        else if (text[i] == '\\')
            out += '\\';
        else
            return std::nullopt;
    }
    return out;
}

// The shortest text that gives the number back exactly, whatever the process's locale.
template <typename Real> std::string RealText(Real value) {
    char text[40];
    const std::to_chars_result result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

template <typename Real> bool ReadReal(std::istream& in, Real& value) {
    std::string text;
    if (!(in >> text))
        return false;
    const std::from_chars_result result =
        std::from_chars(text.data(), text.data() + text.size(), value);
    return result.ec == std::errc() && result.ptr == text.data() + text.size();
}

void WritePoint(std::ostream& out, const CalPoint& p) {
    out << ' ' << RealText(p.boardX) << ' ' << RealText(p.boardY) << ' ' << p.pixelX << ' '
        << p.pixelY;
}

bool ReadPoint(std::istream& in, CalPoint& p) {
    return ReadReal(in, p.boardX) && ReadReal(in, p.boardY) &&
           static_cast<bool>(in >> p.pixelX >> p.pixelY);
}

// The calibration whole: the pair, the point set and the map fitted through it, so that it
// locates exactly as before without fitting again.
void WriteCalibration(std::ostream& out, const Calibration& c) {
    out << "calibration " << static_cast<int>(c.state) << ' ' << static_cast<int>(c.pairState);
    WritePoint(out, c.point1);
    WritePoint(out, c.point2);
    out << '\n';
    if (c.pressedPoint2) {
        out << "pressed2";
        WritePoint(out, *c.pressedPoint2);
        out << '\n';
    }
    out << "added " << c.addedPoints.size();
    for (const CalPoint& p : c.addedPoints)
        WritePoint(out, p);
    out << "\nfit";
    for (const double h : c.fit.h)
        out << ' ' << RealText(h);
    out << '\n';
}

void WriteIndexes(std::ostream& out, const char* key, const std::vector<int>& indexes) {
    out << key << ' ' << indexes.size();
    for (const int index : indexes)
        out << ' ' << index;
    out << '\n';
}

// Reads "key rest-of-line" lines into a session; false on anything unexpected.
class Parser {
public:
    explicit Parser(KeptSession& kept) : kept_(kept) {}

    bool line(const std::string& key, std::istringstream& in, const std::string& rest) {
        if (key == "placement") {
            std::optional<std::string> path = Unescaped(rest);
            kept_.placementPath = path.value_or("");
            return path.has_value();
        }
        if (key == "hash")
            return static_cast<bool>(in >> std::hex >> kept_.contentHash >> std::dec);
        if (key == "saved")
            return static_cast<bool>(in >> kept_.savedAt);
        if (key == "face")
            return enumerated(in, kept_.face, 2);
        if (key == "sort")
            return enumerated(in, kept_.sortMode, kSortModeCount);
        if (key == "pcb")
            return static_cast<bool>(in >> kept_.pcbCount);
        if (key == "view")
            return static_cast<bool>(in >> kept_.viewRotation >> kept_.mirrored >>
                                     kept_.zoomBoxSize);
        if (key == "picture")
            return picture(in);
        if (key == "calibration")
            return enumerated(in, kept_.calibration.state, 4) &&
                   enumerated(in, kept_.calibration.pairState, 4) &&
                   ReadPoint(in, kept_.calibration.point1) &&
                   ReadPoint(in, kept_.calibration.point2);
        if (key == "pressed2")
            return ReadPoint(in, kept_.calibration.pressedPoint2.emplace());
        if (key == "added")
            return added(in);
        if (key == "fit")
            return std::all_of(kept_.calibration.fit.h.begin(), kept_.calibration.fit.h.end(),
                               [&in](double& h) { return ReadReal(in, h); });
        if (key == "progress")
            return static_cast<bool>(in >> kept_.placedOnFace >> kept_.faceCount);
        if (key == "placed")
            return placed(in);
        if (key == "bom") {
            std::optional<std::string> path = Unescaped(rest);
            kept_.bomPath = path;
            return path.has_value();
        }
        if (key == "notfitted")
            return indexes(in, kept_.notFitted.emplace());
        if (key == "selected")
            return static_cast<bool>(in >> kept_.selectedRow) && kept_.selectedRow >= 0;
        return false;
    }

private:
    template <typename Enum> bool enumerated(std::istream& in, Enum& value, int count) {
        int number = -1;
        if (!(in >> number) || number < 0 || number >= count)
            return false;
        value = static_cast<Enum>(number);
        return true;
    }

    bool picture(std::istringstream& in) {
        KeptPicture picture;
        if (!(in >> picture.bytes >> picture.modifiedNs) || in.get() != ' ')
            return false;
        std::string rest;
        std::getline(in, rest);
        const std::optional<std::string> path = Unescaped(rest);
        if (!path)
            return false;
        picture.path = *path;
        kept_.picture = picture;
        return true;
    }

    bool added(std::istream& in) {
        std::size_t count = 0;
        if (!(in >> count) || count > kMaxAddedPoints)
            return false;
        kept_.calibration.addedPoints.resize(count);
        for (CalPoint& p : kept_.calibration.addedPoints)
            if (!ReadPoint(in, p))
                return false;
        return true;
    }

    bool placed(std::istream& in) { return indexes(in, kept_.placed); }

    // A count, then as many part table positions.
    bool indexes(std::istream& in, std::vector<int>& out) {
        std::size_t count = 0;
        if (!(in >> count))
            return false;
        out.clear();
        for (std::size_t i = 0; i < count; ++i) {
            int index = -1;
            if (!(in >> index) || index < 0)
                return false;
            out.push_back(index);
        }
        return true;
    }

    KeptSession& kept_;
};

} // namespace

std::string KeptSessionText(const KeptSession& kept) {
    std::ostringstream out;
    out << kMagic << ' ' << kVersion << '\n'
        << "placement " << Escaped(kept.placementPath) << '\n'
        << "hash " << std::hex << kept.contentHash << std::dec << '\n'
        << "saved " << kept.savedAt << '\n'
        << "face " << static_cast<int>(kept.face) << '\n'
        << "sort " << static_cast<int>(kept.sortMode) << '\n'
        << "pcb " << kept.pcbCount << '\n'
        << "view " << kept.viewRotation << ' ' << kept.mirrored << ' ' << kept.zoomBoxSize << '\n';
    if (kept.picture)
        out << "picture " << kept.picture->bytes << ' ' << kept.picture->modifiedNs << ' '
            << Escaped(kept.picture->path) << '\n';
    WriteCalibration(out, kept.calibration);
    out << "progress " << kept.placedOnFace << ' ' << kept.faceCount << '\n';
    WriteIndexes(out, "placed", kept.placed);
    if (kept.bomPath)
        out << "bom " << Escaped(*kept.bomPath) << '\n';
    if (kept.notFitted)
        WriteIndexes(out, "notfitted", *kept.notFitted);
    out << "selected " << kept.selectedRow;
    out << "\nend\n";
    return out.str();
}

std::optional<KeptSession> ParseKeptSession(const std::string& text) {
    std::istringstream lines(text);
    std::string line;
    if (!std::getline(lines, line) || line != std::string(kMagic) + ' ' + std::to_string(kVersion))
        return std::nullopt;
    KeptSession kept;
    Parser parser(kept);
    // A file cut short lacks its last line.
    while (std::getline(lines, line)) {
        if (line == "end")
            return kept;
        std::istringstream in(line);
        std::string key;
        in >> key;
        const std::string rest = line.size() > key.size() ? line.substr(key.size() + 1) : "";
        if (in.get() != ' ' && !in.eof())
            return std::nullopt;
        if (!parser.line(key, in, rest))
            return std::nullopt;
    }
    return std::nullopt;
}

std::optional<KeptPicture> PictureFileNow(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    return KeptPicture{path, static_cast<std::int64_t>(info.st_size),
                       static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 +
                           info.st_mtim.tv_nsec};
}

} // namespace kavelto
