#pragma once
// The bot at the table: whenever the client says it is the bot's turn to
// break, shoot or place the cue ball, the brain chooses from the position
// every desk holds, and the client sends what a desk sends (the strike and
// the report of its own simulation of it).
//
// The brain thinks on a thread of its own while the client goes on
// receiving: a message that changes the turn meanwhile (a player who came
// back rebuilds every table) makes the choice stale, and the bot thinks
// again about the turn as it now stands instead of striking on a position
// the others no longer hold.
//
// With ball in hand the brain chooses the spot and the strike together; the
// strike is kept until the server has echoed the placement and is then
// played from exactly that spot.

#include "tools/bot/brain/ShotBrain.h"
#include "tools/bot/client/BotClient.h"

#include <QObject>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

namespace bot {

class CBotPlayer {
public:
    // What chooses a shot: the brain's choose(), called on the player's own
    // thread, one request at a time.
    using Chooser = std::function<ShotChoice(const ShotRequest&)>;

    CBotPlayer(CBotClient& client, Chooser chooser);
    ~CBotPlayer(); // waits for a choice in the making, which is then dropped
    CBotPlayer(const CBotPlayer&) = delete;
    CBotPlayer& operator=(const CBotPlayer&) = delete;

    // The client's turns.
    void Break();
    void Shoot();
    void PlaceCueBall();

    // Shots chosen so far and the time spent choosing them.
    int ShotsChosen() const { return m_nChosen; }
    int64_t ThinkingMicroseconds() const { return m_nThinkingUs; }
    // Choices that went stale while they were made.
    int StaleChoices() const { return m_nStale; }

private:
    enum class Task : uint8_t { Break, Shoot, Place };
    struct Turn {
        Task task;
        uint64_t serial; // the client's turn serial when it was asked
    };

    void want(Task task);
    void think();
    void work(); // the brain's thread
    void thought(const ShotChoice& choice);
    void play(Task task, const ShotChoice& choice);
    ShotRequest request(Task task) const;

    CBotClient& m_client;
    Chooser m_choose;
    QObject m_context; // receives the brain's answers on the client's thread
    // One thread for the whole game: the physics engine keeps per-thread
    // data, made once.
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::optional<ShotRequest> m_job; // guarded by m_mutex
    bool m_bQuit = false;             // guarded by m_mutex
    std::thread m_worker;
    std::optional<Turn> m_wanted;   // the latest turn asked for, not yet thought about
    std::optional<Turn> m_thinking; // the turn the brain is working on
    int64_t m_nThinkStartUs = 0;
    std::optional<ShotChoice> m_placed; // chosen with ball in hand, placement not yet echoed
    int m_nChosen = 0;
    int m_nStale = 0;
    int64_t m_nThinkingUs = 0;
};

} // namespace bot
