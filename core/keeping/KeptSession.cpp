#include "keeping/KeptSession.h"

#include "geometry/ViewGeometry.h"
#include "geometry/ViewTransform.h"
#include "keeping/ContentHash.h"
#include "parts/PartTable.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <sstream>
#include <sys/stat.h>

namespace kavelto {

namespace {

constexpr char kMagic[] = "kavelto-session";
constexpr int kVersion = 2;
// The last line: the hash of every byte before it, so that damage anywhere is seen.
constexpr char kCheckKey[] = "check ";
constexpr std::size_t kCheckLineSize = sizeof kCheckKey - 1 + 16 + 1;
// How much of a picture file the hash of its identity covers: its headers, and enough of its
// pixels that a picture written over is told from the one before.
constexpr std::size_t kPictureHeadBytes = std::size_t{64} * 1024;
// More points than anyone presses; a larger count is damage.
constexpr std::size_t kMaxAddedPoints = 1000;

// Texts keep every byte; only the line feed, the tab and the escape itself are escaped.
std::string Escaped(const std::string& text) {
    std::string out;
    for (const char c : text) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\t')
            out += "\\t";
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
        else if (text[i] == 't')
            out += '\t';
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
// The other face's lines carry the prefix "other-" before the same keys.
void WriteCalibration(std::ostream& out, const Calibration& c, const char* prefix = "") {
    out << prefix << "calibration " << static_cast<int>(c.state) << ' '
        << static_cast<int>(c.pairState);
    WritePoint(out, c.point1);
    WritePoint(out, c.point2);
    out << '\n';
    if (c.pressedPoint2) {
        out << prefix << "pressed2";
        WritePoint(out, *c.pressedPoint2);
        out << '\n';
    }
    out << prefix << "added " << c.addedPoints.size();
    for (const CalPoint& p : c.addedPoints)
        WritePoint(out, p);
    out << '\n' << prefix << "fit";
    for (const double h : c.fit.h)
        out << ' ' << RealText(h);
    out << '\n';
}

void WritePicture(std::ostream& out, const KeptPicture& picture, const char* prefix = "") {
    out << prefix << "picture " << picture.bytes << ' ' << picture.modifiedNs << ' '
        << Escaped(picture.path) << '\n';
}

constexpr char kOtherFace[] = "other-";

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
            in.ignore(std::numeric_limits<std::streamsize>::max());
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
            return count(in, kept_.pcbCount);
        if (key == "view")
            return static_cast<bool>(in >> kept_.viewRotation >> kept_.mirrored >>
                                     kept_.zoomBoxSize);
        if (key == "picture")
            return picture(in, kept_.picture.emplace());
        if (key.rfind(kOtherFace, 0) == 0)
            return otherFace(key.substr(sizeof kOtherFace - 1), in);
        if (key == "calpicture")
            return calibratedPicture(in);
        if (key == "progress")
            return static_cast<bool>(in >> kept_.placedOnFace >> kept_.faceCount);
        if (key == "faces")
            return faceProgress(in);
        if (key == "placed")
            return placed(in);
        if (key == "mark")
            return mark(in);
        if (key == "pinone")
            return pinOne(in);
        if (key == "bom") {
            std::optional<std::string> path = Unescaped(rest);
            kept_.bomPath = path;
            in.ignore(std::numeric_limits<std::streamsize>::max());
            return path.has_value();
        }
        if (key == "notfitted")
            return indexes(in, kept_.notFitted.emplace());
        if (key == "selected")
            return static_cast<bool>(in >> kept_.selectedRow) && kept_.selectedRow >= 0;
        return calibration(key, in, kept_.calibration);
    }

private:
    // Digits only: a sign would wrap round.
    static bool count(std::istream& in, std::uint32_t& value) {
        std::string text;
        if (!(in >> text) || text.empty() || text.front() < '0' || text.front() > '9')
            return false;
        const std::from_chars_result result =
            std::from_chars(text.data(), text.data() + text.size(), value);
        return result.ec == std::errc() && result.ptr == text.data() + text.size();
    }

    template <typename Enum> bool enumerated(std::istream& in, Enum& value, int count) {
        int number = -1;
        if (!(in >> number) || number < 0 || number >= count)
            return false;
        value = static_cast<Enum>(number);
        return true;
    }

    bool otherFace(const std::string& key, std::istringstream& in) {
        KeptFace& face = kept_.otherFace ? *kept_.otherFace : kept_.otherFace.emplace();
        if (key == "view")
            return static_cast<bool>(in >> face.viewRotation >> face.mirrored);
        if (key == "picture")
            return picture(in, face.picture.emplace());
        return calibration(key, in, face.calibration);
    }

    // The calibration's lines; false for any other key.
    bool calibration(const std::string& key, std::istream& in, Calibration& c) {
        if (key == "calibration")
            return enumerated(in, c.state, 4) && enumerated(in, c.pairState, 4) &&
                   ReadPoint(in, c.point1) && ReadPoint(in, c.point2);
        if (key == "pressed2")
            return ReadPoint(in, c.pressedPoint2.emplace());
        if (key == "added")
            return added(in, c);
        if (key == "fit")
            return std::all_of(c.fit.h.begin(), c.fit.h.end(),
                               [&in](double& h) { return ReadReal(in, h); });
        return false;
    }

    // One space, then the rest of the line as it stands.
    static bool restOfLine(std::istringstream& in, std::string& rest) {
        if (in.get() != ' ')
            return false;
        std::getline(in, rest);
        return true;
    }

    // One space, then the path to the end of the line.
    static bool pathToEnd(std::istringstream& in, std::string& path) {
        std::string rest;
        const std::optional<std::string> unescaped =
            restOfLine(in, rest) ? Unescaped(rest) : std::nullopt;
        path = unescaped.value_or("");
        return unescaped.has_value();
    }

    // The size, the time, then the path.
    static bool picture(std::istringstream& in, KeptPicture& picture) {
        return static_cast<bool>(in >> picture.bytes >> picture.modifiedNs) &&
               pathToEnd(in, picture.path);
    }

    // The size, the time, the hash, then the path.
    bool calibratedPicture(std::istringstream& in) {
        CalibratedPicture& calibrated = kept_.calibratedOn.emplace();
        std::string hash;
        if (!(in >> calibrated.file.bytes >> calibrated.file.modifiedNs >> hash))
            return false;
        const std::from_chars_result read =
            std::from_chars(hash.data(), hash.data() + hash.size(), calibrated.headHash, 16);
        return hash.size() == 16 && read.ec == std::errc() &&
               read.ptr == hash.data() + hash.size() && pathToEnd(in, calibrated.file.path);
    }

    // The face, then the designator, the value and the package, tab-separated, to the end.
    bool mark(std::istringstream& in) {
        KeptMark& mark = kept_.marks.emplace_back();
        std::string rest;
        if (!enumerated(in, mark.face, 2) || !restOfLine(in, rest))
            return false;
        std::string* const fields[] = {&mark.designator, &mark.value, &mark.package};
        std::size_t start = 0;
        for (std::string* field : fields) {
            const std::size_t end = std::min(rest.find('\t', start), rest.size());
            const std::optional<std::string> text = Unescaped(rest.substr(start, end - start));
            if (!text || (field != fields[2] && end == rest.size()))
                return false;
            *field = *text;
            start = end + 1;
        }
        return start == rest.size() + 1 && !mark.designator.empty();
    }

    // "pinone turns mirrored hidden package", the package escaped to the end of the line.
    bool pinOne(std::istringstream& in) {
        KeptPinOne& kept = kept_.pinOne.emplace_back();
        int mirrored = -1;
        int hidden = -1;
        std::string rest;
        if (!(in >> kept.quarterTurns >> mirrored >> hidden) || !restOfLine(in, rest))
            return false;
        const std::optional<std::string> package = Unescaped(rest);
        kept.mirrored = mirrored == 1;
        kept.hidden = hidden == 1;
        kept.package = package.value_or("");
        return package && !package->empty() && kept.quarterTurns >= 0 && kept.quarterTurns < 4 &&
               (mirrored == 0 || mirrored == 1) && (hidden == 0 || hidden == 1);
    }

    bool added(std::istream& in, Calibration& c) {
        std::size_t count = 0;
        if (!(in >> count) || count > kMaxAddedPoints)
            return false;
        c.addedPoints.resize(count);
        for (CalPoint& p : c.addedPoints)
            if (!ReadPoint(in, p))
                return false;
        return true;
    }

    bool faceProgress(std::istream& in) {
        FaceProgress& faces = kept_.faces.emplace();
        return static_cast<bool>(in >> faces.placedTop >> faces.placedBottom >> faces.partsTop >>
                                 faces.partsBottom);
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

// The text before its check line, when the check line holds that text's hash; nothing for a
// text damaged or cut short anywhere.
std::optional<std::string> CheckedBody(const std::string& text) {
    if (text.size() < kCheckLineSize || text.back() != '\n')
        return std::nullopt;
    const std::size_t bodySize = text.size() - kCheckLineSize;
    const std::string body = text.substr(0, bodySize);
    if (text.compare(bodySize, kCheckLineSize,
                     kCheckKey + HashText(Fnv1a(kFnvOffset, body.data(), body.size())) + '\n') != 0)
        return std::nullopt;
    return body;
}

bool IsFinitePoint(const CalPoint& p) {
    return std::isfinite(p.boardX) && std::isfinite(p.boardY);
}

// Every board position finite, and the fitted map finite and, while it locates, reaching every
// point of the set it was fitted through.
bool IsSoundCalibration(const Calibration& c) {
    std::vector<CalPoint> set{c.point1};
    if (c.pressedPoint2)
        set.push_back(*c.pressedPoint2);
    set.insert(set.end(), c.addedPoints.begin(), c.addedPoints.end());
    if (!IsFinitePoint(c.point2) || !std::all_of(set.begin(), set.end(), IsFinitePoint))
        return false;
    if (!std::all_of(c.fit.h.begin(), c.fit.h.end(), [](double h) { return std::isfinite(h); }))
        return false;
    return !FitInForce(c) || std::all_of(set.begin(), set.end(), [&c](const CalPoint& p) {
        return MapPoint(c.fit, {p.boardX, p.boardY}).has_value();
    });
}

bool IsSoundPicture(const std::optional<KeptPicture>& picture) {
    return !picture || (picture->bytes >= 0 && !picture->path.empty());
}

// The placed marks are table positions in rising order, each once.
bool IsSoundPlaced(const std::vector<int>& placed) {
    if (placed.size() > std::size_t(kMaxParts))
        return false;
    for (std::size_t i = 0; i < placed.size(); ++i)
        if (placed[i] < 0 || placed[i] >= kMaxParts || (i > 0 && placed[i] <= placed[i - 1]))
            return false;
    return true;
}

bool IsSoundOtherFace(const std::optional<KeptFace>& face) {
    return !face || (QuarterTurnDegrees(face->viewRotation) == face->viewRotation &&
                     IsSoundPicture(face->picture) && IsSoundCalibration(face->calibration));
}

bool IsSoundProgress(const std::optional<FaceProgress>& faces) {
    return !faces ||
           (faces->placedTop >= 0 && faces->placedBottom >= 0 &&
            faces->placedTop <= faces->partsTop && faces->placedBottom <= faces->partsBottom &&
            faces->partsTop + faces->partsBottom <= kMaxParts);
}

// Only values this program could have written are ever applied: anything else is damage.
bool IsSound(const KeptSession& kept) {
    return kept.savedAt >= 0 && QuarterTurnDegrees(kept.viewRotation) == kept.viewRotation &&
           kept.zoomBoxSize >= kMinZoomBoxSize && kept.zoomBoxSize <= kMaxZoomBoxSize &&
           IsSoundPicture(kept.picture) &&
           IsSoundPicture(kept.calibratedOn ? std::optional(kept.calibratedOn->file)
                                            : std::nullopt) &&
           IsSoundCalibration(kept.calibration) && IsSoundPlaced(kept.placed) &&
           IsSoundOtherFace(kept.otherFace) && IsSoundProgress(kept.faces) &&
           kept.marks.size() == kept.placed.size() && kept.faceCount >= 0 &&
           kept.faceCount <= kMaxParts && kept.placedOnFace >= 0 &&
           kept.placedOnFace <= kept.faceCount &&
           std::size_t(kept.placedOnFace) <= kept.placed.size() && kept.selectedRow >= 0 &&
           kept.selectedRow < std::max(kept.faceCount, 1);
}

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
        WritePicture(out, *kept.picture);
    WriteCalibration(out, kept.calibration);
    if (const std::optional<KeptFace>& other = kept.otherFace) {
        out << kOtherFace << "view " << other->viewRotation << ' ' << other->mirrored << '\n';
        if (other->picture)
            WritePicture(out, *other->picture, kOtherFace);
        WriteCalibration(out, other->calibration, kOtherFace);
    }
    if (kept.calibratedOn)
        out << "calpicture " << kept.calibratedOn->file.bytes << ' '
            << kept.calibratedOn->file.modifiedNs << ' ' << HashText(kept.calibratedOn->headHash)
            << ' ' << Escaped(kept.calibratedOn->file.path) << '\n';
    out << "progress " << kept.placedOnFace << ' ' << kept.faceCount << '\n';
    if (const std::optional<FaceProgress>& faces = kept.faces)
        out << "faces " << faces->placedTop << ' ' << faces->placedBottom << ' ' << faces->partsTop
            << ' ' << faces->partsBottom << '\n';
    WriteIndexes(out, "placed", kept.placed);
    if (kept.bomPath)
        out << "bom " << Escaped(*kept.bomPath) << '\n';
    if (kept.notFitted)
        WriteIndexes(out, "notfitted", *kept.notFitted);
    out << "selected " << kept.selectedRow << '\n';
    for (const KeptMark& mark : kept.marks)
        out << "mark " << static_cast<int>(mark.face) << ' ' << Escaped(mark.designator) << '\t'
            << Escaped(mark.value) << '\t' << Escaped(mark.package) << '\n';
    for (const KeptPinOne& pinOne : kept.pinOne)
        out << "pinone " << pinOne.quarterTurns << ' ' << pinOne.mirrored << ' ' << pinOne.hidden
            << ' ' << Escaped(pinOne.package) << '\n';
    out << "end\n";
    const std::string body = out.str();
    return body + kCheckKey + HashText(Fnv1a(kFnvOffset, body.data(), body.size())) + '\n';
}

std::optional<KeptSession> ParseKeptSession(const std::string& text) {
    const std::optional<std::string> body = CheckedBody(text);
    if (!body)
        return std::nullopt;
    std::istringstream lines(*body);
    std::string line;
    if (!std::getline(lines, line) || line != std::string(kMagic) + ' ' + std::to_string(kVersion))
        return std::nullopt;
    KeptSession kept;
    Parser parser(kept);
    while (std::getline(lines, line)) {
        if (line == "end")
            return lines.peek() == EOF && IsSound(kept) ? std::optional(kept) : std::nullopt;
        std::istringstream in(line);
        std::string key;
        in >> key;
        const std::string rest = line.size() > key.size() ? line.substr(key.size() + 1) : "";
        if (in.get() != ' ' && !in.eof())
            return std::nullopt;
        if (!parser.line(key, in, rest) || !(in >> std::ws).eof())
            return std::nullopt;
    }
    return std::nullopt;
}

std::optional<CalibratedPicture> CalibratedPictureNow(const std::string& path) {
    std::optional<KeptPicture> file = PictureFileNow(path);
    const std::optional<std::uint64_t> head = FileContentHash(path, kPictureHeadBytes);
    if (!file || !head)
        return std::nullopt;
    return CalibratedPicture{std::move(*file), *head};
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
