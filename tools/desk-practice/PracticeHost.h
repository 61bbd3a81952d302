#pragma once
// The host of a practice table: one player alone at a desk control, with
// nobody to judge the shots. It answers the desk's events the way a table
// server would answer the only player at the table: each shot's own result
// becomes the new position, a pocketed cue ball gives ball in hand, and a
// cleared table is racked again for a new break.
//
// Answers are given from the event loop, after the event has returned, as a
// server's answer would arrive; the records handed out with an event are
// copied first, since they are valid only during the call.

#include "desk/control/Desk.h"
#include "desk/model/SphereRecords.h"

#include <QObject>
#include <cstdint>
#include <string>

namespace practice {

class CPracticeHost final : public QObject, public desk::_IDeskEvents {
public:
    struct Settings {
        std::string resourceDir;
        int width = 800;
        int height = 600;
        uint32_t seed = 1; // of the first rack; each new rack takes the next
        std::string name;  // GBK
        bool sound = true;
    };

    CPracticeHost(desk::IDesk& desk, Settings settings);
    ~CPracticeHost() override;

    // Sets the desk up and shows the start button.
    void Start();
    // A new rack with the player to break (also what a click on the start
    // button leads to).
    void Rack();

    int Racks() const { return m_nRacks; }
    int Shots() const { return m_nShots; }
    int Pocketed() const { return m_nPocketed; }

    // ---- _IDeskEvents ---------------------------------------------------
    void AgreeStart() override;
    void End_OnStart(int num, desk::SphereRecordSpan info, const JudgeRecord& jginfo) override;
    void End_OnPlay(int num, desk::SphereRecordSpan info, const JudgeRecord& jginfo) override;
    void Moved(int32_t x, int32_t y, int32_t z) override;
    void Guo() override;
    void Guo_Moving() override;

private:
    void OnShotResult(desk::SphereRecordSpan info);
    void ShowPlayer();

    desk::IDesk& m_desk;
    Settings m_settings;
    uint32_t m_nNextSeed;
    desk::BallStatuses m_before{};
    int m_nRacks = 0;
    int m_nShots = 0;
    int m_nPocketed = 0;
};

// Whether every object ball has left the table.
bool tableCleared(const desk::SphereRecords& records);

} // namespace practice
