#pragma once

// The demo board's truth: for every part its position-file record, its pads, and the pixels of
// its centre, its pin 1 and its body's corners on the picture of its face, as the design tool
// computes them; and the calibrations a user makes on them.

#include "geometry/Calibration.h"
#include "geometry/ProjectiveMap.h"
#include "parts/PartTable.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

namespace coldfire {

using namespace kavelto;

struct TruthPart {
    PartRecord record;
    int pads;
    std::optional<PlanePoint> pinOne;
    std::array<PlanePoint, 4> body;
    PlanePoint centre;
};

struct Truth {
    double pixelsPerMm;
    std::vector<TruthPart> parts;
};

inline PlanePoint PointOf(const QJsonValue& value) {
    return {value[0].toDouble(), value[1].toDouble()};
}

inline Truth ReadTruth(const char* name) {
    QFile file(QStringLiteral(DEMO_DIR "/") + QLatin1String(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    const QJsonObject root = QJsonDocument::fromJson(file.readAll()).object();
    Truth truth{root["px_per_mm"].toDouble(), {}};
    for (const QJsonValue& p : root["parts"].toArray()) {
        TruthPart part{};
        part.record.designator = p["ref"].toString().toStdString();
        part.record.package = p["package"].toString().toStdString();
        part.record.layer = p["side"].toString() == QLatin1String("bottom") ? 'b' : 't';
        part.record.x = static_cast<float>(p["pos_x"].toDouble());
        part.record.y = static_cast<float>(p["pos_y"].toDouble());
        part.record.rotation = static_cast<std::int16_t>(p["rotation"].toDouble());
        part.pads = p["pads"].toInt();
        if (!p["pin1"].isNull())
            part.pinOne = PointOf(p["pin1"]);
        for (int i = 0; i < 4; ++i)
            part.body[static_cast<std::size_t>(i)] = PointOf(p["body"][i]);
        part.centre = PointOf(p["pixel"]);
        truth.parts.push_back(part);
    }
    return truth;
}

inline PartTable TableOf(const Truth& truth) {
    PartTable table;
    for (const TruthPart& part : truth.parts)
        table.append(part.record);
    return table;
}

inline std::vector<const TruthPart*> FaceOf(const Truth& truth, bool bottom) {
    std::vector<const TruthPart*> face;
    for (const TruthPart& part : truth.parts)
        if ((part.record.layer == 'b') == bottom)
            face.push_back(&part);
    return face;
}

// A user presses a whole pixel on the part's centre.
inline CalPoint Pressed(const TruthPart& part) {
    return {part.record.x, part.record.y, static_cast<std::int32_t>(part.centre.x),
            static_cast<std::int32_t>(part.centre.y)};
}

// The pair the user picks: the parts farthest apart on the picture.
inline Calibration PairCalibration(const std::vector<const TruthPart*>& face) {
    const auto sum = [](const TruthPart* p) { return p->centre.x + p->centre.y; };
    const auto [first, last] = std::minmax_element(
        face.begin(), face.end(), [&](auto* a, auto* b) { return sum(a) < sum(b); });
    Calibration calibration;
    calibration.point1 = Pressed(**first);
    calibration.point2 = Pressed(**last);
    calibration.state = CalState::CalibratedOk;
    return calibration;
}

// Six points spread over the face, as the user adds them on a photo.
inline Calibration FittedCalibration(const std::vector<const TruthPart*>& face) {
    std::vector<CalPoint> points;
    for (std::size_t i = 0; i < 6; ++i)
        points.push_back(Pressed(*face[i * (face.size() - 1) / 5]));
    Calibration calibration;
    calibration.point1 = points[0];
    calibration.pressedPoint2 = points[1];
    calibration.addedPoints.assign(points.begin() + 2, points.end());
    calibration.fit = *FitProjectiveMap(points);
    calibration.state = CalState::CalibratedOk;
    return calibration;
}

} // namespace coldfire
