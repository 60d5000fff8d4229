#pragma once

#include <QString>
#include <QStringList>

// Real movie files for tests, made with the ffmpeg command the first time a
// test asks for them and kept in the build's fixture folder for later runs.
class Fixtures
{
public:
    // A file named `name` made by `ffmpeg -y <arguments> <output>`; empty
    // (with a test warning) when ffmpeg fails. Safe when tests run at once:
    // each writes to a file of its own and renames it into place.
    static QString make(const QString &name, const QStringList &arguments);

    // Standard movies, each 2 s long unless said otherwise, with a moving
    // test picture and a 440 Hz tone.
    static QString h264AacMov();     // 640x360 30 fps, H.264 + AAC stereo 48 kHz, .mov
    static QString h264AacMp4();     // the same as .mp4
    static QString mpeg1Mp2Mpg();    // 352x240 29.97 fps MPEG-1 + MP2, program stream .mpg
    static QString mjpegPcmAvi();    // 320x240 25 fps MJPEG + PCM mono, .avi
    static QString noSoundMp4();     // 640x360 H.264 without sound
    static QString soundOnlyM4a();   // AAC without picture
    static QString ntscVcdMpg();     // a Video CD compliant program stream (ffmpeg -target ntsc-vcd)

    // Pictures with known content for the movie service.
    // Full frames of red for 1 s, then lime for 1 s, then blue for 1 s, no sound.
    static QString colourPhasesMp4(); // 320x240 30 fps H.264, key frame every second
    static QString colourPhasesMpg(); // 352x240 29.97 fps MPEG-1 program stream
    static QString colourPhasesAvi(); // 320x240 25 fps MJPEG
    static QString anamorphicMov(); // 720x480 with 32:27 pixels, H.264
    // 320x180, black with a red top-left quarter, stored with a display
    // rotation: ffmpeg's "rotate" tag in degrees (90, 180 or 270).
    static QString cornerMarkMp4(int rotateTag = 0);
    static QString soundWithCoverArtMp4(); // AAC with an attached cover picture
    static QString disabledSoundMov(); // h264AacMov() with its only sound track disabled
    // A movie written with its header first (fast start), cut after `percent` of its bytes.
    static QString truncatedMp4(int percent);
    // colourPhasesMpg() and colourPhasesAvi() with a tenth in the middle
    // overwritten by random bytes.
    static QString damagedMpg();
    static QString damagedAvi();
    static QString damagedMp4();
    // A 64x48 10 fps H.264 .mp4 without sound, `seconds` long ("59.9"):
    // quick to make, for tests that count durations.
    static QString tinyClip(const QString &seconds);

    // Movies for the video conversion, without sound.
    static QString pal25Mp4(int seconds); // 320x240 25 fps H.264 test picture, `seconds` long
    static QString plainColourMp4(const QString &colour); // 640x360 30 fps H.264, one colour, 1 s
    static QString zeroDurationMp4(); // one picture lasting 0.2 ms: 0 in the movie service's units
    // A Super Video CD compliant program stream (ffmpeg -target ntsc-svcd), 1 s.
    static QString ntscSvcdMpg();

    // ffprobe's answer for one entry, e.g. ("stream=codec_name", "v:0").
    static QString probe(const QString &file, const QString &entry, const QString &streams = QString());

    // Folder where fixtures are kept.
    static QString folder();
};
