#pragma once
// The desk control: the pool table as a widget inside the host's window.
//
// The host drives it through IDesk and hears from it through _IDeskEvents
// (desk/control/Desk.h). It keeps the table (the simulation core's engine),
// the two player entries, what is shown (cue stick, aim line, arrow, banner,
// score list, pocket lights) and the local player's input state, and hands
// a DeskScene to its renderer whenever something visible changed.
//
// Everything runs on the UI thread except the stepping of a shot, which a
// CShotWorker does on its own thread while the UI thread stays responsive.

#include "desk/control/Aiming.h"
#include "desk/control/Desk.h"
#include "desk/control/DeskSite.h"
#include "desk/control/IDeskRenderer.h"
#include "desk/control/InputRegions.h"
#include "desk/control/ShotWorker.h"
#include "desk/control/TurnClock.h"
#include "desk/media/MediaDirectory.h"
#include "desk/model/Players.h"
#include "desk/physics/PhysicsParams.h"
#include "platform/timers/WindowTimers.h"

#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace desk::control {

class CDesk final : public QWidget, public IDesk, public IDeskSite, private platform::ITimerOwner {
    Q_OBJECT
    Q_INTERFACES(desk::IDesk desk::control::IDeskSite)

public:
    static constexpr int kChargeTimer = 100;
    static constexpr int kBannerTimer = 120;
    static constexpr int kBannerMs = 5000;
    static constexpr int kPocketLightTimer = 210; // + pocket 0 … 5
    static constexpr int kPocketLightMs = 80;
    static constexpr int kPocketLightFrames = 5;

    struct Services {
        DeskRendererFactory renderers;
        std::shared_ptr<sound::ISoundEffects> sounds;
        std::shared_ptr<IShotClock> clock;
    };

    explicit CDesk(Services services, QWidget* parent = nullptr);
    ~CDesk() override;

    // ---- IDesk -----------------------------------------------------------
    void put_BackColor(uint32_t colour) override;
    uint32_t get_BackColor() const override;
    void InitTable(QWidget* mainWindow, int16_t type, int16_t table_width, int16_t table_height,
                   int32_t bkcolor) override;
    void CrashLoop() override;
    void SetResourceDir(const char* str) override;
    void SetParam_Ball_Ball(int32_t peng, int32_t damp) override;
    void SetParam_Ball_Down(int32_t peng, int32_t damp) override;
    void SetParam_Ball_Desk(int32_t peng, int32_t damp) override;
    void SetParam_Gravity(int32_t gravity, int32_t density) override;
    void StartDeal(int16_t loc) override;
    void StartGame() override;
    void StartOneHand(int16_t loc, int16_t num, SphereRecordSpan info) override;
    void SetStatus(int16_t status) override;
    void TurnCue(int16_t loc, int32_t arc) override;
    void StartCrash(int16_t loc, int32_t arc, int32_t speed, int32_t x, int32_t y,
                    int32_t z) override;
    void EndCrash(int16_t loc, int16_t gan_num, int16_t num, SphereRecordSpan info,
                  int16_t iserror) override;
    void SetMyColor(int16_t color) override;
    void BallMoving(int16_t loc, int32_t x, int32_t y, int32_t z) override;
    void BallMoved(int16_t loc, int32_t x, int32_t y, int32_t z) override;
    void Guo_InPlay(int16_t loc_guo, int16_t loc_next, int16_t num) override;
    void Guo_InMoving(int16_t loc_guo, int16_t loc_next, int16_t num) override;
    void SetScoreItem(int16_t winloc, int count, std::span<const CScoreListItem> items) override;
    void StartChoice(int16_t loc) override;
    void SetChance(int16_t loc, int16_t num) override;
    void ExitChoice() override;
    void SetPersonInfo(int16_t loc, const PersonInfo* info) override;
    void SetScore(int16_t my_loc, int32_t my_score, int16_t other_loc,
                  int32_t other_score) override;
    void LButtonUp() override;
    void SetWatchStyle(int16_t iswatch) override;
    void SetDeskStyle(int16_t style) override;
    void SetSound(int16_t issound) override;
    void EndCrashWithStatus(int16_t loc, int16_t gan_num, int16_t num, SphereRecordSpan info,
                            int16_t iserror, int16_t status) override;
    void StartOneHandInRecover(int16_t loc, int16_t num, SphereRecordSpan info) override;
    void SetSubtype(int16_t subtype) override;
    void GetTableSize(int16_t* width, int16_t* height) const override;
    void SetBkImage_InBitmap(int16_t width, int16_t height, const QImage& bitmap) override;
    void Advise(_IDeskEvents* sink) override;
    void Unadvise(_IDeskEvents* sink) override;

    // ---- IDeskSite -------------------------------------------------------
    void SetRendererFactory(DeskRendererFactory factory) override;
    void SetSoundEffects(std::shared_ptr<sound::ISoundEffects> sounds) override;
    void SetShotClock(std::shared_ptr<IShotClock> clock) override;
    DeskScene CurrentScene() const override;
    bool IsShotRunning() const override { return m_bShotRunning; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // ---- drawing and shown state (CDesk.cpp) ------------------------------
    void Render();
    void ShowPrompt(std::string text);
    void StartPocketLight(int pocket);
    void OnTimer(int id) override;
    void ShowAimAidsFor(int loc);
    void HideAimAids();
    void ReplaceCue();
    void ResetSpin();
    void StartTurn(int loc);
    void StopTurn();
    bool OnTurnClockTick();
    std::string NameOf(int loc) const;
    Vec3 CueBallPosition() const;
    BallSnapshot CurrentBalls() const;
    BallCentres ObjectBallCentres() const;
    // False when a sink destroyed the control: the caller must return at once.
    bool Fire(const std::function<void(_IDeskEvents&)>& call);
    void PlaySound(sound::Effect effect);

    // ---- placements (CDeskMethods.cpp) ------------------------------------
    bool Ready() const { return m_engine != nullptr; }
    void PlaceRack(int loc, SphereRecordSpan info, bool recover);
    void ApplyShotResult(int loc, int gan_num, SphereRecordSpan info, int iserror);

    // ---- the shot (CDeskShot.cpp) -----------------------------------------
    void Strike(int32_t arc, int32_t speed);
    void CancelShot();
    void OnShotEvent(const ShotEvent& event);
    void OnShotEnded();
    void ReportResult(bool breakShot);

    // ---- local input (CDeskInput.cpp) -------------------------------------
    bool TakesMouse() const;
    void OnMouseMove(int px, int py);
    void OnLeftButtonDown(int px, int py);
    void OnLeftButtonUp();
    void Release();
    void OnChargeTick();
    bool IsLegalPlacement(int px, int py) const;
    int PointerPictureAt(int px, int py) const;
    void UpdatePointerPicture(int px, int py);

    // Services
    DeskRendererFactory m_rendererFactory;
    std::shared_ptr<sound::ISoundEffects> m_sounds;
    std::shared_ptr<IShotClock> m_clock;
    std::unique_ptr<IDeskRenderer> m_renderer;

    // Table and shot
    std::unique_ptr<CShotEngine> m_engine; // exists from InitTable on
    CShotWorker m_worker;
    bool m_bShotRunning = false;
    std::optional<int> m_pendingGroup; // SetMyColor during a shot, applied at its end
    CPhysicsParams m_params;
    media::CMediaDirectory m_resourceDir;
    int m_nWidth = 0;
    int m_nHeight = 0;
    CInputRegions m_regions;

    // Host settings
    uint32_t m_nBackColor = 0;
    int32_t m_nDeskStyle = 0;
    int16_t m_nSubtype = 1;
    bool m_bWatching = false;
    QImage m_background;

    // Game state
    int16_t m_nStatus = DeskStatus::BeforeGame;
    CPlayers m_players;
    CTurnClock m_turnClock;
    int m_nMyGroup = kOpenTable;

    // Shown state
    bool m_bCueBallShown = false; // the cue ball of the rack is drawn
    bool m_bCueBallByHand = false;
    SceneCue m_cue;
    int32_t m_nCueArc = 0; // the cue angle as the interface carries it
    SceneAimLine m_aimLine;
    SceneArrow m_arrow;
    int m_nTargetBall = -1;
    SceneBanner m_banner;
    SceneScoreList m_scoreList;
    std::array<ScenePocketLight, 6> m_pocketLights{};
    PixelPoint m_spinMark;

    // Local input
    PowerState m_power;
    bool m_bCharging = false;
    bool m_bOverSelector = false;
    int32_t m_nTip = 0; // cue-tip offset × 1 000 000
    double m_lastReportedAngle = 0;
    PixelPoint m_lastReportedPoint;
    int m_nPointerPicture = -1;

    platform::CWindowTimers m_timers;
    std::vector<_IDeskEvents*> m_sinks;
    // Records handed out with End_On* live here during the event.
    SphereRecords m_outRecords{};
    JudgeRecord m_outJudge{};
};

} // namespace desk::control
