#include "tools/referee/ScoreBoard.h"

#include <gtest/gtest.h>

namespace referee {
namespace {

TEST(ScoreBoard, GamesAddToWhatThePlayersBrought) {
    CScoreBoard board;
    board.SetSeat(1, {0, 10, 4, 3, 1});
    board.RecordGame(0);
    EXPECT_EQ(board.Seat(0).game, 1);
    EXPECT_EQ(board.Seat(0).total, 1);
    EXPECT_EQ(board.Seat(0).wins, 1);
    EXPECT_EQ(board.Seat(1).game, -1);
    EXPECT_EQ(board.Seat(1).total, 9);
    EXPECT_EQ(board.Seat(1).losses, 4);

    board.RecordGame(-1);
    EXPECT_EQ(board.Seat(0).game, 0);
    EXPECT_EQ(board.Seat(0).draws, 1);
    EXPECT_EQ(board.Seat(1).draws, 2);
    EXPECT_EQ(board.Seat(1).total, 9);
    EXPECT_EQ(board.Games(), 2);
}

} // namespace
} // namespace referee
