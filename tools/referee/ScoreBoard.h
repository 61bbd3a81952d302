#pragma once
// The scores of the two seats of a table: each game's winner scores +1 and
// the loser −1; totals, wins, losses and draws carry on from the players'
// records and accumulate over the games of the table.

#include <cstdint>

namespace referee {

struct SeatScore {
    int32_t game = 0;  // score of the last game
    int32_t total = 0; // running total
    int32_t wins = 0;
    int32_t losses = 0;
    int32_t draws = 0;
};

class CScoreBoard {
public:
    // The totals a seat's player brings to the table.
    void SetSeat(int seat, const SeatScore& start);
    // A game won by `winner`; −1 for a draw.
    void RecordGame(int winner);

    const SeatScore& Seat(int seat) const { return m_seats[seat == 1 ? 1 : 0]; }
    int Games() const { return m_nGames; }

private:
    SeatScore m_seats[2];
    int m_nGames = 0;
};

} // namespace referee
