#pragma once
// Every picture and sound the desk loads, drawn or synthesised here.

#include <QByteArray>
#include <QImage>

namespace assetgen {

QImage drawTable();          // desk.png, 1024 × 1024, the table in 800 × 600
QImage drawBall(int index);  // ball picture of ball index 0 … 15
QImage drawCue();            // cue.bmp
QImage drawPocketLight();    // light.png
QImage drawStartButton();    // gamestart.bmp
QImage drawShadow();         // shade.bmp
QImage drawDigits();         // sz.bmp
QImage drawSpinMark();       // star.bmp
QImage drawTargetRing();     // maskball.bmp
QImage drawMarks();          // qiu_bz.bmp
QImage drawPowerFill();      // speedshow.bmp
QImage drawListBackground(); // list.bmp
QImage drawHorizontalRule(); // hor.bmp
QImage drawVerticalRule();   // ver.bmp
QImage drawAimLine();        // line.bmp
QImage drawArrow();          // arrow.bmp

// 16-bit mono PCM WAVE files.
QByteArray synthStrike();      // butup.wav
QByteArray synthCueContact();  // autodisc.wav
QByteArray synthBallDown();    // ball_down.wav
QByteArray synthCueBallDown(); // clonem.wav
QByteArray synthGameOver();    // rgnm.wav
QByteArray synthHurry();       // hurry.wav
QByteArray synthGiveUp();      // SlideDown.wav

} // namespace assetgen
