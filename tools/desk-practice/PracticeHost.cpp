#include "tools/desk-practice/PracticeHost.h"

#include "desk/model/StandardRack.h"

#include <QTimer>
#include <algorithm>

namespace practice {

using desk::DeskStatus::Aiming;
using desk::DeskStatus::BallInHand;
using desk::DeskStatus::BreakAiming;

namespace {

constexpr int16_t kLocSelf = 0;
constexpr int16_t kOneChance = 1;

desk::SphereRecords copyRecords(desk::SphereRecordSpan info) {
    desk::SphereRecords records{};
    std::copy_n(info.begin(), std::min(info.size(), records.size()), records.begin());
    return records;
}

} // namespace

bool tableCleared(const desk::SphereRecords& records) {
    return std::all_of(records.begin(), records.begin() + desk::kObjectBallCount,
                       [](const SphereRecord& r) { return r.m_nStatus != desk::kOnTable; });
}

CPracticeHost::CPracticeHost(desk::IDesk& desk, Settings settings)
    : m_desk(desk), m_settings(std::move(settings)), m_nNextSeed(m_settings.seed) {
    m_desk.Advise(this);
}

CPracticeHost::~CPracticeHost() {
    m_desk.Unadvise(this);
}

void CPracticeHost::Start() {
    m_desk.SetResourceDir(m_settings.resourceDir.c_str());
    m_desk.SetSound(m_settings.sound ? 1 : 0);
    m_desk.InitTable(nullptr, 0, static_cast<int16_t>(m_settings.width),
                     static_cast<int16_t>(m_settings.height), 0);
    ShowPlayer();
    m_desk.StartGame();
}

void CPracticeHost::ShowPlayer() {
    const desk::PersonInfo self{m_settings.name.c_str(), static_cast<int16_t>(m_nPocketed),
                                kOneChance};
    m_desk.SetPersonInfo(kLocSelf, &self);
}

void CPracticeHost::Rack() {
    const desk::SphereRecords rack = desk::standardRack(m_nNextSeed++);
    ++m_nRacks;
    for (int i = 0; i < desk::kBallCount; ++i)
        m_before[static_cast<std::size_t>(i)] = rack[static_cast<std::size_t>(i)].m_nStatus;
    m_desk.SetStatus(BreakAiming);
    m_desk.StartOneHand(kLocSelf, kSphereRecordCount, rack);
    // The turn clock starts with the player's choice of shot.
    m_desk.StartChoice(kLocSelf);
}

void CPracticeHost::AgreeStart() {
    QTimer::singleShot(0, this, [this] {
        m_desk.StartDeal(kLocSelf);
        Rack();
    });
}

void CPracticeHost::End_OnStart(int, desk::SphereRecordSpan info, const JudgeRecord&) {
    OnShotResult(info);
}

void CPracticeHost::End_OnPlay(int, desk::SphereRecordSpan info, const JudgeRecord&) {
    OnShotResult(info);
}

void CPracticeHost::OnShotResult(desk::SphereRecordSpan info) {
    if (info.size() < static_cast<std::size_t>(kSphereRecordCount))
        return;
    const desk::SphereRecords records = copyRecords(info);
    QTimer::singleShot(0, this, [this, records] {
        ++m_nShots;
        for (int i = 0; i < desk::kObjectBallCount; ++i) {
            const auto k = static_cast<std::size_t>(i);
            if (m_before[k] == desk::kOnTable && records[k].m_nStatus != desk::kOnTable)
                ++m_nPocketed;
        }
        for (int i = 0; i < desk::kBallCount; ++i)
            m_before[static_cast<std::size_t>(i)] = records[static_cast<std::size_t>(i)].m_nStatus;
        ShowPlayer();
        if (tableCleared(records)) {
            Rack();
            return;
        }
        const bool cueBallDown = records[desk::kCueBall].m_nStatus != desk::kOnTable;
        m_desk.EndCrashWithStatus(kLocSelf, kOneChance, kSphereRecordCount, records, 0,
                                  cueBallDown ? BallInHand : Aiming);
    });
}

void CPracticeHost::Moved(int32_t x, int32_t y, int32_t z) {
    QTimer::singleShot(0, this, [this, x, y, z] {
        m_before[desk::kCueBall] = desk::kOnTable;
        m_desk.SetStatus(Aiming);
        m_desk.BallMoved(kLocSelf, x, y, z);
    });
}

void CPracticeHost::Guo() {
    QTimer::singleShot(0, this, [this] { m_desk.Guo_InPlay(kLocSelf, kLocSelf, kOneChance); });
}

void CPracticeHost::Guo_Moving() {
    QTimer::singleShot(0, this, [this] { m_desk.Guo_InMoving(kLocSelf, kLocSelf, kOneChance); });
}

} // namespace practice
