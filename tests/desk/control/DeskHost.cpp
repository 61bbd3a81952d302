#include "DeskHost.h"

#include "desk/model/Balls.h"
#include "desk/model/StandardRack.h"
#include "desk/model/ViewGeometry.h"

#include "platform/text/Gbk.h"
#include <QCoreApplication>
#include <QEventLoop>
#include <QMouseEvent>

#include <gtest/gtest.h>

namespace desk::test {

// ---- sink --------------------------------------------------------------------

std::vector<std::string> CRecordingSink::names() const {
    std::vector<std::string> out;
    for (const FiredEvent& e : events)
        out.push_back(e.name);
    return out;
}

int CRecordingSink::count(const std::string& name) const {
    int n = 0;
    for (const FiredEvent& e : events)
        n += e.name == name;
    return n;
}

const FiredEvent* CRecordingSink::last(const std::string& name) const {
    for (auto it = events.rbegin(); it != events.rend(); ++it)
        if (it->name == name)
            return &*it;
    return nullptr;
}

void CRecordingSink::add(std::string name, std::vector<int64_t> args) {
    FiredEvent e;
    e.name = std::move(name);
    e.args = std::move(args);
    add(std::move(e));
}

void CRecordingSink::add(FiredEvent e) {
    e.thread = std::this_thread::get_id();
    events.push_back(std::move(e));
    if (onEvent)
        onEvent(events.back());
}

void CRecordingSink::AgreeStart() {
    add("AgreeStart");
}
void CRecordingSink::Turn_OnStart(int32_t arc) {
    add("Turn_OnStart", {arc});
}
void CRecordingSink::Turn_OnPlay(int32_t arc) {
    add("Turn_OnPlay", {arc});
}
void CRecordingSink::Begin_OnStart(int32_t arc, int32_t speed, int32_t x, int32_t y, int32_t z) {
    add("Begin_OnStart", {arc, speed, x, y, z});
}
void CRecordingSink::Begin_OnPlay(int32_t arc, int32_t speed, int32_t x, int32_t y, int32_t z) {
    add("Begin_OnPlay", {arc, speed, x, y, z});
}

namespace {
FiredEvent endEvent(const char* name, int num, SphereRecordSpan info, const JudgeRecord& judge) {
    FiredEvent e;
    e.name = name;
    e.args = {num, static_cast<int64_t>(info.size())};
    for (std::size_t i = 0; i < info.size() && i < e.records.size(); ++i)
        e.records[i] = info[i];
    e.judge = judge;
    return e;
}
} // namespace

void CRecordingSink::End_OnStart(int num, SphereRecordSpan info, const JudgeRecord& jginfo) {
    add(endEvent("End_OnStart", num, info, jginfo));
}
void CRecordingSink::End_OnPlay(int num, SphereRecordSpan info, const JudgeRecord& jginfo) {
    add(endEvent("End_OnPlay", num, info, jginfo));
}
void CRecordingSink::Guo() {
    add("Guo");
}
void CRecordingSink::Guo_Moving() {
    add("Guo_Moving");
}
void CRecordingSink::Moving(int32_t x, int32_t y, int32_t z) {
    add("Moving", {x, y, z});
}
void CRecordingSink::Moved(int32_t x, int32_t y, int32_t z) {
    add("Moved", {x, y, z});
}
void CRecordingSink::EnableAdv(int16_t isenable) {
    add("EnableAdv", {isenable});
}
void CRecordingSink::EndCrash() {
    add("EndCrash");
}
void CRecordingSink::SendDetect() {
    add("SendDetect");
}
void CRecordingSink::StartCrash() {
    add("StartCrash");
}
void CRecordingSink::End_OnStart_NoSendJg() {
    add("End_OnStart_NoSendJg");
}
void CRecordingSink::End_OnPlay_NoSendJg() {
    add("End_OnPlay_NoSendJg");
}

// ---- host --------------------------------------------------------------------

CDeskHost::CDeskHost(int width, int height, bool init)
    : registry(QStringList{QStringLiteral(BEXLO_PLUGIN_DIR)}),
      frames(std::make_shared<control::CRecordingDeskRenderer::CRecord>()),
      sounds(std::make_shared<sound::CRecordingSoundEffects>()) {
    auto created = registry.createControl(kDeskClassId, nullptr);
    widget.reset(created.control);
    desk = deskOf(widget.get());
    site = qobject_cast<control::IDeskSite*>(widget.get());
    if (desk == nullptr || site == nullptr) {
        ADD_FAILURE() << "no desk control: " << platform::describe(created.error);
        return;
    }
    site->SetRendererFactory(control::CRecordingDeskRenderer::factory(frames));
    site->SetSoundEffects(sounds);
    site->SetShotClock(std::make_shared<CVirtualShotClock>());
    desk->Advise(&sink);
    if (init) {
        desk->SetResourceDir("/nowhere/res");
        desk->InitTable(nullptr, 0, static_cast<int16_t>(width), static_cast<int16_t>(height), 0);
    }
}

CDeskHost::~CDeskHost() {
    widget.reset();
}

namespace {
void sendMouse(QWidget* w, QEvent::Type type, int x, int y, Qt::MouseButton button,
               Qt::MouseButtons buttons) {
    const QPointF local(x, y);
    QMouseEvent event(type, local, w->mapToGlobal(local), button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &event);
}
} // namespace

void CDeskHost::move(int x, int y) {
    sendMouse(widget.get(), QEvent::MouseMove, x, y, Qt::NoButton, Qt::NoButton);
}

void CDeskHost::press(int x, int y) {
    sendMouse(widget.get(), QEvent::MouseButtonPress, x, y, Qt::LeftButton, Qt::LeftButton);
}

void CDeskHost::release(int x, int y) {
    sendMouse(widget.get(), QEvent::MouseButtonRelease, x, y, Qt::LeftButton, Qt::NoButton);
}

void CDeskHost::waitForShot() {
    while (site->IsShotRunning())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

QPoint CDeskHost::pixelAt(double x, double y) const {
    const control::DeskScene s = scene();
    const ScreenPoint p = CViewGeometry(s.width, s.height).worldToScreen(x, y);
    return {static_cast<int>(p.x), static_cast<int>(p.y)};
}

SphereRecords tableWith(double cx, double cy, std::initializer_list<BallAt> on, int16_t cueStatus) {
    const CViewGeometry view;
    SphereRecords records{};
    for (int i = 0; i < kObjectBallCount; ++i) {
        const WorldPoint tray = view.traySlot(i);
        records[static_cast<std::size_t>(i)] =
            makeSphereRecord(i, tray.x, tray.y, kPocketedEarlier, startOrientation());
    }
    for (const BallAt& b : on)
        records[static_cast<std::size_t>(b.index)] =
            makeSphereRecord(b.index, b.x, b.y, kOnTable, startOrientation());
    records[kCueBall] = makeSphereRecord(kCueBall, cx, cy, cueStatus, startOrientation());
    return records;
}

// ---- fixture -----------------------------------------------------------------

void DeskFixture::SetUp() {
    ASSERT_NE(host.desk, nullptr);
    PersonInfo ann{"Ann", 3, 0};
    PersonInfo bob{"Bob", 5, 0};
    desk.SetPersonInfo(0, &ann);
    desk.SetPersonInfo(1, &bob);
}

void DeskFixture::rack(int16_t loc, int16_t status, const SphereRecords& records) {
    desk.SetStatus(status);
    desk.StartOneHand(loc, 16, records);
}

void DeskFixture::rack(int16_t loc, int16_t status) {
    rack(loc, status, standardRack(7));
}

std::string gbk(const char* utf8) {
    return platform::gbk::fromUtf8(utf8);
}

} // namespace desk::test
