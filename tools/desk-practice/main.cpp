// desk-practice: a pool table to practise on alone. It hosts the Bexlo desk
// control exactly as the program does (found by class id in the component
// registry, driven through IDesk) and answers the desk itself, so a person
// can aim, charge, shoot, place the cue ball and watch the balls roll and
// drop, without a server.
//
//   desk-practice [--res DIR] [--seed N] [--size WxH] [--player NAME] [--mute]
//                 [--shots DIR]
//
// Keys: R racks again, F12 saves a screenshot of the window into --shots.

#include "desk/control/Desk.h"
#include "platform/components/ComponentRegistry.h"
#include "platform/msgbox/MessageBox.h"
#include "platform/text/Gbk.h"
#include "tools/desk-practice/PracticeHost.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QRegularExpression>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <memory>

namespace {

// The window round the desk: keys for the player, nothing else.
class CPracticeWindow final : public QWidget {
public:
    CPracticeWindow(QString shotsDir) : m_shotsDir(std::move(shotsDir)) {
        setWindowTitle(QString::fromUtf8("台球练习 - desk-practice"));
    }
    void SetHost(practice::CPracticeHost* host) { m_host = host; }

    // Everything on screen, the GL frame included, as the X server shows it.
    QString SaveScreenshot() {
        QScreen* screen = windowHandle() ? windowHandle()->screen() : nullptr;
        if (!screen)
            return {};
        const QPixmap shot = screen->grabWindow(winId());
        QDir().mkpath(m_shotsDir);
        QString path;
        do {
            path = QStringLiteral("%1/desk-practice-%2.png")
                       .arg(m_shotsDir)
                       .arg(++m_nShot, 3, 10, QLatin1Char('0'));
        } while (QFile::exists(path));
        return shot.save(path) ? path : QString();
    }

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_R && m_host) {
            m_host->Rack();
        } else if (event->key() == Qt::Key_F12) {
            const QString path = SaveScreenshot();
            if (!path.isEmpty())
                std::fprintf(stderr, "desk-practice: saved %s\n", qPrintable(path));
        } else {
            QWidget::keyPressEvent(event);
        }
    }

private:
    QString m_shotsDir;
    practice::CPracticeHost* m_host = nullptr;
    int m_nShot = 0;
};

int fail(const QString& message) {
    std::fprintf(stderr, "desk-practice: %s\n", qPrintable(message));
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("desk-practice"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("A pool table to practise on alone."));
    parser.addHelpOption();
    const QCommandLineOption resOption(
        QStringLiteral("res"), QStringLiteral("Resource directory (image/, wav/)."),
        QStringLiteral("dir"), QDir::cleanPath(QCoreApplication::applicationDirPath() + "/../res"));
    const QCommandLineOption seedOption(QStringLiteral("seed"),
                                        QStringLiteral("Shuffle of the first rack."),
                                        QStringLiteral("n"), QStringLiteral("1"));
    const QCommandLineOption sizeOption(QStringLiteral("size"),
                                        QStringLiteral("Table size in pixels (4:3)."),
                                        QStringLiteral("WxH"), QStringLiteral("800x600"));
    // Not "--name": the X11 platform takes that one for itself.
    const QCommandLineOption nameOption(QStringLiteral("player"), QStringLiteral("Player name."),
                                        QStringLiteral("name"), QString::fromUtf8("练习者"));
    const QCommandLineOption muteOption(QStringLiteral("mute"), QStringLiteral("No sound."));
    const QCommandLineOption shotsOption(QStringLiteral("shots"),
                                         QStringLiteral("Folder for F12 screenshots."),
                                         QStringLiteral("dir"), QStringLiteral("."));
    parser.addOptions({resOption, seedOption, sizeOption, nameOption, muteOption, shotsOption});
    parser.process(app);

    practice::CPracticeHost::Settings settings;
    settings.resourceDir = QFile::encodeName(parser.value(resOption)).toStdString();
    bool ok = false;
    settings.seed = parser.value(seedOption).toUInt(&ok);
    if (!ok)
        return fail(QStringLiteral("--seed wants a number"));
    const auto size = QRegularExpression(QStringLiteral("^(\\d{2,4})x(\\d{2,4})$"))
                          .match(parser.value(sizeOption));
    if (!size.hasMatch())
        return fail(QStringLiteral("--size wants WxH, e.g. 800x600"));
    settings.width = size.captured(1).toInt();
    settings.height = size.captured(2).toInt();
    if (settings.width < 200 || settings.height < 150 || settings.width > 4000 ||
        settings.height > 3000)
        return fail(QStringLiteral("--size out of range (200x150 … 4000x3000)"));
    settings.name = platform::gbk::fromUtf8(parser.value(nameOption).toStdString());
    settings.sound = !parser.isSet(muteOption);
    if (!QDir(parser.value(resOption)).exists())
        std::fprintf(stderr, "desk-practice: no resource directory %s; the table has no pictures\n",
                     qPrintable(parser.value(resOption)));

    // The desk exactly as the program gets it: registered type library,
    // control created by class id.
    platform::CComponentRegistry registry;
    if (!registry.isTypeLibRegistered(desk::kDeskTypeLibId, desk::kDeskTypeLibMajor,
                                      desk::kDeskTypeLibMinor)) {
        platform::MessageBox(nullptr, QString::fromUtf8(platform::kComponentMismatchText));
        return fail(QStringLiteral("no Bexlo desk in ") + registry.searchPath().join(u':'));
    }
    CPracticeWindow window(parser.value(shotsOption));
    const auto created = registry.createControl(desk::kDeskClassId, &window);
    desk::IDesk* desk = desk::deskOf(created.control);
    if (desk == nullptr)
        return fail(QStringLiteral("the desk control could not be made: ") +
                    QString::fromLatin1(platform::describe(created.error)));
    window.setFixedSize(settings.width, settings.height);
    created.control->move(0, 0);

    practice::CPracticeHost host(*desk, settings);
    window.SetHost(&host);
    window.show();
    host.Start();
    return QApplication::exec();
}
