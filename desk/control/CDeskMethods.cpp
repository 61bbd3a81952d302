// The IDesk methods: set-up, racks, replays of the other desk's actions and
// the verdicts of the server.
#include "desk/control/CDesk.h"

#include "desk/control/Prompts.h"
#include "desk/model/Units.h"

#include <QImage>
#include <algorithm>
#include <cstring>

namespace desk::control {

namespace {

// Paths longer than this are not directories the desk could use anyway; the
// bound keeps a missing terminator from being read without end.
constexpr std::size_t kMaxPathBytes = 4096;

// Sixteen records, or nothing when the host handed fewer.
std::optional<SphereRecords> recordsFrom(SphereRecordSpan info) {
    if (info.data() == nullptr || info.size() < static_cast<std::size_t>(kSphereRecordCount))
        return std::nullopt;
    SphereRecords records{};
    std::copy_n(info.begin(), kSphereRecordCount, records.begin());
    return records;
}

} // namespace

// ---- set-up ----------------------------------------------------------------

void CDesk::put_BackColor(uint32_t colour) {
    m_nBackColor = colour;
}

uint32_t CDesk::get_BackColor() const {
    return m_nBackColor;
}

void CDesk::InitTable(QWidget*, int16_t, int16_t table_width, int16_t table_height,
                      int32_t bkcolor) {
    CancelShot();
    m_nWidth = table_width;
    m_nHeight = table_height;
    m_nDeskStyle = bkcolor;
    // A size that is no size falls back to the design window for the
    // geometry; GetTableSize still answers what was given.
    const CViewGeometry view(table_width, table_height);
    m_regions = CInputRegions(view.width(), view.height());
    m_spinMark = m_regions.centredSpinMark();
    if (table_width > 0 && table_height > 0)
        resize(table_width, table_height);

    m_engine = std::make_unique<CShotEngine>(view);
    m_engine->params() = m_params;
    m_engine->setMyGroup(m_nMyGroup);
    m_bCueBallShown = false;
    m_cue = {};

    m_renderer = m_rendererFactory ? m_rendererFactory() : nullptr;
    if (!m_renderer)
        m_renderer = std::make_unique<CNullDeskRenderer>();
    m_renderer->Create(this, view.width(), view.height(), m_resourceDir);
    if (m_sounds)
        m_sounds->LoadAll(m_resourceDir, this);
}

void CDesk::SetResourceDir(const char* str) {
    if (str == nullptr)
        return;
    m_resourceDir.Set(std::string_view(str, strnlen(str, kMaxPathBytes)));
}

void CDesk::SetParam_Ball_Ball(int32_t peng, int32_t damp) {
    m_params.setBallBall(peng, damp);
    if (m_engine)
        m_engine->params() = m_params;
}

void CDesk::SetParam_Ball_Down(int32_t peng, int32_t damp) {
    m_params.setBallDown(peng, damp);
    if (m_engine)
        m_engine->params() = m_params;
}

void CDesk::SetParam_Ball_Desk(int32_t peng, int32_t damp) {
    m_params.setBallDesk(peng, damp);
    if (m_engine)
        m_engine->params() = m_params;
}

void CDesk::SetParam_Gravity(int32_t gravity, int32_t density) {
    m_params.setGravity(gravity, density);
    if (m_engine)
        m_engine->params() = m_params;
}

void CDesk::SetWatchStyle(int16_t iswatch) {
    m_bWatching = iswatch == 1;
}

void CDesk::SetDeskStyle(int16_t style) {
    if (style == m_nDeskStyle)
        return;
    m_nDeskStyle = style;
    Render();
}

void CDesk::SetSound(int16_t issound) {
    if (m_sounds)
        m_sounds->SetEnabled(sound::soundSwitchOn(issound));
}

void CDesk::SetSubtype(int16_t subtype) {
    m_nSubtype = subtype;
}

void CDesk::GetTableSize(int16_t* width, int16_t* height) const {
    if (width != nullptr)
        *width = static_cast<int16_t>(m_nWidth);
    if (height != nullptr)
        *height = static_cast<int16_t>(m_nHeight);
}

void CDesk::SetBkImage_InBitmap(int16_t width, int16_t height, const QImage& bitmap) {
    if (bitmap.isNull() || width <= 0 || height <= 0)
        m_background = QImage();
    else
        m_background = bitmap.copy(0, 0, width, height);
}

void CDesk::SetPersonInfo(int16_t loc, const PersonInfo* info) {
    m_players.setPersonInfo(loc, info);
}

// ---- game and rack ----------------------------------------------------------------

void CDesk::StartDeal(int16_t loc) {
    if (!CPlayers::isLoc(loc))
        return;
    m_players.setReady(loc, true);
    Render();
}

void CDesk::StartGame() {
    CancelShot();
    m_nStatus = DeskStatus::BeforeGame;
    if (m_engine)
        m_engine->removeAllFromPlay();
    m_bCueBallShown = false;
    m_cue.shown = false;
    m_nMyGroup = kOpenTable;
    m_pendingGroup.reset();
    if (m_engine)
        m_engine->setMyGroup(kOpenTable);
    m_players.clearReady();
    Render();
}

void CDesk::SetStatus(int16_t status) {
    m_nStatus = status;
}

void CDesk::StartOneHand(int16_t loc, int16_t, SphereRecordSpan info) {
    PlaceRack(loc, info, false);
}

void CDesk::StartOneHandInRecover(int16_t loc, int16_t, SphereRecordSpan info) {
    PlaceRack(loc, info, true);
}

void CDesk::PlaceRack(int loc, SphereRecordSpan info, bool recover) {
    const auto records = recordsFrom(info);
    if (!m_engine || !records)
        return;
    CancelShot();
    // Every ball takes the start orientation and the world is built anew,
    // so every body starts enabled.
    m_engine->placeRack(*records);
    if (!recover)
        m_players.giveTurnChances(loc, 1);
    ShowAimAidsFor(loc);
    ShowPrompt(m_nStatus == DeskStatus::BallInHand ? prompts::placeCueBall(NameOf(loc))
                                                   : prompts::playShot(NameOf(loc)));
    m_bCueBallShown = (*records)[kCueBall].m_nStatus != kPocketedThisShot;
    m_bCueBallByHand = false;
    ResetSpin();
    ReplaceCue();
    Render();
    // The score list of the last game goes with the frame after this one.
    m_scoreList.shown = false;
}

void CDesk::StartChoice(int16_t loc) {
    if (m_nStatus == DeskStatus::BallInHand) {
        m_cue.shown = false;
        HideAimAids();
        m_bCueBallShown = false;
    } else {
        ShowAimAidsFor(loc);
        ReplaceCue();
    }
    StartTurn(loc);
    Render();
}

void CDesk::SetChance(int16_t loc, int16_t num) {
    m_players.setChances(loc, num);
    Render();
}

void CDesk::ExitChoice() {
    StopTurn();
    Render();
}

void CDesk::SetScore(int16_t my_loc, int32_t my_score, int16_t other_loc, int32_t other_score) {
    m_players.setScore(my_loc, my_score);
    m_players.setScore(other_loc, other_score);
    Render();
}

void CDesk::SetMyColor(int16_t color) {
    m_nMyGroup = (color == kSolids || color == kStripes) ? color : kOpenTable;
    // The shot being stepped keeps the group it was struck with.
    if (m_bShotRunning)
        m_pendingGroup = m_nMyGroup;
    else if (m_engine)
        m_engine->setMyGroup(m_nMyGroup);
    ShowPrompt(prompts::myGroup(color));
    Render();
}

void CDesk::SetScoreItem(int16_t winloc, int count, std::span<const CScoreListItem> items) {
    const std::size_t rows =
        std::min<std::size_t>({static_cast<std::size_t>(std::max(count, 0)),
                               items.data() ? items.size() : 0, m_scoreList.rows.size()});
    m_scoreList = {};
    for (std::size_t i = 0; i < rows; ++i) {
        CScoreListItem row = items[i];
        row.m_szNickname[sizeof(row.m_szNickname) - 1] = '\0';
        m_scoreList.rows[i] = row;
    }
    m_scoreList.rowCount = static_cast<int>(rows);
    m_scoreList.shown = true;
    if (CPlayers::isLoc(winloc))
        m_players.setScore(winloc, m_players.entry(winloc).m_nScore + 1);
    PlaySound(sound::Effect::GameOver);
    if (m_engine) {
        CancelShot();
        m_engine->gatherAtCentre();
        m_bCueBallShown = true;
        m_bCueBallByHand = false;
    }
    Render();
}

// ---- the other desk's actions ----------------------------------------------------------

void CDesk::TurnCue(int16_t loc, int32_t arc) {
    if (!m_engine)
        return;
    m_nCueArc = arc;
    ReplaceCue();
    Render();
    ShowAimAidsFor(loc);
}

void CDesk::StartCrash(int16_t, int32_t arc, int32_t speed, int32_t, int32_t, int32_t z) {
    if (!Fire([](_IDeskEvents& s) { s.StartCrash(); }))
        return;
    StopTurn();
    Render();
    if (!m_engine)
        return;
    m_nCueArc = arc;
    m_power.power = speed;
    m_nTip = z;
    Strike(arc, speed);
}

void CDesk::BallMoving(int16_t, int32_t x, int32_t y, int32_t) {
    if (!m_engine)
        return;
    CancelShot();
    m_engine->placeCueBall(fromInterface(x), fromInterface(y), false);
    m_bCueBallShown = true;
    m_bCueBallByHand = true;
    m_cue.shown = false;
    HideAimAids();
    Render();
}

void CDesk::BallMoved(int16_t loc, int32_t x, int32_t y, int32_t) {
    if (!m_engine)
        return;
    CancelShot();
    StopTurn();
    m_engine->placeCueBall(fromInterface(x), fromInterface(y), true);
    m_bCueBallShown = true;
    m_bCueBallByHand = true;
    ReplaceCue();
    if (loc == 0)
        ShowAimAidsFor(0);
    const int chances = CPlayers::isLoc(loc) ? m_players.entry(loc).m_nChances : 0;
    ShowPrompt(prompts::playWithChances(NameOf(loc), chances));
    StartTurn(loc);
    Render();
}

void CDesk::Guo_InPlay(int16_t loc_guo, int16_t loc_next, int16_t num) {
    // The charging flag stays until the next release, as the button is still down.
    m_timers.KillTimer(kChargeTimer);
    m_power.power = 0;
    m_power.rising = true;
    m_players.giveTurnChances(loc_next, num);
    StartTurn(loc_next);
    ShowPrompt(prompts::gaveUp(NameOf(loc_guo), NameOf(loc_next), num));
    ShowAimAidsFor(loc_next);
    PlaySound(sound::Effect::GiveUp);
    Render();
}

void CDesk::Guo_InMoving(int16_t loc_guo, int16_t loc_next, int16_t num) {
    m_players.giveTurnChances(loc_next, num);
    StartTurn(loc_next);
    ShowPrompt(prompts::timedOut(NameOf(loc_guo), NameOf(loc_next), num));
    PlaySound(sound::Effect::GiveUp);
    Render();
}

// ---- verdicts ----------------------------------------------------------------------------

void CDesk::EndCrash(int16_t loc, int16_t gan_num, int16_t, SphereRecordSpan info,
                     int16_t iserror) {
    ApplyShotResult(loc, gan_num, info, iserror);
}

void CDesk::EndCrashWithStatus(int16_t loc, int16_t gan_num, int16_t, SphereRecordSpan info,
                               int16_t iserror, int16_t status) {
    if (!m_engine || !recordsFrom(info))
        return;
    m_nStatus = status;
    ApplyShotResult(loc, gan_num, info, iserror);
}

void CDesk::ApplyShotResult(int loc, int gan_num, SphereRecordSpan info, int iserror) {
    const auto records = recordsFrom(info);
    if (!m_engine || !records)
        return;
    CancelShot();
    m_engine->placeFromRecords(*records);
    const bool cueBallDown = (*records)[kCueBall].m_nStatus == kPocketedThisShot;
    const bool placing = m_nStatus == DeskStatus::BallInHand;
    m_bCueBallShown = !cueBallDown;
    m_bCueBallByHand = false;
    if (loc != 0) {
        if (placing)
            m_cue.shown = false;
        else
            ReplaceCue();
        HideAimAids();
    } else if (!placing && !cueBallDown) {
        ReplaceCue();
        ShowAimAidsFor(0);
    } else {
        m_cue.shown = false;
        HideAimAids();
    }
    ResetSpin();
    StartTurn(loc);
    m_players.giveTurnChances(loc, gan_num);
    m_power.power = 0;
    m_power.rising = true;
    if (placing)
        ShowPrompt(prompts::placeCueBall(NameOf(loc)));
    else if (iserror != 0)
        ShowPrompt(prompts::foulThenPlay(NameOf(1 - loc), NameOf(loc), gan_num));
    else
        ShowPrompt(prompts::playWithChances(NameOf(loc), gan_num));
    Render();
}

} // namespace desk::control
