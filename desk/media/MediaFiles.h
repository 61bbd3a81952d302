#pragma once
// Every file the desk reads from its resource directory, with the sheet
// geometry the drawing relies on. Artists replacing a picture keep its frame
// size and grid; the asset generator draws from the same table.

#include <array>
#include <span>
#include <string_view>

namespace desk::media {

// One picture sheet: frames of frameWidth × frameHeight cut from the top-left
// corner in rows of `columns`. sheetWidth/Height is the size the files are
// made at (power-of-two, the frames in the top-left corner).
struct PictureSheet {
    std::string_view file;
    int sheetWidth;
    int sheetHeight;
    int frameWidth;
    int frameHeight;
    int columns;
    int frames;
    bool colourKey; // opaque black becomes transparent
};

enum class PictureId {
    Desk,
    Light,
    GameStart,
    Shade,
    Digits,
    Star,
    MaskBall,
    Marks,
    PowerFill,
    List,
    HorizontalRule,
    VerticalRule,
    Line,
    Arrow,
};
inline constexpr int kPictureCount = 14;

// In the order the desk loads them.
std::span<const PictureSheet, kPictureCount> pictureSheets();
const PictureSheet& pictureSheet(PictureId id);

// Textures wrapped round meshes: loaded as they are, no colour key.
inline constexpr std::string_view kCueFile = "cue.bmp";
inline constexpr int kBallCount = 16;
// Ball picture of ball index 0 … 15 (15 is the cue ball); empty for any other index.
std::string_view ballFile(int index);

// The sound effects, in the order they are loaded.
enum class SoundId {
    Strike,      // a shot struck hard
    CueContact,  // the cue ball touching another ball
    BallDown,    // an object ball pocketed
    CueBallDown, // the cue ball pocketed
    GameOver,    // the end of a game
    Hurry,       // the turn clock's warning
    GiveUp,      // a player gave up the shot or timed out
};
inline constexpr int kSoundCount = 7;
std::span<const SoundId, kSoundCount> soundLoadOrder();
std::string_view soundFile(SoundId id);

inline constexpr std::string_view kImageFolder = "image";
inline constexpr std::string_view kSoundFolder = "wav";

} // namespace desk::media
