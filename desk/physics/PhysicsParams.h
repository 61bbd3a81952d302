#pragma once
// The values the host sets through SetParam_*. Only the density is used (for
// every ball mass created from the next rebuild on); the contact constants of
// the world are fixed and the other pairs are kept for the host to read back.

#include <cstdint>

namespace desk {

struct ParamPair {
    int32_t peng = 0;
    int32_t damp = 0;
    bool operator==(const ParamPair&) const = default;
};

class CPhysicsParams {
public:
    void setBallBall(int32_t peng, int32_t damp) { m_ballBall = {peng, damp}; }
    void setBallDown(int32_t peng, int32_t damp) { m_ballDown = {peng, damp}; }
    void setBallDesk(int32_t peng, int32_t damp) { m_ballDesk = {peng, damp}; }
    // A density of zero or below would give massless balls that the engine
    // rejects; it is ignored and the previous density kept.
    void setGravity(int32_t gravity, int32_t density) {
        m_nGravity = gravity;
        if (density > 0)
            m_nDensity = density;
    }

    ParamPair ballBall() const { return m_ballBall; }
    ParamPair ballDown() const { return m_ballDown; }
    ParamPair ballDesk() const { return m_ballDesk; }
    int32_t gravity() const { return m_nGravity; }
    int32_t density() const { return m_nDensity; }
    double ballDensity() const { return m_nDensity * 0.001; }

private:
    ParamPair m_ballBall{960, 1000};
    ParamPair m_ballDown{100, 100000000};
    ParamPair m_ballDesk{900, 2000};
    int32_t m_nGravity = -9810;
    int32_t m_nDensity = 700;
};

} // namespace desk
