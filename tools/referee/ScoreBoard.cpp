#include "tools/referee/ScoreBoard.h"

namespace referee {

void CScoreBoard::SetSeat(int seat, const SeatScore& start) {
    if (seat == 0 || seat == 1)
        m_seats[seat] = start;
}

void CScoreBoard::RecordGame(int winner) {
    ++m_nGames;
    for (int s = 0; s < 2; ++s) {
        SeatScore& score = m_seats[s];
        if (winner != 0 && winner != 1) {
            score.game = 0;
            ++score.draws;
        } else if (s == winner) {
            score.game = 1;
            ++score.wins;
        } else {
            score.game = -1;
            ++score.losses;
        }
        score.total += score.game;
    }
}

} // namespace referee
