// A shot on the desk: the strike, the worker's hand-overs, the end of the
// shot with its report, and the synchronous run of CrashLoop.
#include "desk/control/CDesk.h"

namespace desk::control {

namespace {

sound::Effect effectOf(Sound sound) {
    switch (sound) {
    case Sound::StrongShot:
        return sound::Effect::Strike;
    case Sound::CueContact:
        return sound::Effect::CueContact;
    case Sound::CuePocketed:
        return sound::Effect::CueBallDown;
    case Sound::BallPocketed:
        return sound::Effect::BallDown;
    }
    return sound::Effect::CueContact;
}

} // namespace

void CDesk::Strike(int32_t arc, int32_t speed) {
    CancelShot();
    StopTurn();
    m_nTargetBall = -1;
    m_cue.shown = false;
    m_aimLine.shown = false;
    m_bCueBallByHand = false;
    if (m_engine->strike({arc, speed, m_nTip}))
        PlaySound(sound::Effect::Strike);
    m_power.power = 0;
    m_power.rising = true;
    m_bShotRunning = true;

    CShotWorker::Handlers handlers;
    handlers.event = [this](const ShotEvent& e) { OnShotEvent(e); };
    handlers.frame = [this] { Render(); };
    handlers.ended = [this] { OnShotEnded(); };
    m_worker.start(*m_engine, m_clock, std::move(handlers));
}

// The authoritative state replaces a shot still being stepped: the worker is
// stopped and the engine brought to rest, without the end-of-shot events.
void CDesk::CancelShot() {
    if (!m_bShotRunning)
        return;
    m_worker.stop();
    m_bShotRunning = false;
    m_engine->finishShot();
    if (m_pendingGroup) {
        m_engine->setMyGroup(*m_pendingGroup);
        m_pendingGroup.reset();
    }
}

void CDesk::OnShotEvent(const ShotEvent& event) {
    switch (event.kind) {
    case ShotEvent::Kind::DetectRequest:
        Fire([](_IDeskEvents& s) { s.SendDetect(); });
        break;
    case ShotEvent::Kind::PlaySound:
        PlaySound(effectOf(static_cast<Sound>(event.value)));
        break;
    case ShotEvent::Kind::PocketLight:
        StartPocketLight(event.value);
        break;
    case ShotEvent::Kind::CueBallGone:
        m_cue.shown = false;
        break;
    }
}

void CDesk::OnShotEnded() {
    m_bShotRunning = false;
    m_engine->finishShot();
    if (m_pendingGroup) {
        m_engine->setMyGroup(*m_pendingGroup);
        m_pendingGroup.reset();
    }
    m_cue.shown = false;
    if (!m_bWatching && m_nStatus == DeskStatus::BreakInFlight)
        ReportResult(true);
    else if (!m_bWatching && m_nStatus == DeskStatus::InFlight)
        ReportResult(false);
    else
        Fire([](_IDeskEvents& s) { s.EndCrash(); });
}

// The records handed out live in the control and stay valid during the event.
void CDesk::ReportResult(bool breakShot) {
    m_outRecords = m_engine->records();
    m_outJudge = m_engine->judge();
    const SphereRecordSpan info(m_outRecords);
    const JudgeRecord& judge = m_outJudge;
    if (breakShot)
        Fire([&](_IDeskEvents& s) { s.End_OnStart(kSphereRecordCount, info, judge); });
    else
        Fire([&](_IDeskEvents& s) { s.End_OnPlay(kSphereRecordCount, info, judge); });
}

namespace {

// The synchronous run calls the control directly: it is on the UI thread.
class CInlineHost final : public IShotHost {
public:
    CInlineHost(std::function<void(const ShotEvent&)> event, std::function<void()> frame,
                std::function<void()> ended)
        : m_event(std::move(event)), m_frame(std::move(frame)), m_ended(std::move(ended)) {}
    void onShotEvent(const ShotEvent& e) override { m_event(e); }
    void onFrameRequest() override { m_frame(); }
    void onShotEnded() override { m_ended(); }

private:
    std::function<void(const ShotEvent&)> m_event;
    std::function<void()> m_frame;
    std::function<void()> m_ended;
};

} // namespace

void CDesk::CrashLoop() {
    if (!m_engine || !m_bShotRunning)
        return;
    // The rest of the shot runs here; the worker gives it up at its next step.
    m_worker.stop();
    CInlineHost host([this](const ShotEvent& e) { OnShotEvent(e); }, [this] { Render(); },
                     [this] { OnShotEnded(); });
    runSynchronousLoop(*m_engine, host, *m_clock);

    if (!Fire([](_IDeskEvents& s) { s.EndCrash(); }) || m_bWatching)
        return;
    if (m_turnClock.turnLoc() == 0) {
        m_outRecords = m_engine->records();
        m_outJudge = m_engine->judge();
        const SphereRecordSpan info(m_outRecords);
        const JudgeRecord& judge = m_outJudge;
        Fire([&](_IDeskEvents& s) { s.End_OnStart(kSphereRecordCount, info, judge); });
    } else {
        Fire([](_IDeskEvents& s) { s.End_OnStart_NoSendJg(); });
    }
}

} // namespace desk::control
