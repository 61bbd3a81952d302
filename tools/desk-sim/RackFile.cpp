#include "RackFile.h"

#include "desk/model/Units.h"
#include "desk/model/ViewGeometry.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <algorithm>
#include <cmath>
#include <fstream>
#include <limits>

namespace desksim {

namespace {

constexpr std::size_t kMaxFileBytes = 1 << 20;

bool integerIn(const QJsonValue& v, double lo, double hi, int64_t& out) {
    if (!v.isDouble())
        return false;
    const double d = v.toDouble();
    if (!std::isfinite(d) || d != std::trunc(d) || d < lo || d > hi)
        return false;
    out = static_cast<int64_t>(d);
    return true;
}

std::string ballPrefix(int k) {
    return "ball " + std::to_string(k) + ": ";
}

} // namespace

bool readRackFile(const std::string& path, std::string& text, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot read rack file '" + path + "'";
        return false;
    }
    text.assign(kMaxFileBytes + 1, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(in.gcount()));
    if (text.size() > kMaxFileBytes) {
        error = "rack file '" + path + "' is larger than a megabyte";
        return false;
    }
    return true;
}

bool parseRack(const std::string& json, desk::SphereRecords& out, std::string& error) {
    QJsonParseError parseError{};
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(json), &parseError);
    if (doc.isNull()) {
        error = "rack is not valid JSON: " + parseError.errorString().toStdString() +
                " at offset " + std::to_string(parseError.offset);
        return false;
    }
    QJsonArray balls;
    if (doc.isArray()) {
        balls = doc.array();
    } else if (doc.object().value("balls").isArray()) {
        balls = doc.object().value("balls").toArray();
    } else {
        error = "rack must be an array of ball objects or an object with a \"balls\" array";
        return false;
    }
    if (balls.size() != desk::kBallCount) {
        error = "rack must hold exactly 16 balls, not " + std::to_string(balls.size());
        return false;
    }

    // Positions must lie within what the window shows of the world.
    const double halfW = desk::CViewGeometry::visibleWidth() / 2 * desk::kInterfaceScale;
    const double halfH = desk::CViewGeometry::visibleHeight() / 2 * desk::kInterfaceScale;
    constexpr double kInt32Min = std::numeric_limits<int32_t>::min();
    constexpr double kInt32Max = std::numeric_limits<int32_t>::max();

    for (int k = 0; k < desk::kBallCount; ++k) {
        if (!balls[k].isObject()) {
            error = ballPrefix(k) + "not an object";
            return false;
        }
        const QJsonObject b = balls[k].toObject();
        int64_t x = 0, y = 0, status = 0, index = k;
        if (b.contains("index") && (!integerIn(b.value("index"), 0, 15, index) || index != k)) {
            error = ballPrefix(k) + "\"index\" must be " + std::to_string(k) +
                    " (balls are listed in ball order)";
            return false;
        }
        if (!integerIn(b.value("x"), -halfW, halfW, x) ||
            !integerIn(b.value("y"), -halfH, halfH, y)) {
            error = ballPrefix(k) + "\"x\" and \"y\" must be integers within ±" +
                    std::to_string(static_cast<int64_t>(halfW)) + " and ±" +
                    std::to_string(static_cast<int64_t>(halfH));
            return false;
        }
        if (b.contains("status") && !integerIn(b.value("status"), 0, 2, status)) {
            error = ballPrefix(k) + "\"status\" must be 0, 1 or 2";
            return false;
        }
        SphereRecord r{};
        r.index = static_cast<int16_t>(k);
        r.m_nX = static_cast<int32_t>(x);
        r.m_nY = static_cast<int32_t>(y);
        r.m_nZ = desk::toInterface(desk::kBallRadius);
        r.m_nStatus = static_cast<int16_t>(status);
        if (b.contains("rotation")) {
            const QJsonArray rot = b.value("rotation").toArray();
            bool ok = b.value("rotation").isArray() && rot.size() == 12;
            for (int e = 0; ok && e < 12; ++e) {
                int64_t v = 0;
                ok = integerIn(rot[e], kInt32Min, kInt32Max, v);
                r.rotation[e] = static_cast<int32_t>(v);
            }
            if (!ok) {
                error = ballPrefix(k) + "\"rotation\" must be twelve 32-bit integers";
                return false;
            }
        } else {
            const SphereRecord start = desk::makeSphereRecord(k, 0, 0, 0, desk::startOrientation());
            std::copy(std::begin(start.rotation), std::end(start.rotation), r.rotation);
        }
        out[static_cast<std::size_t>(k)] = r;
    }
    return true;
}

} // namespace desksim
