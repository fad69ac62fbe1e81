// veltrix-inspect: shows what the player makes of a subtitle file or a video's frame rate, so a
// user can see why subtitles do not load or appear at the wrong time. What needs a demuxer or
// the audio analysis is handed on to the media inspector (MediaInspector.h).
#include "InspectCommands.h"
#include "InspectMatch.h"
#include "InspectorMain.h"
#include "MediaInspector.h"

int main(int argc, char** argv)
{
    auto handOn = [argv](const QStringList&) {
        HandToMediaInspector(argv);
        return 1;
    };
    // Reading a track fails like an unreadable track when the media inspector cannot start.
    const TrackLoader trackHandedOn = [argv](SubtitleReader&, const QString&, int) {
        HandToMediaInspector(argv);
        return false;
    };
    return RunInspector(argc, argv,
                        {{"subtitles", [&](const QStringList& args) {
                              return InspectSubtitles(args, trackHandedOn);
                          }},
                         {"avi", InspectAvi},
                         {"tracks", handOn},
                         {"match", InspectMatch},
                         {"sync", handOn}});
}
