#pragma once
// The program's record of one person at the table. The hall's records and the
// server's person messages both fill it, so every field exists whoever fills
// it. Texts are GBK and always terminated.
//
// The avatar board reads `username` and `nickname` straight from the record's
// address while it paints, so the record starts with `id`, `username` and
// `nickname` at offsets 0, 4 and 38.

#include <cstddef>
#include <cstdint>

struct TablePerson {
    uint32_t id = 0;
    char username[34] = {};
    char nickname[34] = {};
    int16_t sex = 0;
    int16_t headpicid = 0;
    int16_t ismember = 0;
    int16_t level = 0;
    int16_t priority = 0;
    uint16_t forbidtype = 0; // bit 15: may not chat
    int32_t wealth = 0;
    int32_t money = 0;
    int32_t groupid = 0;
    int32_t ip = 0;
    int32_t proxyip = 0;
    int16_t networkspeed = 0;
    int32_t link_num = 0;
    int32_t break_num = 0;
    int32_t startgame_num = 0;
    int32_t forceexit_num = 0;
    int16_t is_permit_watch = 0;
    int32_t gamescore = 0;
    int32_t winnum = 0;
    int32_t losenum = 0;
    int32_t equalnum = 0;
    int16_t score_level = 0;
    int32_t teamid = 0;
    int16_t status = 0; // 4 player at a seat, 5 watcher
    int16_t deskno = -1;
    int16_t seatno = -1;
    int16_t watchno = -1;
    int16_t extra_d = 0;
    int16_t extra_e = 0;
    int16_t extra_f = 0;
    int32_t bubble_points = 0;
    char m_sSRemark[40] = {};
    char m_sDRemark[20] = {};
    char m_sCRemark[20] = {};
    char school_name[34] = {};
    char level_name[34] = {};
    int32_t ismyfriend = 0;
    int32_t ismydislike = 0;
    int16_t flag_a = 1;
    int16_t flag_b = 1;
    int16_t flag_c = 1;
    int16_t flag_d = 0;
    int16_t flag_e = -1;
    int16_t flag_f = -1;
    int32_t extra_a = 0;
    int32_t extra_b = 0;
    char extra_text[20] = {};
    int32_t extra_c = 0;
};

static_assert(offsetof(TablePerson, id) == 0);
static_assert(offsetof(TablePerson, username) == 4);
static_assert(offsetof(TablePerson, nickname) == 38);
