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
            return picture(in, kept_.picture);
        if (key.rfind(kOtherFace, 0) == 0)
            return otherFace(key.substr(sizeof kOtherFace - 1), in);
        if (key == "progress")
            return static_cast<bool>(in >> kept_.placedOnFace >> kept_.faceCount);
        if (key == "faces")
            return faceProgress(in);
        if (key == "placed")
            return placed(in);
        if (key == "selected")
            return static_cast<bool>(in >> kept_.selectedRow) && kept_.selectedRow >= 0;
        return calibration(key, in, kept_.calibration);
    }

private:
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
            return picture(in, face.picture);
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

    bool picture(std::istringstream& in, std::optional<KeptPicture>& kept) {
        KeptPicture picture;
        if (!(in >> picture.bytes >> picture.modifiedNs) || in.get() != ' ')
            return false;
        std::string rest;
        std::getline(in, rest);
        const std::optional<std::string> path = Unescaped(rest);
        if (!path)
            return false;
        picture.path = *path;
        kept = picture;
        return true;
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

    bool placed(std::istream& in) {
        std::size_t count = 0;
        if (!(in >> count))
            return false;
        kept_.placed.clear();
        for (std::size_t i = 0; i < count; ++i) {
            int index = -1;
            if (!(in >> index) || index < 0)
                return false;
            kept_.placed.push_back(index);
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
        WritePicture(out, *kept.picture);
    WriteCalibration(out, kept.calibration);
    if (const std::optional<KeptFace>& other = kept.otherFace) {
        out << kOtherFace << "view " << other->viewRotation << ' ' << other->mirrored << '\n';
        if (other->picture)
            WritePicture(out, *other->picture, kOtherFace);
        WriteCalibration(out, other->calibration, kOtherFace);
    }
    out << "progress " << kept.placedOnFace << ' ' << kept.faceCount << '\n';
    if (const std::optional<FaceProgress>& faces = kept.faces)
        out << "faces " << faces->placedTop << ' ' << faces->placedBottom << ' ' << faces->partsTop
            << ' ' << faces->partsBottom << '\n';
    out << "placed " << kept.placed.size();
    for (const int index : kept.placed)
        out << ' ' << index;
    out << "\nselected " << kept.selectedRow;
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
