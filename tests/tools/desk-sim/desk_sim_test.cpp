#include "desk/model/StandardRack.h"
#include "desk/model/Units.h"
#include "desk/model/ViewGeometry.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <array>
#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct SimRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string tempPath(const std::string& name) {
    return ::testing::TempDir() + "desk_sim_" + name;
}

std::string writeTemp(const std::string& name, const std::string& text) {
    const std::string path = tempPath(name);
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

// Runs desk-sim in a child process.
SimRun deskSim(const std::string& args) {
    const std::string errFile = tempPath("stderr.txt");
    const std::string cmd = std::string(DESK_SIM) + " " + args + " 2>" + errFile;
    SimRun run;
    FILE* pipe = popen(cmd.c_str(), "r");
    if (pipe == nullptr)
        return run;
    std::array<char, 4096> buf{};
    std::size_t n = 0;
    while ((n = fread(buf.data(), 1, buf.size(), pipe)) > 0)
        run.out.append(buf.data(), n);
    const int status = pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.err = slurp(errFile);
    return run;
}

QJsonObject parse(const std::string& text) {
    return QJsonDocument::fromJson(QByteArray::fromStdString(text)).object();
}

std::string ballJson(int index, double x, double y, int status) {
    return "{\"index\":" + std::to_string(index) +
           ",\"x\":" + std::to_string(desk::toInterface(x)) +
           ",\"y\":" + std::to_string(desk::toInterface(y)) +
           ",\"status\":" + std::to_string(status) + "}";
}

// Every ball in its tray slot except the ones given.
std::string rackJson(const std::vector<std::tuple<int, double, double>>& onTable) {
    std::string json = "[";
    const desk::CViewGeometry view;
    for (int i = 0; i < 16; ++i) {
        const desk::WorldPoint slot = view.traySlot(i);
        std::string ball = ballJson(i, slot.x, slot.y, 1);
        for (const auto& [b, x, y] : onTable)
            if (b == i)
                ball = ballJson(i, x, y, 0);
        json += (i ? "," : "") + ball;
    }
    return json + "]";
}

// The text with the first `what` replaced.
std::string replaced(std::string text, const std::string& what, const std::string& with) {
    text.replace(text.find(what), what.size(), with);
    return text;
}

TEST(DeskSim, TheSameBreakPrintsTheSameBytesInTwoProcesses) {
    const SimRun first = deskSim("--seed 17 --arc -15000 --speed 2000 --tip 200000");
    const SimRun second = deskSim("--seed 17 --arc -15000 --speed 2000 --tip 200000");
    ASSERT_EQ(first.exitCode, 0) << first.err;
    EXPECT_EQ(first.out, second.out);
    EXPECT_TRUE(first.err.empty());

    const QJsonObject result = parse(first.out);
    const QJsonArray balls = result.value("balls").toArray();
    ASSERT_EQ(balls.size(), 16);
    for (int k = 0; k < 16; ++k) {
        const QJsonObject b = balls[k].toObject();
        EXPECT_EQ(b.value("index").toInt(), k);
        EXPECT_TRUE(b.value("x").isDouble());
        EXPECT_TRUE(b.value("y").isDouble());
        EXPECT_EQ(b.value("rotation").toArray().size(), 12);
    }
    const QJsonObject judge = result.value("judge").toObject();
    EXPECT_EQ(judge.value("m_bGone").toArray().size(), 15);
    for (const char* name :
         {"m_bWhiteGone", "m_bOtherGone", "m_bIsTouch_Nothing", "m_bIsTouch_Other",
          "m_bIsTouch_No_Desk", "m_nFirst_Gone", "m_nNum_TouchDesk", "m_nFirst_Touch"})
        EXPECT_TRUE(judge.value(name).isDouble()) << name;
    EXPECT_GE(judge.value("m_nFirst_Touch").toInt(), 0);
    EXPECT_GT(result.value("steps").toInt(), 0);
    EXPECT_FALSE(result.contains("trace"));
}

TEST(DeskSim, ARackFileGivesWhatTheSameRackBySeedGives) {
    const desk::SphereRecords rack = desk::standardRack(5);
    std::string json = "{\"balls\":[";
    for (int k = 0; k < 16; ++k) {
        const auto& r = rack[static_cast<std::size_t>(k)];
        json += (k ? "," : "") + std::string("{\"index\":") + std::to_string(k) +
                ",\"x\":" + std::to_string(r.m_nX) + ",\"y\":" + std::to_string(r.m_nY) + "}";
    }
    json += "]}";
    const std::string file = writeTemp("rack5.json", json);
    const SimRun bySeed = deskSim("--seed 5 --arc 0 --speed 1800 --tip 0");
    const SimRun byFile = deskSim("--rack " + file + " --arc 0 --speed 1800 --tip 0");
    ASSERT_EQ(byFile.exitCode, 0) << byFile.err;
    EXPECT_EQ(bySeed.out, byFile.out);

    // The output itself is a rack desk-sim accepts.
    const std::string again = writeTemp("again.json", byFile.out);
    const SimRun next = deskSim("--rack " + again + " --arc 1570796 --speed 900 --tip 0");
    EXPECT_EQ(next.exitCode, 0) << next.err;
}

TEST(DeskSim, TraceListsEveryStepsPositions) {
    const SimRun run = deskSim("--seed 2 --arc 0 --speed 600 --tip 0 --trace");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const QJsonObject result = parse(run.out);
    const QJsonArray trace = result.value("trace").toArray();
    EXPECT_EQ(trace.size(), result.value("steps").toInt());
    ASSERT_FALSE(trace.isEmpty());
    EXPECT_EQ(trace[0].toArray().size(), 16);
    EXPECT_EQ(trace[0].toArray()[15].toArray().size(), 2);
    // The cue ball moves along +x from its spot.
    EXPECT_LT(trace[0].toArray()[15].toArray()[0].toInt(),
              trace[5].toArray()[15].toArray()[0].toInt());
}

TEST(DeskSim, TheGroupDecidesWhetherTheFirstContactWasIllegal) {
    const std::string file = writeTemp("stripe.json", rackJson({{15, -10, 5.65}, {9, -4, 5.65}}));
    const SimRun solids = deskSim("--rack " + file + " --arc 0 --speed 600 --tip 0 --group 0");
    const SimRun stripes = deskSim("--rack " + file + " --arc 0 --speed 600 --tip 0 --group 1");
    ASSERT_EQ(solids.exitCode, 0) << solids.err;
    const QJsonObject s = parse(solids.out).value("judge").toObject();
    const QJsonObject t = parse(stripes.out).value("judge").toObject();
    EXPECT_EQ(s.value("m_nFirst_Touch").toInt(), 9);
    EXPECT_EQ(s.value("m_bIsTouch_Other").toInt(), 1);
    EXPECT_EQ(t.value("m_bIsTouch_Other").toInt(), 0);
}

TEST(DeskSim, BadInputGetsOneErrorLineAndExitCodeTwo) {
    const std::string strike = " --arc 0 --speed 1000 --tip 0";
    std::string fifteen = rackJson({});
    fifteen = fifteen.substr(0, fifteen.rfind(",{")) + "]";
    const std::string badStatus = replaced(rackJson({}), "\"status\":1", "\"status\":3");
    struct Case {
        const char* name;
        std::string args;
        const char* mentions;
    };
    const Case cases[] = {
        {"malformed json", "--rack " + writeTemp("bad1.json", "[{\"x\":1,") + strike, "JSON"},
        {"fifteen records", "--rack " + writeTemp("bad2.json", fifteen) + strike, "16"},
        {"bad status", "--rack " + writeTemp("bad3.json", badStatus) + strike, "status"},
        {"far off the table", "--rack " + writeTemp("bad4.json", rackJson({{3, 900, 0}})) + strike,
         "\"x\""},
        {"fractional position",
         "--rack " + writeTemp("bad5.json", replaced(rackJson({}), "\"x\":", "\"x\":0.5,\"z\":")) +
             strike,
         "\"x\""},
        {"index out of order",
         "--rack " + writeTemp("bad6.json", replaced(rackJson({}), "\"index\":2", "\"index\":7")) +
             strike,
         "index"},
        {"no such file", "--rack /nonexistent/rack.json" + strike, "cannot read"},
        {"not an object", "--rack " + writeTemp("bad7.json", "{\"other\":1}") + strike, "balls"},
        {"speed too high", "--seed 1 --arc 0 --speed 2001 --tip 0", "--speed"},
        {"negative speed", "--seed 1 --arc 0 --speed -1 --tip 0", "--speed"},
        {"tip out of range", "--seed 1 --arc 0 --speed 100 --tip 600000", "--tip"},
        {"arc not a number", "--seed 1 --arc 12a --speed 100 --tip 0", "--arc"},
        {"arc beyond a turn", "--seed 1 --arc 7000000 --speed 100 --tip 0", "--arc"},
        {"group", "--seed 1 --arc 0 --speed 100 --tip 0 --group 2", "--group"},
        {"missing strike", "--seed 1 --arc 0", "required"},
        {"seed and rack", "--seed 1 --rack x.json" + strike, "either"},
        {"unknown flag", "--seed 1 --fast" + strike, "unknown"},
        {"value missing", "--seed 1" + strike + " --group", "needs a value"},
    };
    for (const auto& c : cases) {
        const SimRun run = deskSim(c.args);
        EXPECT_EQ(run.exitCode, 2) << c.name;
        EXPECT_TRUE(run.out.empty()) << c.name;
        ASSERT_FALSE(run.err.empty()) << c.name;
        EXPECT_EQ(run.err.rfind("desk-sim: ", 0), 0u) << c.name << ": " << run.err;
        EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << c.name << ": " << run.err;
        EXPECT_NE(run.err.find(c.mentions), std::string::npos) << c.name << ": " << run.err;
    }
}

} // namespace
