#include "tools/bot/BotPlayer.h"

#include <chrono>
#include <utility>

namespace bot {

namespace {

int64_t nowUs() {
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

CBotPlayer::CBotPlayer(CBotClient& client, Chooser chooser)
    : m_client(client), m_choose(std::move(chooser)), m_worker([this] { work(); }) {}

CBotPlayer::~CBotPlayer() {
    {
        const std::lock_guard lock(m_mutex);
        m_bQuit = true;
    }
    m_wake.notify_one();
    m_worker.join();
}

void CBotPlayer::work() {
    for (;;) {
        ShotRequest r;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_bQuit || m_job.has_value(); });
            if (m_bQuit)
                return;
            r = *m_job;
            m_job.reset();
        }
        const ShotChoice choice = m_choose(r);
        QMetaObject::invokeMethod(
            &m_context, [this, choice] { thought(choice); }, Qt::QueuedConnection);
    }
}

ShotRequest CBotPlayer::request(Task task) const {
    const CGameView& view = m_client.View();
    const bool isBreak = task == Task::Break;
    ShotRequest r;
    r.position = view.position;
    r.isBreak = isBreak;
    r.myGroup = isBreak ? desk::kOpenTable : view.myGroup;
    r.chances = isBreak ? 1 : view.chances;
    r.ballInHand = task == Task::Place;
    return r;
}

void CBotPlayer::Break() {
    m_placed.reset();
    want(Task::Break);
}

void CBotPlayer::PlaceCueBall() {
    m_placed.reset();
    want(Task::Place);
}

void CBotPlayer::Shoot() {
    const auto& placed = m_client.View().position.cuePlacement();
    if (m_placed && placed && placed->x == m_placed->placement->x &&
        placed->y == m_placed->placement->y && !m_thinking) {
        const desk::Strike strike = m_placed->strike;
        m_placed.reset();
        m_client.Shoot(strike);
        return;
    }
    m_placed.reset();
    want(Task::Shoot);
}

void CBotPlayer::want(Task task) {
    m_wanted = Turn{task, m_client.TurnSerial()};
    if (!m_thinking)
        think();
}

void CBotPlayer::think() {
    m_thinking = m_wanted;
    m_wanted.reset();
    m_nThinkStartUs = nowUs();
    {
        const std::lock_guard lock(m_mutex);
        m_job = request(m_thinking->task);
    }
    m_wake.notify_one();
}

void CBotPlayer::thought(const ShotChoice& choice) {
    m_nThinkingUs += nowUs() - m_nThinkStartUs;
    ++m_nChosen;
    const Turn turn = *m_thinking;
    m_thinking.reset();
    if (m_wanted) {
        // A newer turn was asked for meanwhile.
        ++m_nStale;
        think();
        return;
    }
    if (turn.serial != m_client.TurnSerial() || m_client.View().ended) {
        ++m_nStale;
        return;
    }
    play(turn.task, choice);
}

void CBotPlayer::play(Task task, const ShotChoice& choice) {
    switch (task) {
    case Task::Break:
        m_client.Break(choice.strike);
        break;
    case Task::Shoot:
        m_client.Shoot(choice.strike);
        break;
    case Task::Place:
        if (!choice.placement) {
            // The brain places from the hand whenever it is asked to; should
            // it not, the turn is handed over rather than left to run out.
            m_client.PassTurn();
            return;
        }
        m_placed = choice;
        m_client.PlaceCueBall(choice.placement->x, choice.placement->y);
        break;
    }
}

} // namespace bot
