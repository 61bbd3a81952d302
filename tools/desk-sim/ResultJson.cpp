#include "ResultJson.h"

namespace desksim {

namespace {

void field(std::string& out, const char* name, long long value, bool comma = true) {
    out += '"';
    out += name;
    out += "\":";
    out += std::to_string(value);
    if (comma)
        out += ',';
}

} // namespace

std::string resultJson(const desk::SphereRecords& balls, const JudgeRecord& judge, int steps,
                       const std::vector<TraceStep>* trace) {
    std::string out = "{\"balls\":[";
    for (std::size_t k = 0; k < balls.size(); ++k) {
        const SphereRecord& b = balls[k];
        out += k ? ",\n{" : "\n{";
        field(out, "index", b.index);
        field(out, "x", b.m_nX);
        field(out, "y", b.m_nY);
        field(out, "status", b.m_nStatus);
        out += "\"rotation\":[";
        for (int e = 0; e < 12; ++e) {
            out += e ? "," : "";
            out += std::to_string(b.rotation[e]);
        }
        out += "]}";
    }
    out += "],\n\"judge\":{\"m_bGone\":[";
    for (int i = 0; i < 15; ++i) {
        out += i ? "," : "";
        out += std::to_string(judge.m_bGone[i]);
    }
    out += "],";
    field(out, "m_bWhiteGone", judge.m_bWhiteGone);
    field(out, "m_bOtherGone", judge.m_bOtherGone);
    field(out, "m_bIsTouch_Nothing", judge.m_bIsTouch_Nothing);
    field(out, "m_bIsTouch_Other", judge.m_bIsTouch_Other);
    field(out, "m_bIsTouch_No_Desk", judge.m_bIsTouch_No_Desk);
    field(out, "m_nFirst_Gone", judge.m_nFirst_Gone);
    field(out, "m_nNum_TouchDesk", judge.m_nNum_TouchDesk);
    field(out, "m_nFirst_Touch", judge.m_nFirst_Touch, false);
    out += "},\n";
    field(out, "steps", steps, trace != nullptr);
    if (trace) {
        out += "\n\"trace\":[";
        for (std::size_t s = 0; s < trace->size(); ++s) {
            out += s ? ",\n[" : "\n[";
            const TraceStep& step = (*trace)[s];
            for (std::size_t k = 0; k < step.size(); ++k) {
                out += k ? ",[" : "[";
                out += std::to_string(step[k].x) + "," + std::to_string(step[k].y) + "]";
            }
            out += "]";
        }
        out += "]";
    }
    out += "}\n";
    return out;
}

} // namespace desksim
