#include "tools/assetgen/AssetGenerator.h"

#include "desk/media/MediaFiles.h"
#include "tools/assetgen/Art.h"

#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <functional>
#include <map>

namespace assetgen {

namespace {

using desk::media::PictureId;
using desk::media::SoundId;

QImage drawSheet(PictureId id) {
    switch (id) {
    case PictureId::Desk:
        return drawTable();
    case PictureId::Light:
        return drawPocketLight();
    case PictureId::GameStart:
        return drawStartButton();
    case PictureId::Shade:
        return drawShadow();
    case PictureId::Digits:
        return drawDigits();
    case PictureId::Star:
        return drawSpinMark();
    case PictureId::MaskBall:
        return drawTargetRing();
    case PictureId::Marks:
        return drawMarks();
    case PictureId::PowerFill:
        return drawPowerFill();
    case PictureId::List:
        return drawListBackground();
    case PictureId::HorizontalRule:
        return drawHorizontalRule();
    case PictureId::VerticalRule:
        return drawVerticalRule();
    case PictureId::Line:
        return drawAimLine();
    case PictureId::Arrow:
        return drawArrow();
    }
    return {};
}

QByteArray synthesise(SoundId id) {
    switch (id) {
    case SoundId::Strike:
        return synthStrike();
    case SoundId::CueContact:
        return synthCueContact();
    case SoundId::BallDown:
        return synthBallDown();
    case SoundId::CueBallDown:
        return synthCueBallDown();
    case SoundId::GameOver:
        return synthGameOver();
    case SoundId::Hurry:
        return synthHurry();
    case SoundId::GiveUp:
        return synthGiveUp();
    }
    return {};
}

bool writeImage(const QString& path, const QImage& image) {
    const bool png = path.endsWith(QLatin1String(".png"));
    QImageWriter writer(path, png ? "png" : "bmp");
    // BMP sheets carry no alpha: 24-bit, black where the desk shows through.
    return writer.write(png ? image : image.convertToFormat(QImage::Format_RGB888));
}

} // namespace

QStringList generateResources(const QString& dir, QString* error) {
    QStringList written;
    const QDir root(dir);
    if (!root.mkpath(QStringLiteral("image")) || !root.mkpath(QStringLiteral("wav"))) {
        if (error)
            *error = dir;
        return written;
    }
    auto image = [&](std::string_view file, const QImage& picture) {
        const QString name =
            QStringLiteral("image/") + QString::fromLatin1(file.data(), qsizetype(file.size()));
        if (!writeImage(root.filePath(name), picture)) {
            if (error)
                *error = root.filePath(name);
            return false;
        }
        written << name;
        return true;
    };
    for (int i = 0; i < desk::media::kPictureCount; ++i) {
        const auto id = PictureId(i);
        if (!image(desk::media::pictureSheet(id).file, drawSheet(id)))
            return written;
    }
    for (int i = 0; i < desk::media::kBallCount; ++i) {
        if (!image(desk::media::ballFile(i), drawBall(i)))
            return written;
    }
    if (!image(desk::media::kCueFile, drawCue()))
        return written;
    for (SoundId id : desk::media::soundLoadOrder()) {
        const std::string_view file = desk::media::soundFile(id);
        const QString name =
            QStringLiteral("wav/") + QString::fromLatin1(file.data(), qsizetype(file.size()));
        QFile out(root.filePath(name));
        if (!out.open(QIODevice::WriteOnly) || out.write(synthesise(id)) < 0) {
            if (error)
                *error = root.filePath(name);
            return written;
        }
        written << name;
    }
    return written;
}

} // namespace assetgen
